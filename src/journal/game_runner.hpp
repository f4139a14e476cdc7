#pragma once

#include <cstdint>
#include <functional>

#include "console/platform.hpp"

namespace tg::journal {

// Plays a whole game from the seed on the given platform. It ends only
// through the platform's Exit (or an exception the platform throws).
using GameRunner = std::function<void(Platform&, std::uint32_t seed)>;

}  // namespace tg::journal
