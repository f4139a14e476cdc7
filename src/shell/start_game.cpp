#include <string>
#include <vector>

#include "shell/game.hpp"

namespace tg {

namespace {

constexpr int BannerWidth = 21;

// The title banner: 23 columns, the inner text framed by a double line.
std::vector<std::string> BannerLines(const BoxCharacters& box) {
    std::string horizontal;
    for (int i = 0; i < BannerWidth; ++i) horizontal += box.horizontal;
    const std::string v(box.vertical);
    auto inner = [&v](const char* text) { return v + text + v; };
    return {
        std::string(box.topLeft) + horizontal + std::string(box.topRight),
        inner("                     "),
        inner("     Tender          "),
        inner("         Gamble!     "),
        inner("                     "),
        inner("                     "),
        inner("     Tad Harwick     "),
        inner("                     "),
        std::string(box.bottomLeft) + horizontal + std::string(box.bottomRight),
    };
}

constexpr const char* Introduction[] = {
    "Your old friends were picking on you last reunion about not",
    "having a longterm significant other. You have decided to",
    "prove them wrong by finding a partner before the next reunion,",
    "one month from now. You will need to find someone, get their",
    "number,get them to date you, get them to go steady, and finally",
    "to fall in love.\n\t\tGood luck!",
};

}  // namespace

void Game::StartGame() {
    console.ClearScreen();
    console.SetBackground(colour::Red);
    console.SetForeground(colour::BrightRed);
    for (const std::string& line : BannerLines(console.Box())) Line(line);
    console.SetBackground(colour::Black);
    console.SetForeground(colour::Grey);
    Line("Pick a Play Mode:");
    console.SetForeground(colour::BrightWhite);
    Line("\t1 - Trophy Mode");
    Line("\t0 - FreePlay Mode");
    console.SetForeground(colour::Grey);
    playMode = console.GetChoice(2, 0);
    console.ClearScreen();

    if (playMode == mode::FreePlay) {
        player.stat.fill(50);
        hourLimit = FreePlayHourLimit;
        HomeMenu();
    }
    if (playMode == mode::Trophy) {
        for (const char* text : Introduction) console.PrintHeading(text);
    }
    statPoints = 450;
    hourLimit = TrophyHourLimit;
    ShowCharacterCreation();
    SetupStats();
}

void Game::ShowCharacterCreation() {
    Line("Character Creation");
    Line("\tYou are a ...");
    console.SetForeground(colour::BrightWhite);
    Line("\t\t1 - Female");
    Line("\t\t2 - Male");
    console.SetForeground(colour::Grey);
    player.male = console.GetChoice(2, 1) == 2;
    Line("\n\tAnd you are seeking ...");
    console.SetForeground(colour::BrightWhite);
    Line("\t\t1 - Females");
    Line("\t\t2 - Males");
    console.SetForeground(colour::Grey);
    player.seeksMale = console.GetChoice(2, 1) == 2;
    Line("\n\tEnter your name 'First Last' (r for random)");
    ReadPlayerName();
}

void Game::ReadPlayerName() {
    player.firstName = console.ReadWord();
    if (player.firstName == "r" || player.firstName == "R") {
        player.firstName = player.male ? MaleFirstNames[random.Below(NameChoices)]
                                       : FemaleFirstNames[random.Below(NameChoices)];
        player.lastName = Surnames[random.Below(NameChoices)];
    } else {
        player.lastName = console.ReadWord();
    }
    console.DiscardLine();
}

}  // namespace tg
