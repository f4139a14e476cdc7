#include "shell/entry_point.hpp"

#include <cctype>
#include <charconv>
#include <cstdlib>
#include <ctime>
#include <iostream>

#include "console/console.hpp"
#include "console/system_terminal.hpp"
#include "journal/game_sessions.hpp"
#include "journal/playback.hpp"
#include "shell/build_info.hpp"
#include "shell/game.hpp"
#include "shell/version_text.hpp"

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#else
#include <unistd.h>
#endif

namespace tg {

namespace {


std::optional<std::uint32_t> ParseSeed(const std::string& text) {
    std::uint32_t seed = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, seed);
    if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
    return seed;
}

// strtod, since not every standard library has from_chars for doubles; the
// program never changes its locale, so the decimal point is '.'.
std::optional<double> ParseSpeed(const std::string& text) {
    if (text.empty() || !(std::isdigit(static_cast<unsigned char>(text[0])) || text[0] == '.')) return std::nullopt;
    char* stop = nullptr;
    const double speed = std::strtod(text.c_str(), &stop);
    if (stop != text.c_str() + text.size()) return std::nullopt;
    if (!(speed >= journal::SlowestSpeed && speed <= journal::FastestSpeed)) return std::nullopt;
    return speed;
}

Options Failure(std::string message) {
    Options options;
    options.action = Options::Action::Error;
    options.error = std::move(message);
    return options;
}

// Reads the options one by one; the checks of how they combine come after.
class OptionReader {
public:
    explicit OptionReader(const std::vector<std::string>& arguments) : arguments_(arguments) {}

    bool Done() const { return next_ >= arguments_.size(); }
    const std::string& Take() { return arguments_[next_++]; }
    // The value of "--name VALUE" or "--name=VALUE"; nothing when missing.
    std::optional<std::string> Value(const std::string& argument, const std::string& name) {
        if (argument.size() > name.size() && argument.compare(0, name.size() + 1, name + "=") == 0) {
            return argument.substr(name.size() + 1);
        }
        if (Done()) return std::nullopt;
        return Take();
    }
    // An optional value: the next argument unless it is an option.
    std::optional<std::string> OptionalValue() {
        if (Done() || arguments_[next_].rfind("-", 0) == 0) return std::nullopt;
        return Take();
    }

private:
    const std::vector<std::string>& arguments_;
    std::size_t next_ = 0;
};

bool Is(const std::string& argument, const std::string& name) {
    return argument == name || argument.rfind(name + "=", 0) == 0;
}

Options CheckCombinations(Options options, bool speedGiven) {
    using Action = Options::Action;
    if (options.action == Action::Replay && (options.seed || options.saveFile || options.noSave)) {
        return Failure("'--replay' plays a recorded game: it takes no '--seed', '--save' or '--no-save'");
    }
    if (options.action == Action::Continue && (options.seed || options.saveFile || options.noSave)) {
        return Failure("'--continue' goes on with a recorded game: it takes no '--seed', '--save' or '--no-save'");
    }
    if (options.action != Action::Replay && (speedGiven || options.castFile)) {
        return Failure("'--speed' and '--cast' go with '--replay FILE'");
    }
    if (options.saveFile && options.noSave) return Failure("'--save' and '--no-save' contradict each other");
    return options;
}

}  // namespace

Options ParseOptions(const std::vector<std::string>& arguments) {
    using Action = Options::Action;
    Options options;
    bool speedGiven = false;
    OptionReader reader(arguments);
    while (!reader.Done()) {
        const std::string argument = reader.Take();
        if (argument == "--help" || argument == "-h") {
            options.action = Action::Help;
            return options;
        }
        if (argument == "--version") {
            options.action = Action::Version;
            return options;
        }
        if (argument == "--continue" || Is(argument, "--continue")) {
            if (options.action != Action::Play) return Failure("'--continue' and '--replay' go one at a time");
            options.action = Action::Continue;
            options.continueFile = argument == "--continue" ? reader.OptionalValue()
                                                            : std::optional<std::string>(argument.substr(11));
            continue;
        }
        if (argument == "--no-save") {
            options.noSave = true;
            continue;
        }
        bool known = false;
        for (const char* name : {"--seed", "--replay", "--cast", "--speed", "--save"}) {
            if (!Is(argument, name)) continue;
            known = true;
            const std::optional<std::string> value = reader.Value(argument, name);
            if (!value) return Failure(std::string("option '") + name + "' needs a value");
            if (std::string(name) == "--seed") {
                options.seed = ParseSeed(*value);
                if (!options.seed) {
                    return Failure("the seed must be a whole number from 0 to 4294967295, not '" + *value + "'");
                }
            } else if (std::string(name) == "--replay") {
                if (options.action != Action::Play) return Failure("'--continue' and '--replay' go one at a time");
                options.action = Action::Replay;
                options.replayFile = *value;
            } else if (std::string(name) == "--cast") {
                options.castFile = *value;
            } else if (std::string(name) == "--speed") {
                const std::optional<double> speed = ParseSpeed(*value);
                if (!speed) return Failure("the speed must be a number from 1/64 to 1024, not '" + *value + "'");
                options.speed = *speed;
                speedGiven = true;
            } else {
                options.saveFile = *value;
            }
        }
        if (!known) return Failure("unknown argument '" + argument + "'");
    }
    return CheckCombinations(std::move(options), speedGiven);
}

std::string UsageText() {
    return "Usage: tender-gamble [--seed N] [--save FILE | --no-save]\n"
           "       tender-gamble --continue [FILE]\n"
           "       tender-gamble --replay FILE [--speed X] [--cast OUT.cast]\n"
           "A text-mode dating game for the terminal.\n"
           "\n"
           "  --seed N          start the random generator at N (0 to 4294967295) to replay a game\n"
           "  --save FILE       keep this game's journal in FILE (a game played from a terminal\n"
           "                    is kept in the state folder without asking)\n"
           "  --no-save         keep no journal of this game\n"
           "  --continue [FILE] go on with the most recent unfinished game, or the one in FILE\n"
           "  --replay FILE     play a recorded game back as it was played\n"
           "  --speed X         replay at X times the recorded pace (default 1)\n"
           "  --cast OUT.cast   write the replay as an asciicast recording instead of showing it\n"
           "  --help            show this help and exit\n"
           "  --version         show the version and exit\n"
           "\n"
           "Every menu answers to one key; Escape after a bad key leaves the game.\n"
           "During a replay: Space pauses, + and - change the speed, q or Escape ends it.\n";
}

int RunFromCommandLine(int argc, char** argv) {
    const Options options = ParseOptions(std::vector<std::string>(argv + 1, argv + argc));
    switch (options.action) {
        case Options::Action::Help: std::cout << UsageText(); return 0;
        case Options::Action::Version: std::cout << VersionText(BuildVersion, BuildCommit); return 0;
        case Options::Action::Error:
            std::cerr << "tender-gamble: " << options.error << "\nTry 'tender-gamble --help'.\n";
            return 2;
        default: break;
    }
    const journal::GameRunner run = [](Platform& platform, std::uint32_t seed) {
        Random random(seed);
        Console console(platform);
        Game game(console, random);
        game.StartGame();
    };
    const Environment environment = [](const char* name) { return std::getenv(name); };
    switch (options.action) {
        case Options::Action::Continue:
            return journal::ContinueGame(run, OpenSystemTerminal, options.continueFile, environment);
        case Options::Action::Replay:
            if (options.castFile) return journal::WriteCast(run, options.replayFile, *options.castFile, options.speed);
            return journal::Replay(run, OpenSystemTerminal, options.replayFile, options.speed);
        default: break;
    }
    journal::SaveChoice save;
    save.wanted = !options.noSave && isatty(0);
    save.file = options.saveFile;
    save.gameVersion = BuildVersion;
    journal::PlayNewGame(run, OpenSystemTerminal,
                         options.seed ? *options.seed : static_cast<std::uint32_t>(std::time(nullptr)), save,
                         environment);
}

}  // namespace tg
