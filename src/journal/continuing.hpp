#pragma once

#include <cstddef>

#include "console/platform.hpp"
#include "journal/game_runner.hpp"
#include "journal/journal_format.hpp"
#include "journal/journal_sink.hpp"

namespace tg::journal {

// Where a journal's game goes on from: after how many of its inputs, and
// whether its last input, one that ended the game (a Quit, or an Escape
// after a bad key), is taken back.
struct ContinuePoint {
    std::size_t inputs = 0;
    bool takeBack = false;
};

// Replays the journal through games nobody sees to find where it goes on.
// Throws Diverged when the game does not replay as recorded.
ContinuePoint FindContinuePoint(const GameRunner& run, const Contents& contents);

// Replays the journal up to the point without showing it, shows the last
// screen on the terminal and plays on there, appending to `journal`,
// which holds the journal's whole records and nothing after them.
[[noreturn]] void GoOnFrom(const GameRunner& run, Platform& terminal, const Contents& contents,
                           const ContinuePoint& point, JournalSink& journal);

}  // namespace tg::journal
