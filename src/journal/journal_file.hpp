// A journal file open for appending, locked while a game writes it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "journal/journal_store.hpp"

namespace tg::journal {

// A journal file open for appending. Each Append is one write of whole
// records; Sync makes everything appended so far survive a power loss.
// The file is locked while it is open, so that one game at a time writes it.
class JournalFile : public JournalSink {
public:
    // Creates a new file (it must not exist), readable by its owner only.
    static std::optional<JournalFile> Create(const std::string& path, std::string& error);
    // Opens an existing journal to go on with it, first cutting off the
    // torn record at its end (from byte `wholeBytes` on), if any.
    static std::optional<JournalFile> Reopen(const std::string& path, std::size_t wholeBytes, std::string& error);

    JournalFile(JournalFile&& other) noexcept;
    JournalFile& operator=(JournalFile&& other) noexcept;
    JournalFile(const JournalFile&) = delete;
    JournalFile& operator=(const JournalFile&) = delete;
    ~JournalFile() override;

    bool Append(std::string_view bytes) override;
    bool Sync() override;

    const std::string& Path() const override { return path_; }
    int Handle() const override { return handle_; }
    const std::string& Error() const override { return error_; }

private:
    JournalFile(std::string path, int handle) : path_(std::move(path)), handle_(handle) {}

    std::string path_;
    int handle_ = -1;
    std::string error_;
};

// Reads a whole file; nothing when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& path, std::string& error);

// Whether another running game holds the journal open.
bool InUse(const std::string& path);

}  // namespace tg::journal
