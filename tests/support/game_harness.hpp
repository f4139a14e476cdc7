// A whole game wired to a scripted terminal, for tests that play one routine
// of it at a time, and small helpers those tests share.
#pragma once

#include <functional>
#include <string>

#include "console/console.hpp"
#include "people/random.hpp"
#include "shell/game.hpp"
#include "support/scripted_terminal.hpp"

namespace tg::testing {

// A whole game wired to a scripted terminal: keys in, screens recorded.
struct GameHarness {
    // What RunToEnd gives for a routine after which play went on.
    static constexpr int PlayWentOn = -1000;

    explicit GameHarness(std::uint32_t seed = 1, std::string keys = {})
        : random(seed), terminal(std::move(keys)), console(terminal), game(console, random) {}

    // Runs a routine that should end the game (the opening with the home
    // menu, the home menu, an ending); the exit status, or PlayWentOn when
    // the routine handed play back instead.
    int RunToEnd(const std::function<Play(Game&)>& routine) {
        if (routine(game) == Play::On) return PlayWentOn;
        return console.End().status;
    }

    // Runs a routine that hands play back (training, going out, an
    // encounter); false when the game ended in it, as it does when the keys
    // run out.
    bool Run(const std::function<Play(Game&)>& routine) { return routine(game) == Play::On; }

    int Start() {
        return RunToEnd([](Game& g) { return g.StartGame(); });
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
