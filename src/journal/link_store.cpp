// A link's game: its journal held in memory, written to the state folder
// only once it is gone on with and has been read without fault.
#include "journal/link_store.hpp"

#include <filesystem>

namespace tg::journal {

LinkStore::LinkStore(std::string journal, Environment environment, FileStore::SyncOnExit syncOnExit)
    : journal_(std::move(journal)), environment_(std::move(environment)), syncOnExit_(std::move(syncOnExit)) {}

Result<JournalSink*> LinkStore::Create(const Header&) {
    return Fault{Fault::Kind::Unwritable, "a link holds a game already"};
}

Result<std::string> LinkStore::Read() { return journal_; }

Result<JournalSink*> LinkStore::Reopen(std::size_t size) {
    const Contents contents = Parse(journal_);
    kept_ = FileStore::InStateFolder(environment_, syncOnExit_);
    Result<JournalSink*> sink = kept_->CreateHolding(contents.header, std::string_view(journal_).substr(0, size));
    keptPath_ = kept_->OpenPath();
    return sink;
}

void LinkStore::Withdraw() {
    kept_.reset();  // closes the file
    if (keptPath_.empty()) return;
    std::error_code ignored;
    std::filesystem::remove(keptPath_, ignored);
    keptPath_.clear();
}

}  // namespace tg::journal
