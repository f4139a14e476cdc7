// The command line: the options, --help and --version, and the game
// session they ask for.
#include "program/entry_point.hpp"

#include <cctype>
#include <charconv>
#include <cstdlib>
#include <ctime>
#include <iostream>

#include "journal/file_store.hpp"
#include "journal/game_link.hpp"
#include "journal/games_list.hpp"
#include "journal/journal_file.hpp"
#include "journal/link_store.hpp"
#include "journal/recorded_inputs.hpp"
#include "journal/replay_pace.hpp"
#include "journal/replay_seek.hpp"
#include "journal/sessions.hpp"
#include "program/build_info.hpp"
#include "program/version_text.hpp"
#include "shell/play_game.hpp"
#include "terminal/system_terminal.hpp"

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
std::optional<double> ParseDecimal(const std::string& text) {
    if (text.empty() || !(std::isdigit(static_cast<unsigned char>(text[0])) || text[0] == '.')) return std::nullopt;
    char* stop = nullptr;
    const double value = std::strtod(text.c_str(), &stop);
    if (stop != text.c_str() + text.size()) return std::nullopt;
    return value;
}

// A decimal ("0.25") or a fraction ("1/4").
std::optional<double> ParseSpeed(const std::string& text) {
    const std::size_t slash = text.find('/');
    std::optional<double> speed = ParseDecimal(text.substr(0, slash));
    if (speed && slash != std::string::npos) {
        const std::optional<double> divisor = ParseDecimal(text.substr(slash + 1));
        speed = divisor && *divisor > 0 ? std::optional<double>(*speed / *divisor) : std::nullopt;
    }
    if (!speed || !(*speed >= journal::SlowestSpeed && *speed <= journal::FastestSpeed)) return std::nullopt;
    return speed;
}

constexpr const char* OneAtATime = "'--continue', '--replay' and '--share' go one at a time";

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

// --at goes with --share, --from and --to with --replay and --cast.
Options CheckMoments(Options options) {
    if (options.at && options.action != Options::Action::Share) return Failure("'--at' goes with '--share'");
    if ((options.from || options.to) && !options.castFile) return Failure("'--from' and '--to' go with '--cast'");
    if (options.from && options.to && *options.from > *options.to) return Failure("'--from' comes after '--to'");
    return options;
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
    if (options.action == Action::Games && (options.seed || options.saveFile || options.noSave)) {
        return Failure("'--games' goes alone");
    }
    if (options.action == Action::Share && (options.seed || options.saveFile || options.noSave)) {
        return Failure("'--share' goes alone, or with '--base'");
    }
    if (options.action != Action::Share && options.base) return Failure("'--base' goes with '--share'");
    if (options.saveFile && options.noSave) return Failure("'--save' and '--no-save' contradict each other");
    return CheckMoments(std::move(options));
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
            if (options.action != Action::Play) return Failure(OneAtATime);
            options.action = Action::Continue;
            options.continueFile = argument == "--continue" ? reader.OptionalValue()
                                                            : std::optional<std::string>(argument.substr(11));
            continue;
        }
        if (argument == "--games") {
            if (options.action != Action::Play) return Failure("'--games' goes alone");
            options.action = Action::Games;
            continue;
        }
        if (argument == "--no-save") {
            options.noSave = true;
            continue;
        }
        bool known = false;
        for (const char* name :
             {"--seed", "--replay", "--share", "--base", "--cast", "--speed", "--save", "--at", "--from", "--to"}) {
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
                if (options.action != Action::Play) return Failure(OneAtATime);
                options.action = Action::Replay;
                options.replayFile = *value;
            } else if (std::string(name) == "--share") {
                if (options.action != Action::Play) return Failure(OneAtATime);
                options.action = Action::Share;
                options.shareFile = *value;
            } else if (std::string(name) == "--base") {
                options.base = *value;
            } else if (std::string(name) == "--cast") {
                options.castFile = *value;
            } else if (std::string(name) == "--at" || std::string(name) == "--from" || std::string(name) == "--to") {
                const std::optional<std::uint32_t> inputs = ParseSeed(*value);
                if (!inputs) return Failure(std::string("'") + name + "' takes a number of inputs, not '" + *value + "'");
                (std::string(name) == "--at" ? options.at : std::string(name) == "--from" ? options.from : options.to) =
                    *inputs;
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
           "       tender-gamble --games\n"
           "       tender-gamble --continue [N | FILE | LINK]\n"
           "       tender-gamble --replay N | FILE | LINK [--speed X]\n"
           "                     [--cast OUT.cast [--from N] [--to M]]\n"
           "       tender-gamble --share N | FILE [--base URL] [--at N]\n"
           "A text-mode dating game for the terminal.\n"
           "\n"
           "  --seed N          start the random generator at N (0 to 4294967295) to replay a game\n"
           "  --save FILE       keep this game's journal in FILE (a game played from a terminal\n"
           "                    is kept in the state folder without asking)\n"
           "  --no-save         keep no journal of this game\n"
           "  --games           list the kept games, the most recently played first, numbered\n"
           "  --continue [N | FILE | LINK]\n"
           "                    go on with the most recently played unfinished game, with\n"
           "                    game N of the --games list, with the one in FILE, or with\n"
           "                    the one a shared LINK holds (kept as a new game)\n"
           "  --replay N | FILE | LINK\n"
           "                    play a recorded game back as it was played\n"
           "  --share N | FILE  print a link to the web page that holds the whole game\n"
           "  --base URL        with --share: the page's address (default: $TENDER_GAMBLE_URL,\n"
           "                    else http://127.0.0.1:8000/)\n"
           "  --at N            with --share: the link shows the game after its first N inputs\n"
           "  --speed X         replay at X times the recorded pace (default 1)\n"
           "  --cast OUT.cast   write the replay as an asciicast recording instead of showing it\n"
           "  --from N --to M   with --cast: only from the screen after input N to the one\n"
           "                    after input M (either may be left out)\n"
           "  --help            show this help and exit\n"
           "  --version         show the version and exit\n"
           "\n"
           "Games played from a terminal are kept in $XDG_STATE_HOME/tender-gamble/ (by default\n"
           "~/.local/state/tender-gamble/; on Windows %LOCALAPPDATA%\\tender-gamble\\). The most\n"
           "recent game is the one played last, not the one started last.\n"
           "\n"
           "Every menu answers to one key; Escape after a bad key leaves the game.\n"
           "During a replay: Space pauses, + and - change the speed, q or Escape ends it;\n"
           ". and , step one input forward and back, Right and Left go to the next and the\n"
           "previous home menu, 0 to 9 to a tenth of the way, Home and End to the start and\n"
           "the last screen.\n";
}

namespace {

void Tell(const std::string& message) { std::cerr << "tender-gamble: " << message << "\n"; }

// Passes the game's events on; once the game has reached an ending there
// is nothing left to go on with, and a signal's exit no longer says how.
class EndingWatch : public GameEvents {
public:
    explicit EndingWatch(GameEvents* inner) : inner_(inner) {}
    void AtRest(const RestSummary& summary) override {
        if (inner_) inner_->AtRest(summary);
    }
    void Ending() override {
        SayOnSignalExit("");
        if (inner_) inner_->Ending();
    }
    void ClockShown(const std::string& dayAndTime) override {
        if (inner_) inner_->ClockShown(dayAndTime);
    }

private:
    GameEvents* inner_;
};

GameEnd RunGame(Platform& platform, std::uint32_t seed, GameEvents* events, InputJournal* journal) {
    EndingWatch watch(events);
    return PlayGame(platform, seed, &watch, journal);
}

#ifndef _WIN32
// A word a POSIX shell reads back as it is: put in single quotes when it
// holds anything but letters, digits and the signs no shell gives a meaning.
std::string ShellWord(const std::string& word) {
    constexpr const char* Plain = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789/._+-:@%,=";
    if (word.find_first_not_of(Plain) == std::string::npos) return word;
    std::string quoted = "'";
    for (const char character : word) quoted += character == '\'' ? std::string("'\\''") : std::string(1, character);
    return quoted + "'";
}
#endif

// The command that started the game, as the player typed it (the program's
// name when the system gives none), for the hints to name: `./play` when the
// play script started it, `tender-gamble` when it was found on the PATH.
std::string CommandName(const char* typed) {
    const std::string command = typed != nullptr && *typed != '\0' ? typed : "tender-gamble";
#ifdef _WIN32
    return command;  // as the console typed it: its quoting is not a POSIX shell's
#else
    return ShellWord(command);
#endif
}

// How to go on with a kept game that has not ended, for the player at a
// terminal: said after the game, or by a signal's exit.
std::string ContinueHint(const std::string& command, const std::optional<std::string>& file) {
    return "tender-gamble: this game is kept; to go on with it: " + command + " --continue" +
           (file ? " " + *file : std::string()) + "\n";
}

void OfferToContinue(const std::string& command, const std::optional<std::string>& file, std::string& hint) {
    if (!isatty(0)) return;
    hint = ContinueHint(command, file);
    SayOnSignalExit(hint);
}

const char* Variable(const char* name) { return std::getenv(name); }

constexpr const char* DefaultShareBase = "http://127.0.0.1:8000/";

// A new game, kept in a journal when it is played from a terminal or the
// player asks for one. A file the player named that cannot be made stops
// everything before the game starts; a journal in the state folder that
// cannot be made is said on the terminal, and the game is played anyway.
journal::SessionEnd PlayNew(const Options& options, std::string& hint) {
    const std::time_t started = std::time(nullptr);
    const std::uint32_t seed = options.seed ? *options.seed : static_cast<std::uint32_t>(started);
    std::optional<journal::FileStore> store;
    if (options.saveFile) {
        store.emplace(*options.saveFile, SyncOnEveryExit);
    } else if (!options.noSave && isatty(0)) {
        store = journal::FileStore::InStateFolder(Variable, SyncOnEveryExit);
    }
    journal::JournalSink* journal = nullptr;
    std::string error;
    if (store) {
        journal = store->Create(journal::NewHeader(seed, std::string(BuildVersion), SystemTerminalBorder(), started),
                                error);
        if (journal == nullptr && options.saveFile) return journal::SessionEnd{journal::CouldNotPlay, "cannot save the game: " + error};
        if (journal != nullptr) OfferToContinue(options.command, options.saveFile, hint);
    }
    const std::unique_ptr<Platform> terminal = OpenSystemTerminal();
    if (store && journal == nullptr) journal::WarnBeforePlaying(*terminal, "this game will not be saved: " + error);
    return journal::PlayNewGame(RunGame, *terminal, seed, journal);
}

// The game a link holds, read into a store; nothing, with the refusal, for
// a damaged link. Only what follows its '#' is read.
std::optional<journal::LinkStore> FromLink(const std::string& link, journal::SessionEnd& refusal,
                                           std::optional<std::size_t>* at = nullptr) {
    std::string why;
    std::optional<journal::LinkedGame> game = journal::ReadLink(link, why);
    if (!game) {
        refusal = journal::SessionEnd{journal::CouldNotPlay, why};
        return std::nullopt;
    }
    if (at != nullptr) *at = game->at;
    return journal::LinkStore(std::move(game->journal), Variable, SyncOnEveryExit);
}

// A link's game goes on as the player's own, kept in the state folder as a
// new game is: the hint names no file, since it is the latest game there.
journal::SessionEnd ContinueLink(const Options& options, std::string& hint) {
    journal::SessionEnd refusal;
    std::optional<journal::LinkStore> store = FromLink(*options.continueFile, refusal);
    if (!store) return refusal;
    OfferToContinue(options.command, std::nullopt, hint);
    return journal::ContinueGame(RunGame, OpenSystemTerminal, *store);
}

journal::SessionEnd Continue(const Options& options, std::string& hint) {
    if (options.continueFile && journal::IsLink(*options.continueFile)) return ContinueLink(options, hint);
    std::optional<journal::FileStore> store;
    std::string why;
    if (options.continueFile) {
        const std::optional<std::string> file = journal::JournalNamed(*options.continueFile, Variable, why);
        if (file) store.emplace(*file, SyncOnEveryExit);
    } else {
        store = journal::FileStore::LatestUnfinished(Variable, why, SyncOnEveryExit);
    }
    if (!store) return journal::SessionEnd{journal::CouldNotPlay, why};
    OfferToContinue(options.command, options.continueFile, hint);
    return journal::ContinueGame(RunGame, OpenSystemTerminal, *store);
}

// A link's moment is where the replay starts, paused.
journal::SessionEnd ReplayFrom(const Options& options, journal::JournalStore& store,
                               std::optional<std::size_t> at = std::nullopt) {
    if (options.castFile) {
        return journal::WriteCast(RunGame, store, options.speed, *options.castFile,
                                  journal::Stretch{options.from.value_or(0), options.to});
    }
    return journal::WatchReplay(RunGame, OpenSystemTerminal, store, options.speed, at);
}

journal::SessionEnd Replay(const Options& options) {
    journal::SessionEnd refusal;
    if (journal::IsLink(options.replayFile)) {
        std::optional<std::size_t> at;
        std::optional<journal::LinkStore> store = FromLink(options.replayFile, refusal, &at);
        return store ? ReplayFrom(options, *store, at) : refusal;
    }
    const std::optional<std::string> file = journal::JournalNamed(options.replayFile, Variable, refusal.problem);
    if (!file) return journal::SessionEnd{journal::CouldNotPlay, refusal.problem};
    journal::FileStore store(*file);
    return ReplayFrom(options, store);
}

// The page a shared link opens: --base, else $TENDER_GAMBLE_URL, else the
// one `./play --web` serves.
std::string ShareBase(const Options& options) {
    if (options.base) return *options.base;
    const char* variable = Variable("TENDER_GAMBLE_URL");
    return variable != nullptr && *variable != '\0' ? variable : DefaultShareBase;
}

// Why a moment cannot be shared: the game does not get there.
std::string MomentBeyondTheGame(const std::string& bytes, std::size_t at) {
    const std::size_t inputs = journal::RecordedInputs(journal::Parse(bytes)).InputCount();
    if (at <= inputs) return {};
    return "there is no moment after input " + std::to_string(at) + " in a game of " + std::to_string(inputs) +
           " inputs";
}

// Prints the link that holds the journal, once it reads as one.
journal::SessionEnd Share(const Options& options) {
    std::string why;
    const std::optional<std::string> file = journal::JournalNamed(options.shareFile, Variable, why);
    if (!file) return journal::SessionEnd{journal::CouldNotPlay, why};
    const std::optional<std::string> bytes = journal::ReadWholeFile(*file, why);
    if (bytes) why = journal::Parse(*bytes).error;
    if (why.empty() && options.at) why = MomentBeyondTheGame(*bytes, *options.at);
    if (!why.empty()) return journal::SessionEnd{journal::CouldNotPlay, "cannot share " + *file + ": " + why};
    std::cout << journal::MakeLink(ShareBase(options), *bytes, options.at) << "\n";
    return journal::SessionEnd{};
}

}  // namespace

// The sessions return with the terminal back as it was found; only then is
// anything said, and the program ends here.
int RunFromCommandLine(int argc, char** argv) {
    Options options = ParseOptions(std::vector<std::string>(argv + 1, argv + argc));
    options.command = CommandName(argc > 0 ? argv[0] : nullptr);
    journal::SessionEnd end;
    std::string hint;  // how to go on with the game, when it is kept and not over
    switch (options.action) {
        case Options::Action::Help: std::cout << UsageText(); return 0;
        case Options::Action::Version: std::cout << VersionText(BuildVersion, BuildCommit); return 0;
        case Options::Action::Games: std::cout << journal::GamesList(RunGame, Variable, options.command); return 0;
        case Options::Action::Error:
            std::cerr << "tender-gamble: " << options.error << "\nTry '" << options.command << " --help'.\n";
            return 2;
        case Options::Action::Continue: end = Continue(options, hint); break;
        case Options::Action::Replay: end = Replay(options); break;
        case Options::Action::Share: end = Share(options); break;
        case Options::Action::Play: end = PlayNew(options, hint); break;
    }
    SyncOnEveryExit(-1);
    SayOnSignalExit("");
    if (!end.problem.empty()) Tell(end.problem);
    if (!hint.empty() && end.problem.empty() && !end.finished) std::cerr << hint;
    return end.status;
}

}  // namespace tg
