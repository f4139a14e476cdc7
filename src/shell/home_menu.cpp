// The home menu, the loop the game rests in between scenes, and calls and
// dates with the people in the book.
#include "shell/game.hpp"

namespace tg {

namespace {
constexpr int QuitChoice = 0;
}  // namespace

Play Game::HomeMenu() {
    AdvanceClock(0, 1);
    for (;;) {
        ShowClock();
        console.Write("\tWhat would you like to do?\n");
        console.SetForeground(colour::BrightWhite);
        console.Write("\t\t1 - Self-Improvement/Review\n");
        console.Write("\t\t2 - Go Looking...\n");
        console.Write("\t\t3 - Call Someone\n");
        console.Write("\t\t4 - Go on a Date\n");
        console.Write("\t\t5 - Satisfaction\n");
        console.Write("\t\t0 - Quit\n");
        console.SetForeground(colour::Grey);
        console.AtRest(Summary(), QuitChoice);
        Play play = Play::Over;
        switch (console.GetChoice(5, 0).value_or(0)) {
            case 1: play = Training(); break;
            case 2: play = GoLooking(); break;
            case 3:
                play = Book(stage::NumberGiven,
                            "\tYou spend several hours calling the old numbers in your book, no luck.\n",
                            "\tGo get some new ones!!!\n", "\t\t0 - To the Hunt!.\n");
                break;
            case 4:
                play = Book(stage::Dating, "\tYou spend several hours waiting for someone to show up... Nada.\n",
                            "\tYou need to call for a date!\n", "\t\t0 - To the Telephone!.\n");
                break;
            case 5: return Satisfaction();
            default: return Play::Over;  // QuitChoice, or the game ended at the menu
        }
        if (play == Play::Over) return play;
    }
}

// Calls and dates: the book's people at the listed stage, though any slot
// number in use starts a meeting.
Play Game::Book(int listedStage, const std::string& emptyFirst, const std::string& emptySecond,
                const std::string& emptyPause) {
    if (contactCount == 0) {
        AdvanceClock(3, 0);
        console.Write(emptyFirst);
        console.Write(emptySecond);
        console.SetForeground(colour::BrightWhite);
        console.Write(emptyPause);
        return console.GetChoice(0, 0) ? Play::On : Play::Over;
    }
    for (int k = 1; k <= contactCount; ++k) {
        if (contacts[k - 1].stage == listedStage) {
            Line("\t\t" + std::to_string(k) + " - " + contacts[k - 1].knownAs);
        }
    }
    console.Write("\t\t0 - Forget Calling...\n");
    const std::optional<int> choice = console.GetChoice(contactCount, 0);
    if (!choice) return Play::Over;
    if (*choice == 0) return Play::On;
    return Encounter(contacts[*choice - 1], true);
}

}  // namespace tg
