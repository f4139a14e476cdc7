#pragma once

#include <cstddef>
#include <string>

#include "journal/journal_sink.hpp"

namespace tg::journal {

// The journal of the game on a web page, as the page keeps it in its
// storage: the game appends to it as to a file, and the page says what is
// wrong with a journal where the player sees it.
class PageJournal : public JournalSink {
public:
    // The bytes of the journal the page chose: its stored game to go on
    // with, or a journal file opened to be replayed.
    virtual std::string Chosen() = 0;
    // Keeps only the first `size` bytes of the stored journal, before the
    // game goes on appending to it.
    virtual bool CutAt(std::size_t size) = 0;
    // Tells the player why a journal cannot be played.
    virtual void Report(const std::string& message) = 0;
};

}  // namespace tg::journal
