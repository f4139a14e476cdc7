// Reads the terminal's window size and says how big it must be.
#include "terminal/posix_window_size.hpp"

#include <sys/ioctl.h>

namespace tg {

std::optional<WindowSize> ReadWindowSize(int fd) {
    winsize size{};
    if (ioctl(fd, TIOCGWINSZ, &size) != 0 || size.ws_col == 0 || size.ws_row == 0) return std::nullopt;
    return WindowSize{size.ws_col, size.ws_row};
}

bool FitsTheGame(const std::optional<WindowSize>& size) {
    return !size || (size->columns >= FullScreenColumns && size->rows >= FullScreenRows);
}

std::string TooSmallNotice() {
    return "Please make the window at least " + std::to_string(FullScreenColumns) + "x" +
           std::to_string(FullScreenRows) + ".";
}

}  // namespace tg
