// The journals of the game on a web page, kept in the page's storage (the
// WebAssembly build only; the page's side is web/journal_store.js).
#pragma once

#include <memory>
#include <string>

#include "journal/journal_store.hpp"

namespace tg::journal {

// The page chooses the journal to go on with or to replay; `name` names it
// in messages.
class BrowserStore : public JournalStore {
public:
    explicit BrowserStore(std::string name = {});
    ~BrowserStore() override;

    JournalSink* Create(const Header& header, std::string& error) override;
    std::optional<std::string> Read(std::string& error) override;
    JournalSink* Reopen(std::size_t size, std::string& error) override;
    std::string Say(Problem problem, const std::string& detail) const override;

private:
    std::string name_;
    std::unique_ptr<JournalSink> journal_;
};

// Tells the player on the page why a journal cannot be played.
void ReportOnPage(const std::string& message);

}  // namespace tg::journal
