#pragma once

#include <functional>
#include <string>

#include "console/platform.hpp"
#include "journal/game_runner.hpp"
#include "journal/journal_format.hpp"
#include "journal/journal_sink.hpp"

namespace tg::journal {

// What to do with a journal that cannot be gone on with, told why; it must
// not come back.
using Refusal = std::function<void(const std::string& why)>;

// Goes on with the journal's game on the terminal: replays its inputs
// without showing them, shows the last screen and plays on there,
// appending to `journal`, which holds the journal's whole records and
// nothing after them. A last input that ended the game (a Quit, or an
// Escape after a bad key) is taken back: the game starts again and goes
// on from just before it. A game that does not replay as recorded is
// refused, with nothing appended. No exception is thrown or caught on the
// way, so the WebAssembly build needs no exception support.
[[noreturn]] void ContinueJournal(const GameRunner& run, Platform& terminal, const Contents& contents,
                                  JournalSink& journal, const Refusal& refuse);

}  // namespace tg::journal
