// The game's journals as the web page keeps them. The page puts its side on
// the module object as `tenderPage.journal` (see web/game_session.js):
//   chosen()          -> Uint8Array: the journal to continue or to replay
//   append(bytes)     -> "" when kept, else why not
//   cutAt(size)       -> "" when done, else why not
//   finished()        the journal holds the game's ending now
//   report(text)      a message for the player
// Storage on the page is written at once, so every append is synchronous.

#include "journal/browser_store.hpp"

#include <emscripten.h>

#include <memory>
#include <string>

EM_JS(int, tender_journal_chosen_size, (), { return Module["tenderPage"]["journal"]["chosen"]().length; });

EM_JS(void, tender_journal_copy_chosen, (char* buffer), {
    HEAPU8.set(Module["tenderPage"]["journal"]["chosen"](), buffer);
});

// Each of these keeps the page's answer (an error, or "") for the next call
// of tender_journal_answer.
EM_JS(int, tender_journal_append, (const char* bytes, int length), {
    Module["tenderJournalAnswer"] = Module["tenderPage"]["journal"]["append"](HEAPU8.slice(bytes, bytes + length));
    return lengthBytesUTF8(Module["tenderJournalAnswer"]);
});

EM_JS(int, tender_journal_cut_at, (double size), {
    Module["tenderJournalAnswer"] = Module["tenderPage"]["journal"]["cutAt"](size);
    return lengthBytesUTF8(Module["tenderJournalAnswer"]);
});

EM_JS(void, tender_journal_answer, (char* buffer, int size), {
    stringToUTF8(Module["tenderJournalAnswer"], buffer, size);
});

EM_JS(void, tender_journal_finished, (), { Module["tenderPage"]["journal"]["finished"](); });

EM_JS(void, tender_journal_report, (const char* text), {
    Module["tenderPage"]["journal"]["report"](UTF8ToString(text));
});

namespace tg::journal {

namespace {

// The page's answer: true when it did what was asked, else the error.
bool Answered(int errorLength, std::string& error) {
    if (errorLength == 0) return true;
    error.assign(static_cast<std::size_t>(errorLength) + 1, '\0');
    tender_journal_answer(error.data(), errorLength + 1);
    error.resize(static_cast<std::size_t>(errorLength));
    return false;
}

// The journal as the page's storage keeps it: appends are kept at once.
class StoredJournal : public JournalSink {
public:
    bool Append(std::string_view bytes) override {
        return Answered(tender_journal_append(bytes.data(), static_cast<int>(bytes.size())), error_);
    }
    bool CutAt(std::size_t size) { return Answered(tender_journal_cut_at(static_cast<double>(size)), error_); }
    // The page's storage is written out by the browser on its own; there
    // is nothing to wait for.
    bool Sync() override { return true; }
    void Finished() override { tender_journal_finished(); }
    const std::string& Path() const override { return path_; }
    const std::string& Error() const override { return error_; }

private:
    std::string path_ = "in the browser's storage";
    std::string error_;
};

}  // namespace

BrowserStore::BrowserStore(std::string name) : name_(std::move(name)), journal_(std::make_unique<StoredJournal>()) {}

BrowserStore::~BrowserStore() = default;

JournalSink* BrowserStore::Create(const Header& header, std::string& error) {
    if (journal_->Append(EncodeHeader(header))) return journal_.get();
    error = journal_->Error();
    return nullptr;
}

std::optional<std::string> BrowserStore::Read(std::string&) {
    std::string bytes(static_cast<std::size_t>(tender_journal_chosen_size()), '\0');
    if (!bytes.empty()) tender_journal_copy_chosen(bytes.data());
    return bytes;
}

JournalSink* BrowserStore::Reopen(std::size_t size, std::string& error) {
    if (static_cast<StoredJournal&>(*journal_).CutAt(size)) return journal_.get();
    error = journal_->Error();
    return nullptr;
}

std::string BrowserStore::Say(Problem problem, const std::string& detail) const {
    switch (problem) {
        case Problem::CannotContinue: return "The saved game cannot be continued: " + detail + ".";
        case Problem::GameIsOver: return "The saved game is over: it can only be replayed.";
        case Problem::CannotReplay: return name_ + " cannot be replayed: " + detail + ".";
    }
    return detail;
}

void ReportOnPage(const std::string& message) { tender_journal_report(message.c_str()); }

}  // namespace tg::journal
