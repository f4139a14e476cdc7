// The size of the window a POSIX terminal shows, against the size the
// game's screens are made for.
#pragma once

#include <optional>
#include <string>

namespace tg {

// The game's screens are made for a window this big.
inline constexpr int FullScreenColumns = 80;
inline constexpr int FullScreenRows = 25;

struct WindowSize {
    int columns = 0;
    int rows = 0;
};

// The window's size as the terminal on `fd` tells it; none when it does
// not say (not a terminal, or one that reports no size).
std::optional<WindowSize> ReadWindowSize(int fd);

// Whether the window can show the game's screens: a terminal that does not
// say its size counts as big enough.
bool FitsTheGame(const std::optional<WindowSize>& size);

// The one line shown instead of the game while the window is too small.
std::string TooSmallNotice();

}  // namespace tg
