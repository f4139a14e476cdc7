// The reunion ending: success if anyone in the book is past being in love.
#include <algorithm>

#include "shell/game.hpp"

namespace tg {

Play Game::Satisfaction() {
    console.ClearScreen();
    const bool success = std::any_of(contacts.begin(), contacts.begin() + contactCount,
                                     [](const Person& person) { return person.stage > stage::InLove; });
    if (success) {
        console.Write("\tCongratulations! You attend the reunion and everyone is shocked!");
        console.Write("\tWhat wil come next year? CEO position? Nobel Prize? Gold Medal?");
        console.Write("\tWho knows...\n\tBut wherever you go, your lucky partner will be by your side.");
    } else {
        console.Write("\tShame, shame!!! What a loser art thou...\n\tThis is not a difficult game, once you understand it.");
        console.Write("\tGo back and try it on FreePlay Mode!");
    }
    console.Ending(success);
    (void)console.GetChoice(0, 0);
    return Play::Over;
}

}  // namespace tg
