// A journal file open for appending, locked while a game writes it.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "journal/journal_store.hpp"

namespace tg {

// Each Append is one write of whole records; Sync makes everything appended
// so far survive a power loss. The file is locked while it is open, so that
// one game at a time writes it.
class JournalFile : public journal::JournalSink {
public:
    // Creates a new file (it must not exist), readable by its owner only.
    static journal::Result<std::unique_ptr<JournalFile>> Create(const std::string& path);
    // Opens an existing journal to go on with it, first cutting off the
    // torn record at its end (from byte `wholeBytes` on), if any.
    static journal::Result<std::unique_ptr<JournalFile>> Reopen(const std::string& path, std::size_t wholeBytes);
    JournalFile(const JournalFile&) = delete;
    JournalFile& operator=(const JournalFile&) = delete;
    ~JournalFile() override;

    std::optional<journal::Fault> Append(std::string_view bytes) override;
    std::optional<journal::Fault> Sync() override;
    // Bytes that go out with the first Append, in the same write (a new
    // journal's header with the game's first input).
    void WriteWithFirstAppend(std::string bytes) { ahead_ = std::move(bytes); }

    const std::string& Path() const { return path_; }
    int Handle() const { return handle_; }

private:
    JournalFile(std::string path, int handle) : path_(std::move(path)), handle_(handle) {}

    std::string path_;
    int handle_;
    std::string ahead_;
};

// Reads a whole file (Unreadable, with the system's reason, when it cannot).
journal::Result<std::string> ReadWholeFile(const std::string& path);

// Whether another running game holds the journal open.
bool InUse(const std::string& path);

}  // namespace tg
