#include "shell/play_game.hpp"

#include "console/console.hpp"
#include "shell/game.hpp"

namespace tg {

void PlayGame(Platform& platform, std::uint32_t seed) {
    Random random(seed);
    Console console(platform);
    Game game(console, random);
    game.StartGame();
}

}  // namespace tg
