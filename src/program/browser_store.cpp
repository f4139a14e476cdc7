// The game's journals as the web page keeps them. The page puts its side on
// the module object as `tenderPage.journal` (see web/game_session.js):
//   chosen()          -> Uint8Array: the journal to continue or to replay
//   append(bytes)     -> "" when kept, else why not
//   cutAt(size)       -> "" when done, else why not
//   finished()        the journal holds the game's ending now
//   report(text)      a message for the player
// Storage on the page is written at once, so every append is synchronous.

#include "program/browser_store.hpp"

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

namespace tg {

using namespace journal;

namespace {

// The page's answer: nothing when it did what was asked, else the error.
std::optional<Fault> Answered(int errorLength) {
    if (errorLength == 0) return std::nullopt;
    std::string error(static_cast<std::size_t>(errorLength) + 1, '\0');
    tender_journal_answer(error.data(), errorLength + 1);
    error.resize(static_cast<std::size_t>(errorLength));
    return Fault{Fault::Kind::Unwritable, error};
}

// The journal as the page's storage keeps it: appends are kept at once.
class StoredJournal : public JournalSink {
public:
    std::optional<Fault> Append(std::string_view bytes) override {
        return Answered(tender_journal_append(bytes.data(), static_cast<int>(bytes.size())));
    }
    std::optional<Fault> CutAt(std::size_t size) { return Answered(tender_journal_cut_at(static_cast<double>(size))); }
    // The page's storage is written out by the browser on its own; there
    // is nothing to wait for.
    std::optional<Fault> Sync() override { return std::nullopt; }
    void Finished() override { tender_journal_finished(); }
};

}  // namespace

BrowserStore::BrowserStore() : journal_(std::make_unique<StoredJournal>()) {}

BrowserStore::~BrowserStore() = default;

Result<JournalSink*> BrowserStore::Create(const Header& header) {
    if (std::optional<Fault> fault = journal_->Append(EncodeHeader(header))) return *fault;
    return journal_.get();
}

Result<std::string> BrowserStore::Read() {
    std::string bytes(static_cast<std::size_t>(tender_journal_chosen_size()), '\0');
    if (!bytes.empty()) tender_journal_copy_chosen(bytes.data());
    return bytes;
}

Result<JournalSink*> BrowserStore::Reopen(std::size_t size) {
    if (std::optional<Fault> fault = static_cast<StoredJournal&>(*journal_).CutAt(size)) return *fault;
    return journal_.get();
}

void ReportOnPage(const std::string& message) { tender_journal_report(message.c_str()); }

}  // namespace tg
