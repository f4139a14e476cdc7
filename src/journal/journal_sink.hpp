// Where a journal's records go while a game is played.
#pragma once

#include <string>
#include <string_view>

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

}  // namespace tg::journal
