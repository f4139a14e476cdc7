// The game on a web page (the WebAssembly build). The page starts one
// instance of this program per game, with `--seed N` when its address asks
// for a seed; the time seeds every other game, as on a terminal.

#include <ctime>
#include <memory>

#include "console/system_terminal.hpp"
#include "shell/entry_point.hpp"
#include "shell/play_game.hpp"

int main(int argc, char** argv) {
    const tg::Options options = tg::ParseOptions(std::vector<std::string>(argv + 1, argv + argc));
    const std::uint32_t seed = options.seed ? *options.seed : static_cast<std::uint32_t>(std::time(nullptr));
    const std::unique_ptr<tg::Platform> terminal = tg::OpenSystemTerminal();
    tg::PlayGame(*terminal, seed);
}
