// Where journals are kept (files in the terminal, the page's storage on the
// web) and where a game's records go while it is played. Sessions make,
// read and reopen journals only through this.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "journal/journal_format.hpp"

namespace tg::journal {

// Where a journal's records go while the game is played: a file for the
// game in a terminal, the page's storage for the game on a web page.
class JournalSink {
public:
    virtual ~JournalSink() = default;

    // Adds whole records at the end, in one piece: a crash leaves all of
    // them or none (or, for a file, a record cut short that readers skip).
    virtual bool Append(std::string_view bytes) = 0;
    // Makes everything appended so far survive a crash, as far as the
    // medium allows.
    virtual bool Sync() = 0;
    // The journal has just been given the record of the game's ending.
    virtual void Finished() {}

    // Names the journal in messages.
    virtual const std::string& Path() const = 0;
    // Why the last Append or Sync failed.
    virtual const std::string& Error() const = 0;
    // The system's handle (a file descriptor on POSIX), for a last sync
    // from a signal handler; -1 for none.
    virtual int Handle() const { return -1; }

protected:
    JournalSink() = default;
    JournalSink(const JournalSink&) = default;
    JournalSink& operator=(const JournalSink&) = default;
};

// What can be wrong with the journal a session was given.
enum class Problem { CannotContinue, GameIsOver, CannotReplay };

class JournalStore {
public:
    virtual ~JournalStore() = default;

    // A new game's journal, its header written; nothing, with why, when the
    // game cannot be kept. The store keeps the journal.
    virtual JournalSink* Create(const Header& header, std::string& error) = 0;

    // The bytes of the journal chosen to go on with or to replay.
    virtual std::optional<std::string> Read(std::string& error) = 0;

    // The chosen journal open to append to, cut to its first `size` bytes
    // (a record torn by a crash goes); nothing, with why, when it cannot be.
    virtual JournalSink* Reopen(std::size_t size, std::string& error) = 0;

    // The reopened journal did not play back as recorded: a store that made
    // it for this session takes it away again, so that a refused journal
    // leaves nothing behind.
    virtual void Withdraw() {}

    // How a problem with the chosen journal is put to the player, naming
    // the journal as this store does.
    virtual std::string Say(Problem problem, const std::string& detail) const = 0;

protected:
    JournalStore() = default;
    JournalStore(const JournalStore&) = default;
    JournalStore& operator=(const JournalStore&) = default;
};

}  // namespace tg::journal
