// Journal files: made in the state folder (its place, its private
// folders, the files' names) or where the player said, found again to go on
// with, read back to replay.
#include "journal/file_store.hpp"

#include <cctype>
#include <cerrno>
#include <system_error>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "journal/state_folder.hpp"

namespace tg::journal {

namespace fs = std::filesystem;

namespace {

constexpr int MostCopies = 100;  // games started in the same second with the same seed

bool CutInsideHeader(std::string_view bytes) {
    if (bytes.find("\n\n") != std::string_view::npos) return false;
    if (bytes.size() <= FormatName.size()) return FormatName.substr(0, bytes.size()) == bytes;
    return bytes.substr(0, FormatName.size()) == FormatName;
}

bool WorthContinuing(const fs::path& file) {
    std::string error;
    const std::optional<std::string> bytes = ReadWholeFile(file.string(), error);
    if (!bytes) return true;
    // A file cut off inside its header (even before its first byte: made,
    // then the game was gone) holds nothing to go on with.
    if (CutInsideHeader(*bytes)) return false;
    const Contents contents = Parse(*bytes);
    return !contents.error.empty() || !Finished(contents);
}

// Why a folder could not be made: a part of its path that is there but is
// not a folder (a file, say) is named as such, since the system only says
// that something exists; otherwise the system's reason.
std::string WhyNoFolder(const fs::path& folder, const std::error_code& failure) {
    fs::path part;
    for (const fs::path& name : folder) {
        part /= name;
        std::error_code unknown;
        const fs::file_status status = fs::status(part, unknown);
        if (fs::exists(status) && !fs::is_directory(status)) return part.string() + " is not a folder";
    }
    return "cannot make " + folder.string() + ": " + (failure ? failure.message() : "not a folder");
}

// Makes the folder (and the folders above it) private to the user.
bool MakeFolder(const fs::path& folder, std::string& error) {
    std::error_code failure;
    if (fs::is_directory(folder, failure)) return true;
#ifdef _WIN32
    fs::create_directories(folder, failure);
#else
    // Each folder made here is private, as the base folders of state are.
    fs::path made;
    for (const fs::path& part : folder) {
        made /= part;
        if (fs::is_directory(made, failure)) continue;
        // The reason is kept before looking again, which sets errno anew.
        const int reason = mkdir(made.c_str(), 0700) == 0 ? 0 : errno;
        if (reason != 0 && !fs::is_directory(made, failure)) {
            failure = std::error_code(reason, std::generic_category());
            break;
        }
        failure.clear();
    }
#endif
    std::error_code unknown;
    if (fs::is_directory(folder, unknown)) return true;
    error = WhyNoFolder(folder, failure);
    return false;
}

// A journal's file name: its start time (UTC, from its header) and seed,
// with a number added for a second game started in the same second with the
// same seed. Only letters and digits of the time are kept, the rest become
// '-': colons are not allowed in Windows names, and a header that came in a
// link must not name another folder.
std::string JournalName(const Header& header, int copy) {
    constexpr std::size_t LongestStamp = 32;
    std::string stamp = header.started.substr(0, LongestStamp);
    for (char& character : stamp) {
        if (!std::isalnum(static_cast<unsigned char>(character))) character = '-';
    }
    return stamp + "-seed-" + std::to_string(header.seed) + (copy > 1 ? "-" + std::to_string(copy) : "") +
           JournalExtension;
}

// The journal of the most recently played game that has not reached an
// ending and is not being played right now; nothing, with `playedElsewhere`
// telling whether some unfinished game is being played in another window.
// A journal that cannot be read counts as unfinished, so that what is wrong
// with it is reported.
std::optional<fs::path> LatestUnfinishedIn(const fs::path& folder, bool& playedElsewhere) {
    playedElsewhere = false;
    for (const KeptJournal& journal : KeptJournals(folder)) {
        if (InUse(journal.path.string())) {
            playedElsewhere = true;
        } else if (WorthContinuing(journal.path)) {
            return journal.path;
        }
    }
    return std::nullopt;
}

}  // namespace

FileStore::FileStore(std::string path, SyncOnExit syncOnExit)
    : path_(std::move(path)), syncOnExit_(std::move(syncOnExit)) {}

FileStore FileStore::InStateFolder(Environment environment, SyncOnExit syncOnExit) {
    FileStore store;
    store.environment_ = std::move(environment);
    store.syncOnExit_ = std::move(syncOnExit);
    return store;
}

std::optional<FileStore> FileStore::LatestUnfinished(const Environment& environment, std::string& why,
                                                     SyncOnExit syncOnExit) {
    std::string error;
    const std::optional<fs::path> folder = StateFolder(environment, error);
    if (!folder) {
        why = "no game to continue: " + error;
        return std::nullopt;
    }
    bool playedElsewhere = false;
    const std::optional<fs::path> latest = LatestUnfinishedIn(*folder, playedElsewhere);
    if (!latest) {
        why = playedElsewhere ? "every unfinished game in " + folder->string() + " is being played in another window"
                              : "no unfinished game to continue in " + folder->string();
        return std::nullopt;
    }
    return FileStore(latest->string(), std::move(syncOnExit));
}

bool FileStore::FolderReady(std::string& error) const {
    const std::optional<fs::path> folder = StateFolder(*environment_, error);
    return folder && MakeFolder(*folder, error);
}

std::optional<JournalFile> FileStore::CreateInStateFolder(const Header& header, std::string& error) const {
    const std::optional<fs::path> folder = StateFolder(*environment_, error);
    if (!folder || !MakeFolder(*folder, error)) return std::nullopt;
    for (int copy = 1; copy <= MostCopies; ++copy) {
        const fs::path path = *folder / JournalName(header, copy);
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
    return CreateHolding(header, EncodeHeader(header), error);
}

JournalSink* FileStore::CreateHolding(const Header& header, std::string_view bytes, std::string& error) {
    std::optional<JournalFile> file;
    if (environment_) {
        file = CreateInStateFolder(header, error);
    } else {
        file = JournalFile::Create(path_, error);
        if (!file) error = path_ + ": " + error;
    }
    if (file && !(file->Append(bytes) && file->Sync())) {
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
