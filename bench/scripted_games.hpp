// Whole games played by a simple scripted player, kept as seeds and the
// keys typed, for the benchmarks and the terminal measurements.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tg::bench {

// One whole game, replayable: the seed for the game's generator and the keys
// a player typed, cut into the pieces that were typed at each wait (one key,
// an arrow key's escape sequence, or a name line).
struct GameScript {
    std::uint32_t seed = 0;
    std::vector<std::string> pieces;
    int keyCodes = 0;   // key bytes the game read, three for an arrow key
    int exitStatus = -1;

    std::string Keys() const;
};

// Plays a game from its first screen with a simple player that reads each
// screen and picks among the options shown (now and then a wrong key), until
// about `keyBudget` keys have gone by; then it heads home and ends the game
// through Satisfaction, Quit, or a bad key followed by Escape (in turn by
// seed: seed % 3 picks the way out).
GameScript PlayScriptedGame(std::uint32_t seed, int keyBudget);

// `count` games with seeds first, first + 1, ...
std::vector<GameScript> PlayScriptedGames(std::uint32_t firstSeed, int count, int keyBudget);

}  // namespace tg::bench
