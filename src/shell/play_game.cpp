// One whole game: the random generator, the console and the game state,
// played from the opening until the game is over.
#include "shell/play_game.hpp"

#include "console/console.hpp"
#include "shell/game.hpp"

namespace tg {

GameEnd PlayGame(Platform& platform, std::uint32_t seed, GameEvents* events, InputJournal* journal,
                 const std::function<void(const Game&)>& watch) {
    Random random(seed);
    Console console(platform, events, journal);
    Game game(console, random);
    if (watch) watch(game);
    (void)game.StartGame();
    console.GameOver();
    return console.End();
}

}  // namespace tg
