// A link's game: its journal held in memory, written to the state folder
// only once it is gone on with and has been read without fault.
#include "journal/link_store.hpp"

#include <filesystem>

namespace tg::journal {

LinkStore::LinkStore(std::string journal, Environment environment, FileStore::SyncOnExit syncOnExit)
    : journal_(std::move(journal)), environment_(std::move(environment)), syncOnExit_(std::move(syncOnExit)) {}

JournalSink* LinkStore::Create(const Header&, std::string& error) {
    error = "a link holds a game already";
    return nullptr;
}

std::optional<std::string> LinkStore::Read(std::string&) { return journal_; }

JournalSink* LinkStore::Reopen(std::size_t size, std::string& error) {
    const Contents contents = Parse(journal_);
    kept_ = FileStore::InStateFolder(environment_, syncOnExit_);
    JournalSink* sink = kept_->CreateHolding(contents.header, std::string_view(journal_).substr(0, size), error);
    if (sink != nullptr) keptPath_ = sink->Path();
    return sink;
}

void LinkStore::Withdraw() {
    kept_.reset();  // closes the file
    if (keptPath_.empty()) return;
    std::error_code ignored;
    std::filesystem::remove(keptPath_, ignored);
    keptPath_.clear();
}

std::string LinkStore::Say(Problem problem, const std::string& detail) const {
    switch (problem) {
        case Problem::CannotContinue: return "cannot continue the game in the link: " + detail;
        case Problem::GameIsOver: return "the game in the link is over; watch it again with --replay and the link";
        case Problem::CannotReplay: return "cannot replay the game in the link: " + detail;
    }
    return detail;
}

}  // namespace tg::journal
