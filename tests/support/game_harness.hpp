#pragma once

#include <functional>
#include <string>

#include "console/console.hpp"
#include "terminal/scripted_terminal.hpp"
#include "shell/game.hpp"
#include "people/random.hpp"

namespace tg::testing {

// A whole game wired to a scripted terminal: keys in, screens recorded.
struct GameHarness {
    explicit GameHarness(std::uint32_t seed = 1, std::string keys = {})
        : random(seed), terminal(std::move(keys)), console(terminal), game(console, random) {}

    // Runs a routine that can only end the program; returns the exit status.
    int RunToEnd(const std::function<void(Game&)>& routine) {
        try {
            routine(game);
        } catch (const ProgramEnded& ended) {
            return ended.status;
        }
        return -1000;  // the routine returned, which the game never does
    }

    // Runs a routine that returns (training, going out, an encounter). If
    // the keys run out first the program ends, and this reports false.
    bool Run(const std::function<void(Game&)>& routine) {
        try {
            routine(game);
            return true;
        } catch (const ProgramEnded&) {
            return false;
        }
    }

    int Start() {
        return RunToEnd([](Game& g) { g.StartGame(); });
    }

    Random random;
    ScriptedTerminal terminal;
    Console console;
    Game game;
};

// The first seed from `from` on whose draws `wanted` holds.
inline std::uint32_t SeedWhere(const std::function<bool(Random&)>& wanted, std::uint32_t from = 1) {
    for (std::uint32_t seed = from;; ++seed) {
        Random probe(seed);
        if (wanted(probe)) return seed;
    }
}

// Counts the places `needle` stands in `haystack`.
inline int Count(const std::string& haystack, const std::string& needle) {
    int count = 0;
    for (std::size_t at = haystack.find(needle); at != std::string::npos; at = haystack.find(needle, at + 1)) ++count;
    return count;
}

}  // namespace tg::testing
