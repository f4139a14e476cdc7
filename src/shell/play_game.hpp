#pragma once

#include <cstdint>

#include "console/platform.hpp"

namespace tg {

// One whole game on the given platform, its random generator started at
// `seed`. The platform may be a terminal or anything that wraps one.
// Never returns: the game ends through the platform's Exit.
[[noreturn]] void PlayGame(Platform& platform, std::uint32_t seed);

}  // namespace tg
