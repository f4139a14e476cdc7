// The command line: the options, --help and --version, and the game
// session they ask for.
#include "program/entry_point.hpp"

#include <cctype>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "journal/game_link.hpp"
#include "journal/recorded_inputs.hpp"
#include "journal/replay_pace.hpp"
#include "journal/sessions.hpp"
#include "journal/whole_number.hpp"
#include "program/build_info.hpp"
#include "program/file_store.hpp"
#include "program/games_list.hpp"
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
                options.seed = WholeNumber<std::uint32_t>(*value);
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
                const std::optional<std::uint32_t> inputs = WholeNumber<std::uint32_t>(*value);
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
    void ClockShown(const std::string& dayAndTime) override {
        if (inner_) inner_->ClockShown(dayAndTime);
    }
    void Ending() override {
        SayOnSignalExit("");
        if (inner_) inner_->Ending();
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

// What the player is told when a session ends: the exit status, and why the
// journal could not be played or the game could not be kept (empty when
// nothing went wrong).
struct Said {
    int status = 0;
    std::string problem;
    bool finished = false;
};

// A journal as the player is told of it: a file (its path), or a link's game.
struct Named {
    std::string subject;  // "cannot continue <subject>"
    std::string game;     // "<game> is over"
    std::string replay;   // "watch it again with <replay>"
};

Named NamedFile(const std::string& path) { return {path, "the game in " + path, "--replay " + path}; }

const Named InTheLink{"the game in the link", "the game in the link", "--replay and the link"};

// Why a session could not play a journal, in the player's words; `doing`
// is what was asked of it ("continue", "replay", "share").
std::string Refusal(const journal::Fault& fault, const std::string& doing, const Named& named) {
    using Kind = journal::Fault::Kind;
    switch (fault.kind) {
        case Kind::NotFound: return fault.detail;
        case Kind::Over: return named.game + " is over; watch it again with " + named.replay;
        case Kind::InUse: return "cannot " + doing + " " + named.subject + ": it is being played in another window";
        case Kind::Strays:
            return "cannot " + doing + " " + named.subject + ": " + fault.detail +
                   " (the journal is from another version of the game, or it was changed)";
        case Kind::Unwritable:
            if (doing == "save") return "cannot save the game: " + fault.detail;
            break;
        case Kind::Unreadable:
        case Kind::Damaged: break;
    }
    return "cannot " + doing + " " + named.subject + ": " + fault.detail;
}

// How a session ended, told: a journal that could not be played, or a game
// whose journal could not be written from some point on.
Said Told(const journal::SessionEnd& end, const std::string& doing, const Named& named) {
    Said said{end.status, {}, end.finished};
    if (!end.fault) return said;
    if (end.status == journal::CouldNotPlay) {
        said.problem = Refusal(*end.fault, doing, named);
    } else {
        said.problem = "the journal could not be written (" + end.fault->detail + "); the rest of the game was not saved";
    }
    return said;
}

Said Refused(const journal::Fault& fault, const std::string& doing, const Named& named) {
    return Told(journal::SessionEnd{journal::CouldNotPlay, fault}, doing, named);
}

// Says on the terminal why the game that follows will not be kept, and
// waits for a key, so that the game's first clear does not wipe it unread.
void WarnBeforePlaying(Platform& terminal, const std::string& why) {
    terminal.Write("tender-gamble: " + why + "\nPress a key to play all the same.\n");
    (void)terminal.ReadByte(-1, Platform::Reading::Keys);
}

// A new game, kept in a journal when it is played from a terminal or the
// player asks for one. A file the player named that cannot be made stops
// everything before the game starts. In the state folder the journal is
// made with the game's first input, so that a game left at its title
// leaves nothing; a state folder that cannot be made is said on the
// terminal, and the game is played anyway.
Said PlayNew(const Options& options, std::string& hint) {
    const std::time_t started = std::time(nullptr);
    const std::uint32_t seed = options.seed ? *options.seed : static_cast<std::uint32_t>(started);
    const journal::Header header = journal::NewHeader(seed, std::string(BuildVersion), SystemTerminalBorder(), started);
    const auto kept = [&](int handle) {
        SyncOnEveryExit(handle);
        OfferToContinue(options.command, options.saveFile, hint);
    };
    std::optional<journal::Fault> unkept;
    journal::JournalOpener open;
    std::optional<FileStore> store;
    if (options.saveFile) {
        store.emplace(*options.saveFile, kept);
        const journal::Result<journal::JournalSink*> journal = store->Create(header);
        if (!journal) return Refused(journal.Error(), "save", NamedFile(*options.saveFile));
        open = [sink = *journal] { return sink; };
    } else if (!options.noSave && isatty(0)) {
        store = FileStore::InStateFolder(Variable, kept);
        unkept = store->FolderReady();
        if (!unkept) {
            open = [&]() -> journal::JournalSink* {
                journal::Result<journal::JournalSink*> journal = store->Create(header);
                if (journal) return *journal;
                unkept = journal.Error();
                return nullptr;
            };
        }
    }
    const std::unique_ptr<Platform> terminal = OpenSystemTerminal();
    if (unkept) WarnBeforePlaying(*terminal, "this game will not be saved: " + unkept->detail);
    Said said = Told(journal::PlayNewGame(RunGame, *terminal, seed, open), "play", NamedFile(""));
    if (open && unkept && said.problem.empty()) said.problem = "this game was not saved: " + unkept->detail;
    return said;
}

// The journal a command-line argument names, and how the player is told of
// it: the game a link holds (only what follows its '#' is read; going on
// with it keeps it in the state folder as a new game; its moment, if it
// names one, is where a replay starts), a number in the list of kept games,
// or a file. Why not, for a damaged link or a number not in the list.
struct NamedStore {
    std::unique_ptr<journal::JournalStore> store;
    Named named;
    std::optional<std::size_t> at;
};

journal::Result<NamedStore> NamedJournal(const std::string& argument) {
    if (journal::IsLink(argument)) {
        journal::Result<journal::LinkedGame> game = journal::ReadLink(argument);
        if (!game) return journal::Fault{journal::Fault::Kind::NotFound, game.Error().detail};
        return NamedStore{std::make_unique<FileStore>(
                              FileStore::HoldingLink(std::move(game->journal), Variable, SyncOnEveryExit)),
                          InTheLink, game->at};
    }
    const journal::Result<std::string> file = JournalNamed(argument, Variable);
    if (!file) return file.Error();
    return NamedStore{std::make_unique<FileStore>(*file, SyncOnEveryExit), NamedFile(*file), std::nullopt};
}

// The journal named, else the most recently played unfinished one. The hint
// names the journal as the player did, but a link's game, kept as the
// latest game in the state folder, needs no name.
Said Continue(const Options& options, std::string& hint) {
    journal::Result<NamedStore> chosen = journal::Fault{journal::Fault::Kind::NotFound, {}};
    if (options.continueFile) {
        chosen = NamedJournal(*options.continueFile);
    } else if (journal::Result<FileStore> latest = FileStore::LatestUnfinished(Variable, SyncOnEveryExit)) {
        const std::string path = latest->Path();
        chosen = NamedStore{std::make_unique<FileStore>(std::move(*latest)), NamedFile(path), std::nullopt};
    } else {
        chosen = latest.Error();
    }
    if (!chosen) return Refused(chosen.Error(), "continue", {});
    const bool link = options.continueFile && journal::IsLink(*options.continueFile);
    OfferToContinue(options.command, link ? std::nullopt : options.continueFile, hint);
    return Told(journal::ContinueGame(RunGame, OpenSystemTerminal, *chosen->store), "continue", chosen->named);
}

// The replay as an asciicast, in a file that must not exist yet: it is
// refused before anything is replayed, and a cast that was not written
// leaves no file behind.
Said WriteCast(const Options& options, const NamedStore& chosen) {
    const std::string& file = *options.castFile;
    std::error_code unknown;  // a file that cannot even be looked at is refused when opened
    if (std::filesystem::exists(file, unknown)) return Said{journal::CouldNotPlay, file + ": the file exists already"};
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (!out) return Said{journal::CouldNotPlay, "cannot write " + file};
    const journal::Stretch stretch{options.from.value_or(0), options.to};
    const journal::Result<std::string> cast = journal::Cast(RunGame, *chosen.store, options.speed, stretch);
    if (cast) out << *cast;
    out.close();
    if (cast && out) return Said{};
    std::filesystem::remove(file, unknown);
    if (cast) return Said{journal::CouldNotPlay, "cannot write " + file};
    return Refused(cast.Error(), "replay", chosen.named);
}

// A link's moment is where the replay starts, paused.
Said Replay(const Options& options) {
    journal::Result<NamedStore> chosen = NamedJournal(options.replayFile);
    if (!chosen) return Refused(chosen.Error(), "replay", {});
    if (options.castFile) return WriteCast(options, *chosen);
    return Told(journal::WatchReplay(RunGame, OpenSystemTerminal, *chosen->store, options.speed, chosen->at), "replay",
                chosen->named);
}

// The page a shared link opens: --base, else $TENDER_GAMBLE_URL, else the
// one `./play --web` serves.
std::string ShareBase(const Options& options) {
    if (options.base) return *options.base;
    const char* variable = Variable("TENDER_GAMBLE_URL");
    return variable != nullptr && *variable != '\0' ? variable : DefaultShareBase;
}

// Why a moment cannot be shared: the game does not get there.
std::optional<journal::Fault> MomentBeyondTheGame(const std::string& bytes, std::size_t at) {
    const std::size_t inputs = journal::RecordedInputs(journal::Parse(bytes)).InputCount();
    if (at <= inputs) return std::nullopt;
    return journal::Fault{journal::Fault::Kind::NotFound, "there is no moment after input " + std::to_string(at) +
                                                              " in a game of " + std::to_string(inputs) + " inputs"};
}

// Prints the link that holds the journal, once it reads as one.
Said Share(const Options& options) {
    journal::Result<NamedStore> chosen = NamedJournal(options.shareFile);
    if (!chosen) return Refused(chosen.Error(), "share", {});
    const journal::Result<std::string> bytes = chosen->store->Read();
    if (!bytes) return Refused(bytes.Error(), "share", chosen->named);
    std::optional<journal::Fault> fault = journal::Parse(*bytes).fault;
    if (!fault && options.at) fault = MomentBeyondTheGame(*bytes, *options.at);
    if (fault) return Refused(*fault, "share", chosen->named);
    std::cout << journal::MakeLink(ShareBase(options), *bytes, options.at) << "\n";
    return Said{};
}

}  // namespace

// The sessions return with the terminal back as it was found; only then is
// anything said, and the program ends here.
int RunFromCommandLine(int argc, char** argv) {
    Options options = ParseOptions(std::vector<std::string>(argv + 1, argv + argc));
    options.command = CommandName(argc > 0 ? argv[0] : nullptr);
    Said end;
    std::string hint;  // how to go on with the game, when it is kept and not over
    switch (options.action) {
        case Options::Action::Help: std::cout << UsageText(); return 0;
        case Options::Action::Version: std::cout << VersionText(BuildVersion, BuildCommit); return 0;
        case Options::Action::Games: std::cout << GamesList(RunGame, Variable, options.command); return 0;
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
