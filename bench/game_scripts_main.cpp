// Prints whole scripted games for the terminal measurements: one game a
// line, the seed, a tab, then each typed piece in hexadecimal, separated by
// spaces. Usage: tender-bench-scripts COUNT KEY_BUDGET [FIRST_SEED]
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "scripted_games.hpp"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s COUNT KEY_BUDGET [FIRST_SEED]\n", argv[0]);
        return 2;
    }
    const int count = std::atoi(argv[1]);
    const int budget = std::atoi(argv[2]);
    const auto firstSeed = static_cast<std::uint32_t>(argc > 3 ? std::strtoul(argv[3], nullptr, 10) : 1);
    try {
        for (const tg::bench::GameScript& script : tg::bench::PlayScriptedGames(firstSeed, count, budget)) {
            std::printf("%u\t", script.seed);
            for (std::size_t k = 0; k < script.pieces.size(); ++k) {
                if (k > 0) std::putchar(' ');
                for (unsigned char c : script.pieces[k]) std::printf("%02x", c);
            }
            std::putchar('\n');
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
