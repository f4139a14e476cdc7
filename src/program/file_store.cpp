// Journal files: made in the state folder (its place, its private folders,
// the files' names) or where the player said, found again to go on with,
// read back to replay; and the state folder's journals in the order they
// were last played.
#include "program/file_store.hpp"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <system_error>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace tg {

using namespace journal;

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

Result<fs::path> StateFolder(const Environment& environment) {
    const auto variable = [&](const char* name) -> std::string {
        const char* value = environment(name);
        return value ? value : "";
    };
#ifdef _WIN32
    const std::string local = variable("LOCALAPPDATA");
    if (!local.empty()) return fs::path(local) / "tender-gamble";
    return Fault{Fault::Kind::NotFound, "LOCALAPPDATA is not set"};
#else
    const std::string state = variable("XDG_STATE_HOME");
    if (!state.empty() && state.front() == '/') return fs::path(state) / "tender-gamble";
    const std::string home = variable("HOME");
    if (!home.empty()) return fs::path(home) / ".local" / "state" / "tender-gamble";
    return Fault{Fault::Kind::NotFound, "there is no home folder (HOME is not set)"};
#endif
}

std::vector<KeptJournal> KeptJournals(const fs::path& folder) {
    std::error_code failure;
    std::vector<std::pair<fs::file_time_type, fs::path>> found;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, failure)) {
        if (entry.path().extension() != JournalExtension || !entry.is_regular_file(failure)) continue;
        found.emplace_back(entry.last_write_time(failure), entry.path());
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a > b; });
    // The file clock's epoch differs between standard libraries: times are
    // carried over to the system clock by their distance from now.
    const auto fileNow = fs::file_time_type::clock::now();
    const auto systemNow = std::chrono::system_clock::now();
    std::vector<KeptJournal> journals;
    journals.reserve(found.size());
    for (const auto& [written, path] : found) {
        using SystemDuration = std::chrono::system_clock::duration;
        const auto when = systemNow + std::chrono::duration_cast<SystemDuration>(written - fileNow);
        journals.push_back({path, std::chrono::system_clock::to_time_t(when)});
    }
    return journals;
}

FileStore::FileStore(std::string path, SyncOnExit syncOnExit) : FileStore(std::nullopt, std::move(syncOnExit)) {
    path_ = std::move(path);
}

FileStore FileStore::InStateFolder(Environment environment, SyncOnExit syncOnExit) {
    return FileStore(std::move(environment), std::move(syncOnExit));
}

FileStore FileStore::HoldingLink(std::string journal, Environment environment, SyncOnExit syncOnExit) {
    FileStore store(std::move(environment), std::move(syncOnExit));
    store.link_ = std::move(journal);
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

Result<std::unique_ptr<JournalFile>> FileStore::CreateInStateFolder(const Header& header) const {
    const Result<fs::path> folder = StateFolder(*environment_);
    if (!folder) return folder.Error();
    if (std::optional<Fault> fault = MakeFolder(*folder)) return *fault;
    for (int copy = 1; copy <= MostCopies; ++copy) {
        Result<std::unique_ptr<JournalFile>> file = JournalFile::Create((*folder / JournalName(header, copy)).string());
        if (file || errno != EEXIST) return file;
    }
    return Fault{Fault::Kind::Unwritable, "too many games started in the same second"};
}

Result<JournalSink*> FileStore::Opened(Result<std::unique_ptr<JournalFile>> file) {
    if (!file) return file.Error();
    file_ = std::move(*file);
    path_ = file_->Path();
    if (syncOnExit_) syncOnExit_(file_->Handle());
    return file_.get();
}

// A new game's journal in the state folder is made with the game's first
// input, and its header goes out in that input's write; a file the player
// named is written at once, before the game.
Result<JournalSink*> FileStore::Create(const Header& header) {
    return Holding(header, EncodeHeader(header), environment_.has_value());
}

Result<JournalSink*> FileStore::Holding(const Header& header, const std::string& bytes, bool withFirstInput) {
    Result<std::unique_ptr<JournalFile>> file = environment_ ? CreateInStateFolder(header) : JournalFile::Create(path_);
    if (!file) return file.Error();
    if (withFirstInput) {
        (*file)->WriteWithFirstAppend(bytes);
    } else if (std::optional<Fault> fault = (*file)->Append(bytes); fault || (fault = (*file)->Sync())) {
        return *fault;
    }
    return Opened(std::move(file));
}

Result<std::string> FileStore::Read() {
    if (link_) return *link_;
    return ReadWholeFile(path_);
}

// A link's game is written, cut to `size`, as a new journal in the state
// folder, named by its own start time and seed.
Result<JournalSink*> FileStore::Reopen(std::size_t size) {
    if (link_) return Holding(Parse(*link_).header, link_->substr(0, size), false);
    return Opened(JournalFile::Reopen(path_, size));
}

void FileStore::Withdraw() {
    if (!link_ || !file_) return;
    file_.reset();  // closes the file
    std::error_code ignored;
    fs::remove(path_, ignored);
}

}  // namespace tg
