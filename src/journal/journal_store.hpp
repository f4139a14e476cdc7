// Where journals are kept (files in the terminal, the page's storage on the
// web) and where a game's records go while it is played. Sessions make,
// read and reopen journals only through this.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "journal/fault.hpp"
#include "journal/journal_format.hpp"

namespace tg::journal {

// Where a journal's records go while the game is played.
class JournalSink {
public:
    virtual ~JournalSink() = default;
    // Adds whole records at the end, in one piece: a crash leaves all of
    // them or none (or, for a file, a record cut short that readers skip).
    virtual std::optional<Fault> Append(std::string_view bytes) = 0;
    // Makes everything appended so far survive a crash, as far as the
    // medium allows.
    virtual std::optional<Fault> Sync() = 0;
    // The journal has just been given the record of the game's ending.
    virtual void Finished() {}
};

// Opens the journal a new game is recorded in, with its first input;
// nothing when it cannot be.
using JournalOpener = std::function<JournalSink*()>;

class JournalStore {
public:
    virtual ~JournalStore() = default;
    // A new game's journal, its header written, or why the game cannot be
    // kept. The store keeps the journal.
    virtual Result<JournalSink*> Create(const Header& header) = 0;
    // The bytes of the journal chosen to go on with or to replay.
    virtual Result<std::string> Read() = 0;
    // The chosen journal open to append to, cut to its first `size` bytes
    // (a record torn by a crash goes), or why it cannot be.
    virtual Result<JournalSink*> Reopen(std::size_t size) = 0;
    // The reopened journal did not play back as recorded: a store that made
    // it for this session takes it away again, so that a refused journal
    // leaves nothing behind.
    virtual void Withdraw() {}
};

}  // namespace tg::journal
