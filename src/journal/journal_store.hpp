// Where journals are kept: files in the terminal, the page's storage on the
// web. Sessions make, read and reopen journals only through this.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "journal/journal_format.hpp"
#include "journal/journal_sink.hpp"

namespace tg::journal {

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

    // How a problem with the chosen journal is put to the player, naming
    // the journal as this store does.
    virtual std::string Say(Problem problem, const std::string& detail) const = 0;

protected:
    JournalStore() = default;
    JournalStore(const JournalStore&) = default;
    JournalStore& operator=(const JournalStore&) = default;
};

}  // namespace tg::journal
