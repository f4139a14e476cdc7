// The game state at construction: the player's random name and the book's
// placeholders.
#include "shell/game.hpp"

namespace tg {

Game::Game(Console& console_, Random& random_) : console(console_), random(random_) {
    player.firstName = MaleFirstNames[random.Below(NameChoices)];
    player.lastName = Surnames[random.Below(NameChoices)];
    for (Person& slot : contacts) slot = Person::Placeholder(random);
}

}  // namespace tg
