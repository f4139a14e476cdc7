#pragma once

#include <cstdint>
#include <string>

#include "console/platform.hpp"
#include "journal/game_runner.hpp"
#include "journal/page_journal.hpp"

namespace tg::journal {

// The ways a game on a web page starts, each ending through the
// terminal's Exit. What cannot be done is reported to the page, and the
// game ends with status 1.

// A new game, its journal kept by the page; a journal the page cannot
// keep leaves the game unrecorded.
[[noreturn]] void PlayNewPageGame(const GameRunner& run, Platform& terminal, std::uint32_t seed,
                                  const std::string& gameVersion, PageJournal& journal);

// Goes on with the page's stored game, as --continue does with a file.
[[noreturn]] void ContinuePageGame(const GameRunner& run, Platform& terminal, PageJournal& journal);

// Plays a journal file opened on the page (named `name`) back at `speed`
// times its pace, as --replay does.
[[noreturn]] void ReplayOnPage(const GameRunner& run, Platform& terminal, PageJournal& journal,
                               const std::string& name, double speed);

}  // namespace tg::journal
