#include <algorithm>

#include "shell/game.hpp"

namespace tg {

void Game::Satisfaction() {
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
    console.GameOver();
    console.GetChoice(0, 0);
    console.EndProgram(0);
}

}  // namespace tg
