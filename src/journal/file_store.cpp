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
    const Result<std::string> bytes = ReadWholeFile(file.string());
    if (!bytes) return true;
    // A file cut off inside its header (even before its first byte: made,
    // then the game was gone) holds nothing to go on with.
    if (CutInsideHeader(*bytes)) return false;
    const Contents contents = Parse(*bytes);
    return contents.fault || !Finished(contents);
}

// Why a folder could not be made: a part of its path that is there but is
// not a folder (a file, say) is named as such, since the system only says
// that something exists; otherwise the system's reason.
Fault WhyNoFolder(const fs::path& folder, const std::error_code& failure) {
    fs::path part;
    for (const fs::path& name : folder) {
        part /= name;
        std::error_code unknown;
        const fs::file_status status = fs::status(part, unknown);
        if (fs::exists(status) && !fs::is_directory(status)) {
            return Fault{Fault::Kind::Unwritable, part.string() + " is not a folder"};
        }
    }
    return Fault{Fault::Kind::Unwritable,
                 "cannot make " + folder.string() + ": " + (failure ? failure.message() : "not a folder")};
}

// Makes the folder (and the folders above it) private to the user.
std::optional<Fault> MakeFolder(const fs::path& folder) {
    std::error_code failure;
    if (fs::is_directory(folder, failure)) return std::nullopt;
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
    if (fs::is_directory(folder, unknown)) return std::nullopt;
    return WhyNoFolder(folder, failure);
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

Result<FileStore> FileStore::LatestUnfinished(const Environment& environment, SyncOnExit syncOnExit) {
    const Result<fs::path> folder = StateFolder(environment);
    if (!folder) return Fault{Fault::Kind::NotFound, "no game to continue: " + folder.Error().detail};
    bool playedElsewhere = false;
    const std::optional<fs::path> latest = LatestUnfinishedIn(*folder, playedElsewhere);
    if (!latest) {
        return Fault{Fault::Kind::NotFound,
                     playedElsewhere ? "every unfinished game in " + folder->string() + " is being played in another window"
                                     : "no unfinished game to continue in " + folder->string()};
    }
    return FileStore(latest->string(), std::move(syncOnExit));
}

std::optional<Fault> FileStore::FolderReady() const {
    const Result<fs::path> folder = StateFolder(*environment_);
    return folder ? MakeFolder(*folder) : std::optional<Fault>(folder.Error());
}

Result<JournalFile> FileStore::CreateInStateFolder(const Header& header) const {
    const Result<fs::path> folder = StateFolder(*environment_);
    if (!folder) return folder.Error();
    if (std::optional<Fault> fault = MakeFolder(*folder)) return *fault;
    for (int copy = 1; copy <= MostCopies; ++copy) {
        Result<JournalFile> file = JournalFile::Create((*folder / JournalName(header, copy)).string());
        if (file || errno != EEXIST) return file;
    }
    return Fault{Fault::Kind::Unwritable, "too many games started in the same second"};
}

Result<JournalSink*> FileStore::Opened(Result<JournalFile> file) {
    if (!file) return file.Error();
    file_ = std::move(*file);
    if (syncOnExit_) syncOnExit_(file_->Handle());
    return &*file_;
}

// A new game's journal in the state folder is made with the game's first
// input, and its header goes out in that input's write; a file the player
// named is written at once, before the game.
Result<JournalSink*> FileStore::Create(const Header& header) {
    if (!environment_) return CreateHolding(header, EncodeHeader(header));
    Result<JournalFile> file = CreateInStateFolder(header);
    if (!file) return file.Error();
    file->WriteWithFirstAppend(EncodeHeader(header));
    return Opened(std::move(file));
}

Result<JournalSink*> FileStore::CreateHolding(const Header& header, std::string_view bytes) {
    Result<JournalFile> file = environment_ ? CreateInStateFolder(header) : JournalFile::Create(path_);
    if (!file) return file.Error();
    if (std::optional<Fault> fault = file->Append(bytes); fault || (fault = file->Sync())) return *fault;
    return Opened(std::move(file));
}

Result<std::string> FileStore::Read() { return ReadWholeFile(path_); }

Result<JournalSink*> FileStore::Reopen(std::size_t size) { return Opened(JournalFile::Reopen(path_, size)); }

}  // namespace tg::journal
