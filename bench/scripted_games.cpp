// The scripted player: whole games played by reading each screen and
// picking among the options it shows, kept as replayable key scripts.
#include "scripted_games.hpp"

#include <array>
#include <stdexcept>
#include <string_view>

#include "people/random.hpp"
#include "shell/play_game.hpp"
#include "support/scripted_terminal.hpp"

namespace tg::bench {

namespace {

struct Option {
    int digit = 0;
    std::string text;
};

bool Has(const std::vector<Option>& options, std::string_view text) {
    for (const Option& option : options) {
        if (option.text.find(text) != std::string::npos) return true;
    }
    return false;
}

bool Offers(const std::vector<Option>& options, int digit) {
    for (const Option& option : options) {
        if (option.digit == digit) return true;
    }
    return false;
}

// The numbered options at the bottom of a screen ("\t\t1 - Female"), from
// the last line up to the first line that is not one.
std::vector<Option> OptionsAtBottom(const std::string& screen) {
    std::vector<std::string_view> lines;
    std::string_view rest(screen);
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        lines.push_back(rest.substr(0, end));
        if (end == std::string_view::npos) break;
        rest.remove_prefix(end + 1);
    }
    while (!lines.empty() && lines.back().empty()) lines.pop_back();
    std::vector<Option> options;
    for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
        std::string_view text = *line;
        const std::size_t tabs = text.find_first_not_of('\t');
        if (tabs == 0 || tabs == std::string_view::npos) break;
        text.remove_prefix(tabs);
        std::size_t digits = 0;
        while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') ++digits;
        if (digits == 0 || text.substr(digits, 3) != " - ") break;
        options.insert(options.begin(), Option{std::stoi(std::string(text.substr(0, digits))),
                                               std::string(text.substr(digits + 3))});
    }
    return options;
}

// The player: reads the screen at each wait and types an answer.
class PolicyTerminal : public ScriptedTerminal {
    enum class Ending { Satisfaction, Quit, Escape };

public:
    PolicyTerminal(std::uint32_t seed, int keyBudget, std::vector<std::string>& pieces)
        : chooser_(seed ^ 0x5eed5eedu), keyBudget_(keyBudget), pieces_(pieces) {
        // Consecutive seeds take turns at the three ways out.
        static constexpr Ending Endings[] = {Ending::Satisfaction, Ending::Quit, Ending::Escape};
        ending_ = Endings[seed % 3];
    }

    // The game waits for a key, or for the name's line: the player types.
    int ReadByte(int milliseconds, Reading reading) override {
        if (milliseconds < 0 && !KeysLeft()) {
            static constexpr const char* Names[] = {"r\n", "Ann Lee\n", "Kim Park Junior\n", "R\n"};
            TypePiece(reading == Reading::Line ? std::string(Names[chooser_.Below(4)]) : ChooseKey());
        }
        return ScriptedTerminal::ReadByte(milliseconds, reading);
    }

private:

    void TypePiece(const std::string& piece) {
        if (static_cast<int>(pieces_.size()) > 4 * keyBudget_ + 2000) {
            throw std::runtime_error("scripted game does not end");
        }
        pieces_.push_back(piece);
        Type(piece);
    }

    std::string Digit(int digit) const { return std::string(1, static_cast<char>('0' + digit)); }

    std::string AnyOf(const std::vector<Option>& options) {
        return Digit(options[static_cast<std::size_t>(chooser_.Below(static_cast<int>(options.size())))].digit);
    }

    std::string Between(int low, int high) { return Digit(low + chooser_.Below(high - low + 1)); }

    std::string WrongKey() {
        const int kind = chooser_.Below(10);
        if (kind < 2) return "\x1b[A";  // an arrow key: two codes, two complaints
        if (kind < 3) return "\r";
        return "x";
    }

    std::string ChooseKey() {
        const std::string screen = Screen();
        const bool afterBadKey = screen.rfind("Bad Input (") != std::string::npos &&
                                 screen.find('\n', screen.rfind("Bad Input (")) == screen.size() - 1;
        if (escapeNext_ && afterBadKey) return "\x1b";
        std::vector<Option> options = OptionsAtBottom(screen);
        if (afterBadKey) {
            options = lastOptions_;
        } else {
            lastOptions_ = options;
        }
        const bool homeward = static_cast<int>(pieces_.size()) >= keyBudget_;
        if (options.empty()) return "0";  // the ending's screen, or a pause without a list
        if (options.size() == 1) return Digit(options.front().digit);
        if (!homeward && !afterBadKey && chooser_.Below(50) == 0) return WrongKey();
        return homeward ? HomewardKey(options) : PlayingKey(options);
    }

    std::string HomewardKey(const std::vector<Option>& options) {
        if (Has(options, "Satisfaction")) {
            switch (ending_) {
                case Ending::Satisfaction: return "5";
                case Ending::Quit: return "0";
                case Ending::Escape: escapeNext_ = true; return "x";
            }
        }
        if (Has(options, "Trophy Mode")) return "0";
        if (Has(options, "Yes")) return "1";
        if (Has(options, "Increase Stat")) return "0";
        if (Has(options, "something really dumb")) return chooser_.Below(2) == 0 ? "5" : "6";
        if (Offers(options, 0)) return "0";
        return AnyOf(options);
    }

    std::string PlayingKey(const std::vector<Option>& options) {
        if (Has(options, "Trophy Mode")) {
            const int mode = chooser_.Below(10);
            return mode < 6 ? "1" : mode < 8 ? "2" : "0";
        }
        if (Has(options, "Increase Stat")) {
            if (setupSteps_ >= 0 && setupSteps_-- > 0) return chooser_.Below(5) == 0 ? "2" : "1";
            return "0";
        }
        if (Has(options, "Increase beauty") || Has(options, "Decrease beauty")) {
            return chooser_.Below(10) < 3 ? "0" : Between(1, 9);
        }
        if (Has(options, "Yes")) return chooser_.Below(5) == 0 ? "2" : "1";
        if (Has(options, "Satisfaction")) {
            const int pick = chooser_.Below(10);
            return pick < 1 ? "1" : pick < 6 ? "2" : pick < 8 ? "3" : "4";
        }
        if (Has(options, "Train ")) return chooser_.Below(20) < 7 ? "0" : Between(1, 9);
        if (Has(options, "X/S Nightclub")) return chooser_.Below(20) == 0 ? "0" : Between(1, 6);
        if (Has(options, "Return Home")) {
            if (chooser_.Below(7) == 0) return "0";
            return Between(1, static_cast<int>(options.size()) - 1);
        }
        if (Has(options, "something really dumb")) {
            return chooser_.Below(20) < 7 ? "5" : Digit(std::array{1, 2, 3, 4, 6}[chooser_.Below(5)]);
        }
        if (Has(options, "Respond Very Affirmatively")) return chooser_.Below(20) == 0 ? "0" : Between(1, 5);
        if (Has(options, "Forget Calling")) {
            if (options.size() == 1 || chooser_.Below(10) == 0) return "0";
            return Digit(options[static_cast<std::size_t>(chooser_.Below(static_cast<int>(options.size()) - 1))].digit);
        }
        return AnyOf(options);
    }

    Random chooser_;
    int keyBudget_;
    std::vector<std::string>& pieces_;
    Ending ending_ = Ending::Satisfaction;
    std::vector<Option> lastOptions_;
    int setupSteps_ = chooser_.Below(14);
    bool escapeNext_ = false;
};

}  // namespace

std::string GameScript::Keys() const {
    std::string keys;
    for (const std::string& piece : pieces) keys += piece;
    return keys;
}

GameScript PlayScriptedGame(std::uint32_t seed, int keyBudget) {
    GameScript script;
    script.seed = seed;
    PolicyTerminal terminal(seed, keyBudget, script.pieces);
    script.exitStatus = PlayGame(terminal, seed).status;
    script.keyCodes = terminal.BytesRead();
    return script;
}

std::vector<GameScript> PlayScriptedGames(std::uint32_t firstSeed, int count, int keyBudget) {
    std::vector<GameScript> scripts;
    scripts.reserve(static_cast<std::size_t>(count));
    for (int k = 0; k < count; ++k) scripts.push_back(PlayScriptedGame(firstSeed + static_cast<std::uint32_t>(k), keyBudget));
    return scripts;
}

}  // namespace tg::bench
