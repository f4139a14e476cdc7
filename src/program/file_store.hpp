// Journals kept as files, where the command line keeps its games: in the
// state folder, in a file the player names, or (a link's game gone on with)
// written from the bytes a link holds.
#pragma once

#include <ctime>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "console/terminal_capabilities.hpp"
#include "journal/journal_store.hpp"
#include "program/journal_file.hpp"

namespace tg {

// The extension of the journals kept in the state folder.
inline constexpr const char* JournalExtension = ".journal";

// Where a player's journals are kept: $XDG_STATE_HOME/tender-gamble (by
// default ~/.local/state/tender-gamble), on Windows
// %LOCALAPPDATA%\tender-gamble; why not, when no such place is known.
journal::Result<std::filesystem::path> StateFolder(const Environment& environment);

// A kept journal and when a game last wrote to it.
struct KeptJournal {
    std::filesystem::path path;
    std::time_t lastPlayed = 0;
};

// The journals in the folder, the most recently played (last written) first;
// games played in the same second come in the reverse order of their names.
std::vector<KeptJournal> KeptJournals(const std::filesystem::path& folder);

class FileStore : public journal::JournalStore {
public:
    // Told each journal file as it is opened for writing, so that its data
    // reaches the disk on every way out of the process.
    using SyncOnExit = std::function<void(int fileHandle)>;

    // The journal in `path`: to go on with, to replay, or (for a new game)
    // to make, where it must not exist yet.
    explicit FileStore(std::string path, SyncOnExit syncOnExit = {});
    // A new game's journal in the state folder, named by its start time and
    // seed as its header gives them.
    static FileStore InStateFolder(Environment environment, SyncOnExit syncOnExit = {});
    // The game a link holds, from its journal's bytes. Gone on with, it is
    // kept from then on as a new journal in the state folder, like any game
    // the player started.
    static FileStore HoldingLink(std::string journal, Environment environment, SyncOnExit syncOnExit = {});
    // The most recently played unfinished game in the state folder; nothing,
    // with why, when there is none.
    static journal::Result<FileStore> LatestUnfinished(const Environment& environment, SyncOnExit syncOnExit = {});

    // Whether a new game's journal can be made in the state folder: its
    // folder is there, or made now.
    std::optional<journal::Fault> FolderReady() const;

    journal::Result<journal::JournalSink*> Create(const journal::Header& header) override;
    journal::Result<std::string> Read() override;
    journal::Result<journal::JournalSink*> Reopen(std::size_t size) override;
    // Removes the journal a link's game was written to.
    void Withdraw() override;

    const std::string& Path() const { return path_; }

private:
    FileStore(std::optional<Environment> environment, SyncOnExit syncOnExit)
        : environment_(std::move(environment)), syncOnExit_(std::move(syncOnExit)) {}
    journal::Result<std::unique_ptr<JournalFile>> CreateInStateFolder(const journal::Header& header) const;
    // A new journal holding `bytes` (a header, and records), written at once
    // or with the game's first input.
    journal::Result<journal::JournalSink*> Holding(const journal::Header& header, const std::string& bytes, bool withFirstInput);
    journal::Result<journal::JournalSink*> Opened(journal::Result<std::unique_ptr<JournalFile>> file);

    std::string path_;
    std::optional<Environment> environment_;  // where new journals are made: the state folder
    SyncOnExit syncOnExit_;
    std::optional<std::string> link_;  // the journal a link holds
    std::unique_ptr<JournalFile> file_;
};

}  // namespace tg
