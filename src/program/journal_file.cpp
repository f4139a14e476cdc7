// Journal files on disk: created or reopened and locked, appended and
// synced, cut back, read whole.
#include "program/journal_file.hpp"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <utility>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace tg {

using namespace journal;

namespace {

std::string SystemError() { return std::strerror(errno); }

#ifdef _WIN32
int OpenForAppend(const std::string& path, bool create) {
    const int flags = _O_WRONLY | _O_APPEND | _O_BINARY | (create ? _O_CREAT | _O_EXCL : 0);
    return _open(path.c_str(), flags, _S_IREAD | _S_IWRITE);
}
// Windows locks are mandatory: a lock on the journal's bytes would keep a
// replay in another window from reading the game being played. The lock is
// on one byte far past any end a journal can reach instead, which only
// another lock meets.
constexpr DWORD LockOffsetHigh = 0x40000000;  // byte 2^62
OVERLAPPED LockedByte() {
    OVERLAPPED where{};
    where.OffsetHigh = LockOffsetHigh;
    return where;
}
HANDLE SystemHandle(int handle) { return reinterpret_cast<HANDLE>(_get_osfhandle(handle)); }
// Exclusive, and failing at once when another handle holds it.
bool Lock(int handle) {
    OVERLAPPED where = LockedByte();
    const DWORD flags = LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY;
    return LockFileEx(SystemHandle(handle), flags, 0, 1, 0, &where) != 0;
}
// Windows frees the locks of a closed handle only when it gets round to it;
// a game started right after this one must find the journal free.
int CloseFile(int handle) {
    OVERLAPPED where = LockedByte();
    UnlockFileEx(SystemHandle(handle), 0, 1, 0, &where);  // fails harmlessly when not locked
    return _close(handle);
}
bool SyncHandle(int handle) { return _commit(handle) == 0; }  // FlushFileBuffers
int WriteSome(int handle, const char* data, std::size_t size) {
    return _write(handle, data, static_cast<unsigned>(size));
}
bool CutAt(int handle, std::size_t size) { return _chsize_s(handle, static_cast<long long>(size)) == 0; }
#else
int OpenForAppend(const std::string& path, bool create) {
    const int flags = O_WRONLY | O_APPEND | O_CLOEXEC | (create ? O_CREAT | O_EXCL : 0);
    return open(path.c_str(), flags, 0600);
}
bool Lock(int handle) { return flock(handle, LOCK_EX | LOCK_NB) == 0; }
int CloseFile(int handle) { return close(handle); }
bool SyncHandle(int handle) { return fdatasync(handle) == 0; }
ssize_t WriteSome(int handle, const char* data, std::size_t size) { return write(handle, data, size); }
bool CutAt(int handle, std::size_t size) { return ftruncate(handle, static_cast<off_t>(size)) == 0; }
#endif

}  // namespace

Result<std::unique_ptr<JournalFile>> JournalFile::Create(const std::string& path) {
    const int handle = OpenForAppend(path, true);
    if (handle < 0) return Fault{Fault::Kind::Unwritable, path + ": " + SystemError()};
    Lock(handle);
    return std::unique_ptr<JournalFile>(new JournalFile(path, handle));
}

Result<std::unique_ptr<JournalFile>> JournalFile::Reopen(const std::string& path, std::size_t wholeBytes) {
    const int handle = OpenForAppend(path, false);
    if (handle < 0) return Fault{Fault::Kind::Unwritable, SystemError()};
    if (!Lock(handle)) {
        CloseFile(handle);
        return Fault{Fault::Kind::InUse, {}};
    }
    std::unique_ptr<JournalFile> file(new JournalFile(path, handle));
    if (!CutAt(handle, wholeBytes)) return Fault{Fault::Kind::Unwritable, SystemError()};
    return file;
}

JournalFile::~JournalFile() { CloseFile(handle_); }

std::optional<Fault> JournalFile::Append(std::string_view more) {
    const std::string bytes = std::exchange(ahead_, {}) + std::string(more);
    std::size_t written = 0;
    while (written < bytes.size()) {
        const auto count = WriteSome(handle_, bytes.data() + written, bytes.size() - written);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) {
            const std::string why = count < 0 ? SystemError() : "nothing could be written";
            return Fault{Fault::Kind::Unwritable, path_ + ": " + why};
        }
        written += static_cast<std::size_t>(count);
    }
    return std::nullopt;
}

std::optional<Fault> JournalFile::Sync() {
    if (SyncHandle(handle_)) return std::nullopt;
    return Fault{Fault::Kind::Unwritable, path_ + ": " + SystemError()};
}

Result<std::string> ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    if (in) bytes << in.rdbuf();
    if (!in || in.bad()) return Fault{Fault::Kind::Unreadable, SystemError()};
    return std::move(bytes).str();
}

bool InUse(const std::string& path) {
#ifdef _WIN32
    const int handle = _open(path.c_str(), _O_RDONLY | _O_BINARY);
    if (handle < 0) return false;
    const bool locked = !Lock(handle) && GetLastError() == ERROR_LOCK_VIOLATION;
    CloseFile(handle);
    return locked;
#else
    const int handle = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (handle < 0) return false;
    const bool locked = flock(handle, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    close(handle);
    return locked;
#endif
}

}  // namespace tg
