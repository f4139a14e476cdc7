// A stretch of a recorded game, counted in inputs, for a cast of one scene.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "journal/fault.hpp"

namespace tg::journal {

// From the screen after the first `from` inputs (drawn at once) to the
// screen after input `to` (nothing: to the end of the game).
struct Stretch {
    std::size_t from = 0;
    std::optional<std::size_t> to;
};

// Why a stretch that starts after the game's last input is refused.
inline Fault StretchBeyondTheGame(std::size_t inputs) {
    return Fault{Fault::Kind::NotFound, "the stretch starts after the game's last input: the game has only " +
                                            std::to_string(inputs) + " inputs"};
}

}  // namespace tg::journal
