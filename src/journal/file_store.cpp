// Journal files: made in the state folder or where the player said,
// found again to go on with, read back to replay.
#include "journal/file_store.hpp"

#include <cerrno>

#include "journal/state_folder.hpp"

namespace tg::journal {

namespace {
constexpr int MostCopies = 100;
}  // namespace

FileStore::FileStore(std::string path, SyncOnExit syncOnExit)
    : path_(std::move(path)), syncOnExit_(std::move(syncOnExit)) {}

FileStore FileStore::InStateFolder(Environment environment, std::time_t started, SyncOnExit syncOnExit) {
    FileStore store;
    store.environment_ = std::move(environment);
    store.started_ = started;
    store.syncOnExit_ = std::move(syncOnExit);
    return store;
}

std::optional<FileStore> FileStore::LatestUnfinished(const Environment& environment, std::string& why,
                                                     SyncOnExit syncOnExit) {
    std::string error;
    const std::optional<std::filesystem::path> folder = StateFolder(environment, error);
    if (!folder) {
        why = "no game to continue: " + error;
        return std::nullopt;
    }
    const std::optional<std::filesystem::path> latest = journal::LatestUnfinished(*folder);
    if (!latest) {
        why = "no unfinished game to continue in " + folder->string();
        return std::nullopt;
    }
    return FileStore(latest->string(), std::move(syncOnExit));
}

std::optional<JournalFile> FileStore::CreateInStateFolder(const Header& header, std::string& error) const {
    const std::optional<std::filesystem::path> folder = StateFolder(*environment_, error);
    if (!folder || !MakeFolder(*folder, error)) return std::nullopt;
    for (int copy = 1; copy <= MostCopies; ++copy) {
        const std::filesystem::path path = *folder / JournalName(started_, header.seed, copy);
        std::optional<JournalFile> file = JournalFile::Create(path.string(), error);
        if (file || errno != EEXIST) {
            if (!file) error = path.string() + ": " + error;
            return file;
        }
    }
    error = "too many games started in the same second";
    return std::nullopt;
}

JournalSink* FileStore::Opened(std::optional<JournalFile> file) {
    file_ = std::move(file);
    if (!file_) return nullptr;
    if (syncOnExit_) syncOnExit_(file_->Handle());
    return &*file_;
}

JournalSink* FileStore::Create(const Header& header, std::string& error) {
    std::optional<JournalFile> file;
    if (environment_) {
        file = CreateInStateFolder(header, error);
    } else {
        file = JournalFile::Create(path_, error);
        if (!file) error = path_ + ": " + error;
    }
    if (file && !(file->Append(EncodeHeader(header)) && file->Sync())) {
        error = file->Path() + ": " + file->Error();
        file.reset();
    }
    return Opened(std::move(file));
}

std::optional<std::string> FileStore::Read(std::string& error) { return ReadWholeFile(path_, error); }

JournalSink* FileStore::Reopen(std::size_t size, std::string& error) {
    return Opened(JournalFile::Reopen(path_, size, error));
}

std::string FileStore::Say(Problem problem, const std::string& detail) const {
    switch (problem) {
        case Problem::CannotContinue: return "cannot continue " + path_ + ": " + detail;
        case Problem::GameIsOver: return "the game in " + path_ + " is over; watch it again with --replay " + path_;
        case Problem::CannotReplay: return "cannot replay " + path_ + ": " + detail;
    }
    return detail;
}

}  // namespace tg::journal
