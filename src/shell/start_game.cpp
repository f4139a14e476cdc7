// The opening: the title banner, the play mode, and in Trophy Mode the
// introduction and character creation.
#include <string>
#include <vector>

#include "shell/game.hpp"

namespace tg {

namespace {

constexpr int BannerWidth = 21;

// The title banner: 23 columns, the inner text framed by a double line
// (which a terminal that cannot show it turns into one it can).
std::vector<std::string> BannerLines() {
    std::string horizontal;
    for (int i = 0; i < BannerWidth; ++i) horizontal += "\u2550";
    auto inner = [](const char* text) { return std::string("\u2551") + text + "\u2551"; };
    return {
        "\u2554" + horizontal + "\u2557",
        inner("                     "),
        inner("     Tender          "),
        inner("         Gamble!     "),
        inner("                     "),
        inner("                     "),
        inner("     Tad Harwick     "),
        inner("                     "),
        "\u255a" + horizontal + "\u255d",
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

Play Game::StartGame() {
    console.ClearScreen();
    console.SetBackground(colour::Red);
    console.SetForeground(colour::BrightRed);
    for (const std::string& line : BannerLines()) Line(line);
    console.SetBackground(colour::Black);
    console.SetForeground(colour::Grey);
    Line("Pick a Play Mode:");
    console.SetForeground(colour::BrightWhite);
    Line("\t1 - Trophy Mode");
    Line("\t0 - FreePlay Mode");
    console.SetForeground(colour::Grey);
    const std::optional<int> chosenMode = console.GetChoice(2, 0);
    if (!chosenMode) return Play::Over;
    playMode = *chosenMode;
    console.ClearScreen();

    if (playMode == mode::FreePlay) {
        player.stat.fill(50);
        hourLimit = FreePlayHourLimit;
        return HomeMenu();
    }
    if (playMode == mode::Trophy) {
        for (const char* text : Introduction) console.PrintHeading(text);
    }
    statPoints = 450;
    hourLimit = TrophyHourLimit;
    if (ShowCharacterCreation() == Play::Over) return Play::Over;
    return SetupStats();
}

Play Game::ShowCharacterCreation() {
    Line("Character Creation");
    Line("\tYou are a ...");
    console.SetForeground(colour::BrightWhite);
    Line("\t\t1 - Female");
    Line("\t\t2 - Male");
    console.SetForeground(colour::Grey);
    const std::optional<int> gender = console.GetChoice(2, 1);
    if (!gender) return Play::Over;
    player.male = *gender == 2;
    Line("\n\tAnd you are seeking ...");
    console.SetForeground(colour::BrightWhite);
    Line("\t\t1 - Females");
    Line("\t\t2 - Males");
    console.SetForeground(colour::Grey);
    const std::optional<int> sought = console.GetChoice(2, 1);
    if (!sought) return Play::Over;
    player.seeksMale = *sought == 2;
    Line("\n\tEnter your name 'First Last' (r for random)");
    return ReadPlayerName();
}

Play Game::ReadPlayerName() {
    std::optional<std::string> first = console.ReadWord();
    if (!first) return Play::Over;
    player.firstName = std::move(*first);
    if (player.firstName == "r" || player.firstName == "R") {
        player.firstName = player.male ? MaleFirstNames[random.Below(NameChoices)]
                                       : FemaleFirstNames[random.Below(NameChoices)];
        player.lastName = Surnames[random.Below(NameChoices)];
    } else {
        std::optional<std::string> last = console.ReadWord();
        if (!last) return Play::Over;
        player.lastName = std::move(*last);
    }
    console.DiscardLine();
    return Play::On;
}

}  // namespace tg
