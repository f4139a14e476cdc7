// A game that came in a link: read from the link's bytes, and, to go on with
// it, kept from then on as a new journal in the state folder, like any game
// the player started.
#pragma once

#include <optional>
#include <string>

#include "console/terminal_capabilities.hpp"
#include "journal/file_store.hpp"
#include "journal/journal_store.hpp"

namespace tg::journal {

class LinkStore : public JournalStore {
public:
    // `journal` is the bytes the link holds.
    LinkStore(std::string journal, Environment environment, FileStore::SyncOnExit syncOnExit = {});

    // A link holds a game already; it starts none.
    Result<JournalSink*> Create(const Header& header) override;
    Result<std::string> Read() override;
    // Writes the link's journal, cut to `size`, as a new journal in the
    // state folder, named by its own start time and seed, and opens it.
    Result<JournalSink*> Reopen(std::size_t size) override;
    // Removes the journal Reopen wrote.
    void Withdraw() override;

private:
    std::string journal_;
    Environment environment_;
    FileStore::SyncOnExit syncOnExit_;
    std::optional<FileStore> kept_;
    std::string keptPath_;
};

}  // namespace tg::journal
