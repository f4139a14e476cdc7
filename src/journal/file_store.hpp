// Journals kept as files: in the state folder, or a file the player names.
#pragma once

#include <ctime>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "console/terminal_capabilities.hpp"
#include "journal/journal_file.hpp"
#include "journal/journal_store.hpp"

namespace tg::journal {

class FileStore : public JournalStore {
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

    // The most recently played unfinished game in the state folder; nothing,
    // with why, when there is none.
    static Result<FileStore> LatestUnfinished(const Environment& environment, SyncOnExit syncOnExit = {});

    // Whether a new game's journal can be made in the state folder: its
    // folder is there, or made now.
    std::optional<Fault> FolderReady() const;

    Result<JournalSink*> Create(const Header& header) override;
    // A new journal that holds `bytes` (a header and records) from the start.
    Result<JournalSink*> CreateHolding(const Header& header, std::string_view bytes);
    // The file the store reads, or makes.
    const std::string& Path() const { return path_; }
    // The file the store's journal is in, once it is open.
    std::string OpenPath() const { return file_ ? file_->Path() : std::string(); }
    Result<std::string> Read() override;
    Result<JournalSink*> Reopen(std::size_t size) override;

private:
    FileStore() = default;
    Result<JournalFile> CreateInStateFolder(const Header& header) const;
    Result<JournalSink*> Opened(Result<JournalFile> file);

    std::string path_;
    std::optional<Environment> environment_;  // a new game in the state folder
    SyncOnExit syncOnExit_;
    std::optional<JournalFile> file_;
};

}  // namespace tg::journal
