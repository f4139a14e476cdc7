// Finds a seed and the keys that lead a FreePlay game to a chosen screen,
// by playing games in process with a scripted player.
#include "script_finder.hpp"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string_view>

#include "console/platform.hpp"
#include "people/vocabulary.hpp"
#include "shell/game.hpp"
#include "shell/play_game.hpp"

namespace tg::e2e {

namespace {

constexpr int KeyBudget = 3000;
constexpr int FirstNight = 23;  // past this hour the next screen sleeps

enum class Prompt {
    Unknown, PlayMode, Home, Places, Approach, CallList, PlayersMove, Opinion, Money, Pause, Ending
};

struct Marker {
    std::string_view text;
    Prompt prompt;
};

constexpr std::array<Marker, 16> Markers = {{
    {"Pick a Play Mode:", Prompt::PlayMode},
    {"\t\t0 - Quit\n", Prompt::Home},
    {"\t\t0 - Back Home\n", Prompt::Places},
    {"\t\t0 - Return Home\n", Prompt::Approach},
    {"\t\t0 - Forget Calling...\n", Prompt::CallList},
    {"\t\t6 - Do something really dumb and embarassing.\n", Prompt::PlayersMove},
    {"\t\t0 - Excuse yourself from the conversation\n", Prompt::Opinion},
    {"\t\t4 - Decline to share at this point.\n", Prompt::Money},
    {"\t\t0 - To the Hunt!.\n", Prompt::Pause},
    {"\t\t0 - To the Telephone!.\n", Prompt::Pause},
    {"\t\t0 - There's more fish in the sea.\n", Prompt::Pause},
    {"\t\t0 - There are more fish in the sea.\n", Prompt::Pause},
    {"\t\t0 - Should have made your move.\n", Prompt::Pause},
    {"\t\t0 - Plan smchlan, give me fresh meat!.\n", Prompt::Pause},
    {"your lucky partner will be by your side.", Prompt::Ending},
    {"Go back and try it on FreePlay Mode!", Prompt::Ending},
}};

// The prompt the text written since the last key ends with.
Prompt PromptOf(const std::string& text) {
    Prompt prompt = Prompt::Unknown;
    std::size_t last = 0;
    for (const Marker& marker : Markers) {
        const std::size_t at = text.rfind(marker.text);
        if (at != std::string::npos && at + 1 > last) {
            last = at + 1;
            prompt = marker.prompt;
        }
    }
    return prompt;
}

// The interest shown in the last FreePlay reaction, "(change:interest)".
std::optional<int> LastShownInterest(const std::string& text) {
    const std::size_t close = text.rfind(")\n");
    if (close == std::string::npos) return std::nullopt;
    const std::size_t colon = text.rfind(':', close);
    const std::size_t open = text.rfind('(', close);
    if (colon == std::string::npos || open == std::string::npos || open > colon) return std::nullopt;
    char* end = nullptr;
    const long value = std::strtol(text.c_str() + colon + 1, &end, 10);
    if (end != text.c_str() + close) return std::nullopt;
    return static_cast<int>(value);
}

// A platform whose keys come from a scripted player looking at the screen
// and at the book.
class ScriptedPlayer : public Platform {
public:
    ScriptedPlayer(const Goal& goal) : goal_(goal) {}

    const Game* game = nullptr;
    std::string keys;
    bool reached = false;
    int hourReached = 0;  // the game's hour when the goal's screen showed

    int ReadByte(int, Reading) override {
        const int key = Decide();
        screen_.clear();
        if (key < 0) return EndOfInput;
        keys += static_cast<char>(key);
        return key;
    }
    void Write(std::string_view text) override { screen_ += text; }
    void SetColours(int, int) override {}
    void Clear() override {}
    void Pause(int) override {}

private:
    struct Partner {
        int slot = -1;  // in the book, or -1 for a stranger
        int interest = 0;
        int stage = 0;
    };

    bool Charming() const { return goal_.attitude == Attitude::Charming; }

    int Decide() {
        if (screen_.find(goal_.stopAt) != std::string::npos) {
            reached = true;
            hourReached = game->hour;
            return -1;
        }
        if (static_cast<int>(keys.size()) >= KeyBudget || game->hour >= goal_.lastHour) return -1;
        switch (PromptOf(screen_)) {
            case Prompt::PlayMode: return '0';
            case Prompt::Home: return Home();
            case Prompt::Places: return goal_.place;
            case Prompt::Approach: return Approach();
            case Prompt::CallList:
                if (game->contactCount == 0 || game->contacts[0].stage < 0) return -1;
                partner_ = Partner{0, 0, 0};
                return '1';
            case Prompt::PlayersMove: return PlayersMove();
            case Prompt::Opinion: return Opinion();
            case Prompt::Money: return Money();
            case Prompt::Pause: Update(); return '0';
            case Prompt::Ending:
            case Prompt::Unknown: break;
        }
        return -1;
    }

    int Home() {
        for (int k = 0; k < game->contactCount; ++k) {
            if (game->contacts[k].stage > stage::InLove) return '5';
        }
        return game->contactCount > 0 ? '3' : '2';
    }

    int Approach() {
        if (game->contactCount > 0) return '0';
        int crowd = 0;
        while (screen_.find("\t\t" + std::to_string(crowd + 1) + " - ") != std::string::npos) ++crowd;
        // Back to a stranger who liked what she saw (or, when rude, who
        // sent the player away); else on to the next one.
        const bool again = Charming() ? partner_.interest > 0 : partner_.stage < 0;
        if (stranger_ > 0 && again) return '0' + stranger_;
        if (++stranger_ > crowd) {
            stranger_ = 0;
            return '0';
        }
        partner_ = Partner{-1, 0, 0};
        introduced_ = false;
        return '0' + stranger_;
    }

    // Brings the partner's interest and stage up to date.
    void Update() {
        if (partner_.slot >= 0) {
            partner_.interest = game->contacts[partner_.slot].interest;
            partner_.stage = game->contacts[partner_.slot].stage;
            return;
        }
        if (!introduced_) {
            introduced_ = true;
            if (screen_.find("Hey sexy") != std::string::npos) partner_.interest = 51;
            else if (screen_.find("Nice to meet you") != std::string::npos) partner_.interest = 1;
            else partner_.interest = -1;
        }
        if (screen_.find("No, I'm not ready for that yet...") != std::string::npos) partner_.interest -= 20;
        if (screen_.find("I really have to be going now.") != std::string::npos) partner_.stage -= 1;
        if (const std::optional<int> shown = LastShownInterest(screen_)) partner_.interest = *shown;
    }

    int Sure() const { return 100 * (partner_.stage + 1) + 19; }

    int PlayersMove() {
        Update();
        if (!Charming()) return '6';
        if (partner_.interest >= Sure()) return '5';
        return partner_.stage >= stage::Dating ? '2' : '1';
    }

    int Opinion() {
        Update();
        if (!Charming()) return '1';
        if (partner_.slot < 0) return '3';
        const std::size_t from = screen_.rfind("subject of ");
        const std::size_t to = screen_.find(". Do you...", from);
        if (from == std::string::npos || to == std::string::npos) return '3';
        const std::string topic = screen_.substr(from + 11, to - from - 11);
        const auto found = std::find(OpinionTopics.begin(), OpinionTopics.end(), topic);
        if (found == OpinionTopics.end()) return '3';
        const int leaning = game->contacts[partner_.slot].personality[(found - OpinionTopics.begin()) / 4];
        int best = 3;
        for (int answer = 1; answer <= 5; ++answer) {
            if (std::abs(leaning - (110 - 20 * answer)) < std::abs(leaning - (110 - 20 * best))) best = answer;
        }
        return '0' + best;
    }

    int Money() {
        Update();
        if (!Charming()) return '2';
        // Above this interest a boast is always believed.
        return partner_.interest >= 100 * (partner_.stage + 1) ? '1' : '3';
    }

    const Goal& goal_;
    std::string screen_;
    Partner partner_;
    int stranger_ = 0;
    bool introduced_ = false;
};

}  // namespace

std::optional<Script> FindScript(const Goal& goal, std::uint32_t firstSeed, int seeds) {
    for (int n = 0; n < seeds; ++n) {
        const std::uint32_t seed = firstSeed + static_cast<std::uint32_t>(n);
        ScriptedPlayer player(goal);
        (void)PlayGame(player, seed, nullptr, nullptr, [&player](const Game& game) { player.game = &game; });
        if (player.reached) return Script{seed, player.keys, player.hourReached};
    }
    return std::nullopt;
}

std::optional<Script> FindSuccessScript() {
    Goal goal;
    goal.stopAt = "your lucky partner will be by your side.";
    goal.lastHour = FirstNight;
    return FindScript(goal);
}

}  // namespace tg::e2e
