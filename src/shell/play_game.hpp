// One whole game, from the title banner to its end, on any platform.
#pragma once

#include <cstdint>
#include <functional>

#include "console/game_events.hpp"
#include "console/input_journal.hpp"
#include "console/platform.hpp"

namespace tg {

class Game;

// Plays a game on the platform, its random generator started at `seed`,
// its inputs met by `journal` (if any: a recording or a replay), telling
// `events` (if any) where it rests and that it reached an ending; `watch`
// (if any) is shown the game state once, before the first screen, for tools
// that check it while the game plays. Returns how the game ended.
GameEnd PlayGame(Platform& platform, std::uint32_t seed, GameEvents* events = nullptr,
                 InputJournal* journal = nullptr, const std::function<void(const Game&)>& watch = {});

}  // namespace tg
