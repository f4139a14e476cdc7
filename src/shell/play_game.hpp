// One whole game, from the title banner to its end, on any platform.
#pragma once

#include <cstdint>

#include "console/game_events.hpp"
#include "console/platform.hpp"

namespace tg {

// Plays a game on the platform, its random generator started at `seed`,
// telling `events` (if any) where it rests and that it reached an ending.
// Returns how the game ended.
GameEnd PlayGame(Platform& platform, std::uint32_t seed, GameEvents* events = nullptr);

}  // namespace tg
