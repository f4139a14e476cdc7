#include "journal/game_sessions.hpp"

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <iostream>

#include "journal/banner_border.hpp"
#include "journal/continuing.hpp"
#include "journal/journal_file.hpp"
#include "journal/journal_format.hpp"
#include "journal/recording_platform.hpp"
#include "journal/state_folder.hpp"

namespace tg::journal {

namespace {

constexpr int CouldNotContinue = 1;
constexpr int MostCopies = 100;

std::optional<JournalFile> CreateInStateFolder(const Environment& environment, const Header& header,
                                               std::time_t started, std::string& error) {
    const std::optional<std::filesystem::path> folder = StateFolder(environment, error);
    if (!folder || !MakeFolder(*folder, error)) return std::nullopt;
    for (int copy = 1; copy <= MostCopies; ++copy) {
        const std::filesystem::path path = *folder / JournalName(started, header.seed, copy);
        std::optional<JournalFile> file = JournalFile::Create(path.string(), error);
        if (file || errno != EEXIST) {
            if (!file) error = path.string() + ": " + error;
            return file;
        }
    }
    error = "too many games started in the same second";
    return std::nullopt;
}

// Creates the new game's journal file, or says why not on standard error
// before the game takes the terminal.
std::optional<JournalFile> CreateJournal(const SaveChoice& save, const Environment& environment, std::uint32_t seed,
                                         std::time_t started) {
    std::string error;
    std::optional<JournalFile> file;
    if (save.file) {
        file = JournalFile::Create(*save.file, error);
        if (!file) error = *save.file + ": " + error;
    } else {
        Header header;
        header.seed = seed;
        file = CreateInStateFolder(environment, header, started, error);
    }
    if (!file) std::cerr << "tender-gamble: this game will not be saved: " << error << "\n";
    return file;
}

// Writes the journal's header; false, said when the game ends, when it
// cannot be written.
bool StartJournal(JournalFile& file, const Header& header) {
    if (file.Append(EncodeHeader(header)) && file.Sync()) return true;
    ReportAtExit("this game was not saved: " + file.Path() + ": " + file.Error());
    return false;
}

int Refuse(const std::string& message) {
    std::cerr << "tender-gamble: " << message << "\n";
    return CouldNotContinue;
}

}  // namespace

Header NewHeader(std::uint32_t seed, const std::string& gameVersion, const BoxCharacters& box) {
    Header header;
    header.gameVersion = gameVersion;
    header.seed = seed;
    header.started = UtcText(std::time(nullptr));
    header.border = BorderName(box);
    return header;
}

void PlayNewGame(const GameRunner& run, const TerminalOpener& open, std::uint32_t seed, const SaveChoice& save,
                 const Environment& environment) {
    const std::time_t started = std::time(nullptr);
    std::optional<JournalFile> file;
    if (save.wanted || save.file) file = CreateJournal(save, environment, seed, started);
    const std::unique_ptr<Platform> terminal = open();
    if (file) {
        // The header names the border of the terminal the game is shown on.
        Header header = NewHeader(seed, save.gameVersion, terminal->Box());
        header.started = UtcText(started);
        if (!StartJournal(*file, header)) file.reset();
    }
    if (!file) {
        run(*terminal, seed);
    } else {
        RecordingPlatform recorder(*terminal, *file);
        run(recorder, seed);
    }
    std::abort();  // a game never returns
}

int ContinueGame(const GameRunner& run, const TerminalOpener& open, const std::optional<std::string>& file,
                 const Environment& environment) {
    std::string path;
    std::string error;
    if (file) {
        path = *file;
    } else {
        const std::optional<std::filesystem::path> folder = StateFolder(environment, error);
        if (!folder) return Refuse("no game to continue: " + error);
        const std::optional<std::filesystem::path> latest = LatestUnfinished(*folder);
        if (!latest) return Refuse("no unfinished game to continue in " + folder->string());
        path = latest->string();
    }
    const std::optional<std::string> bytes = ReadWholeFile(path, error);
    if (!bytes) return Refuse("cannot continue " + path + ": " + error);
    const Contents contents = Parse(*bytes);
    if (!contents.error.empty()) return Refuse("cannot continue " + path + ": " + contents.error);
    if (Finished(contents)) return Refuse("the game in " + path + " is over; watch it again with --replay " + path);
    // From here on the terminal is the game's: what goes wrong is said once
    // it is back as it was found.
    const std::unique_ptr<Platform> terminal = open();
    const auto refuse = [&](const std::string& message) {
        ReportAtExit(message);
        terminal->Exit(CouldNotContinue);
        std::abort();  // a platform's Exit never comes back
    };
    std::optional<JournalFile> journal = JournalFile::Reopen(path, contents.wholeBytes, error);
    if (!journal) refuse("cannot continue " + path + ": " + error);
    ContinueJournal(run, *terminal, contents, *journal,
                    [&](const std::string& why) { refuse("cannot continue " + path + ": " + why); });
}

}  // namespace tg::journal
