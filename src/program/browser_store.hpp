// The journals of the game on a web page, kept in the page's storage (the
// WebAssembly build only; the page's side is web/journal_store.js).
#pragma once

#include <memory>
#include <string>

#include "journal/journal_store.hpp"

namespace tg {

// The page chooses the journal to go on with or to replay.
class BrowserStore : public journal::JournalStore {
public:
    BrowserStore();
    ~BrowserStore() override;

    journal::Result<journal::JournalSink*> Create(const journal::Header& header) override;
    journal::Result<std::string> Read() override;
    journal::Result<journal::JournalSink*> Reopen(std::size_t size) override;

private:
    std::unique_ptr<journal::JournalSink> journal_;
};

// Tells the player on the page why a journal cannot be played.
void ReportOnPage(const std::string& message);

}  // namespace tg
