// Seeds and key scripts that lead a game to a chosen screen.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tg::e2e {

// How the scripted player treats the people it meets.
enum class Attitude {
    Charming,  // the best answers it can see, stepping up when sure
    Rude,      // the worst answers, and back to whoever sent it away
};

// Where a script should lead: the first screen that shows `stopAt`.
struct Goal {
    std::string stopAt;
    Attitude attitude = Attitude::Charming;
    char place = '4';       // the place it goes looking at
    int lastHour = 1 << 30; // the game hour the script must stay below
};

// A seed and the keys that, typed into a game started with that seed,
// lead to the goal's screen. The keys stop where that screen waits for
// its key.
struct Script {
    std::uint32_t seed = 0;
    std::string keys;
    int hour = 0;  // the game's hour at the end of the script
};

// Plays FreePlay games in process, seed after seed, with a scripted player
// that sees the screens and the book, until one reaches the goal. The game
// logic is the same code as in the binary, so the keys replay there.
std::optional<Script> FindScript(const Goal& goal, std::uint32_t firstSeed = 1, int seeds = 500);

// A script to the success ending that sleeps no night but the first one.
std::optional<Script> FindSuccessScript();

}  // namespace tg::e2e
