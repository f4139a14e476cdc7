#pragma once

#include <string>

#include "journal/game_sessions.hpp"
#include "journal/journal_format.hpp"
#include "journal/recorded_inputs.hpp"

namespace tg::journal {

// The replay speeds offered, as multiples of the recorded pace.
inline constexpr double SlowestSpeed = 1.0 / 64;
inline constexpr double FastestSpeed = 1024;

// Idle gaps between inputs longer than this are cut to it before scaling.
inline constexpr std::uint32_t LongestGapMilliseconds = 2000;

// Plays a journal back on the terminal at `speed` times the recorded pace.
// Space pauses and resumes, + and - double and halve the speed, q or
// Escape ends it. Returns an exit status.
int Replay(const GameRunner& run, const TerminalOpener& open, const std::string& file, double speed);

// Plays a journal already read back on the terminal, as Replay does, and
// ends through the terminal's Exit. When the game does not replay as
// recorded it calls `diverged`, which must not come back, or without one
// throws Diverged.
[[noreturn]] void PlayBack(const GameRunner& run, Platform& terminal, const Contents& contents, double speed,
                           const std::function<void(const Diverged&)>& diverged = {});

// Writes the replay of a journal as an asciicast (version 2) recording.
int WriteCast(const GameRunner& run, const std::string& file, const std::string& castFile, double speed);

}  // namespace tg::journal
