// The built game in a pseudo-terminal, its screens as an xterm renders
// them: the text at its place and every cell's colours.

#include <gtest/gtest.h>

#include <regex>

#include "pty_game.hpp"
#include "screen_checks.hpp"
#include "script_finder.hpp"

namespace tg::e2e {
namespace {

using namespace ansi;

constexpr int Tab = 8;  // the game indents with tabs; a terminal stops every 8 columns

// The clock line at the top of the screen: the text in bright red on a red
// band that covers the text and nothing more.
void ExpectClockLine(const PtyGame& game, const std::string& clock) {
    EXPECT_EQ(game.Row(0), clock);
    EXPECT_TRUE(Shows(game, clock, 0, BrightRed, Red));
    EXPECT_TRUE(BackgroundIs(game, 0, CellCount(clock), 80, Black));
}

TEST(Screens, BannerAndPlayModeMenuThenEscapeAfterABadKey) {
    PtyGame game({"--seed", "7"});
    ASSERT_TRUE(game.WaitForText("0 - FreePlay Mode")) << game.ScreenText();

    const std::string rule = "═════════════════════";
    const std::vector<std::string> banner = {
        "╔" + rule + "╗",
        "║                     ║",
        "║     Tender          ║",
        "║         Gamble!     ║",
        "║                     ║",
        "║                     ║",
        "║     Tad Harwick     ║",
        "║                     ║",
        "╚" + rule + "╝",
    };
    for (int row = 0; row < 9; ++row) {
        EXPECT_EQ(game.Row(row), banner[static_cast<std::size_t>(row)]) << "banner row " << row;
        EXPECT_TRUE(Shows(game, banner[static_cast<std::size_t>(row)], 0, BrightRed, Red));
        // The red band covers the banner only.
        EXPECT_TRUE(BackgroundIs(game, row, 23, 80, Black));
    }
    EXPECT_EQ(game.Row(9), "Pick a Play Mode:");
    EXPECT_TRUE(Shows(game, "Pick a Play Mode:", 0, Grey, Black));
    EXPECT_TRUE(Shows(game, "1 - Trophy Mode", Tab, BrightWhite, Black));
    EXPECT_TRUE(Shows(game, "0 - FreePlay Mode", Tab, BrightWhite, Black));
    EXPECT_EQ(game.Row(12), "");
    // Keys are read one at a time without echo from the terminal.
    const termios modes = game.Modes();
    EXPECT_EQ(modes.c_lflag & (ICANON | ECHO), 0u) << DescribeModes(modes);

    game.Type("x");
    ASSERT_TRUE(game.WaitForText("Bad Input (0-2):72")) << game.ScreenText();
    EXPECT_EQ(game.Row(12), "x");  // the key's own echo, where the cursor was
    EXPECT_TRUE(Shows(game, "x", 0, Grey, Black));
    EXPECT_EQ(game.Row(13), "Bad Input (0-2):72");
    EXPECT_TRUE(Shows(game, "Bad Input (0-2):72", 0, Grey, Black));

    game.Type("\x1b");
    EXPECT_TRUE(ExitedWith(game.WaitForExit(), 0));
    ExpectTerminalRestored(game);
}

TEST(Screens, TrophyOpeningStatsFirstHomeMenuAndFailureEnding) {
    PtyGame game({"--seed", "11"});
    ASSERT_TRUE(game.WaitForText("0 - FreePlay Mode")) << game.ScreenText();
    game.Type("1");
    ASSERT_TRUE(game.WaitForText("2 - Male")) << game.ScreenText();

    // The introduction: headings two tabs in, bright red on black.
    const std::vector<std::string> introduction = {
        "Your old friends were picking on you last reunion about not",
        "having a longterm significant other. You have decided to",
        "prove them wrong by finding a partner before the next reunion,",
        "one month from now. You will need to find someone, get their",
        "number,get them to date you, get them to go steady, and finally",
        "to fall in love.",
        "Good luck!",
    };
    for (std::size_t k = 0; k < introduction.size(); ++k) {
        int row = -1;
        EXPECT_TRUE(Shows(game, introduction[k], 2 * Tab, BrightRed, Black, &row));
        EXPECT_EQ(row, static_cast<int>(k)) << introduction[k];
    }
    EXPECT_EQ(game.Row(7), "Character Creation");
    EXPECT_TRUE(Shows(game, "Character Creation", 0, Grey, Black));
    EXPECT_TRUE(Shows(game, "You are a ...", Tab, Grey, Black));
    EXPECT_TRUE(Shows(game, "1 - Female", 2 * Tab, BrightWhite, Black));
    EXPECT_TRUE(Shows(game, "2 - Male", 2 * Tab, BrightWhite, Black));

    game.Type("2");
    ASSERT_TRUE(game.WaitForText("2 - Males")) << game.ScreenText();
    EXPECT_EQ(game.Row(11), "2");
    EXPECT_TRUE(Shows(game, "And you are seeking ...", Tab, Grey, Black));
    EXPECT_TRUE(Shows(game, "1 - Females", 2 * Tab, BrightWhite, Black));

    game.Type("1");
    ASSERT_TRUE(game.WaitForText("Enter your name 'First Last' (r for random)")) << game.ScreenText();
    EXPECT_TRUE(Shows(game, "Enter your name 'First Last' (r for random)", Tab, Grey, Black));
    // The game edits and echoes the name's line itself: the terminal stays
    // in single-key mode, Ctrl-C and Ctrl-Z keeping their signals.
    game.Type("Am\x7fnn Lee");
    ASSERT_TRUE(game.WaitForText("Ann Lee")) << game.ScreenText();
    const termios modes = game.Modes();
    EXPECT_EQ(modes.c_lflag & (ICANON | ECHO | ISIG), tcflag_t(ISIG)) << DescribeModes(modes);
    game.Type("\r");
    ASSERT_TRUE(game.WaitForText("Stat Points Left: 450")) << game.ScreenText();
    EXPECT_EQ(game.Row(0), "Character Creation");
    EXPECT_TRUE(Shows(game, "Stat Points Left: 450", Tab, Grey, Black));
    EXPECT_TRUE(Shows(game, "What would you like to do?", Tab, Grey, Black));
    EXPECT_TRUE(Shows(game, "1 - Increase Stat (+10)", 2 * Tab, BrightWhite, Black));
    EXPECT_TRUE(Shows(game, "2 - Decrease Stat (-10)", 2 * Tab, BrightWhite, Black));
    EXPECT_TRUE(Shows(game, "0 - Accept Character", 2 * Tab, BrightWhite, Black));

    game.Type("1");
    ASSERT_TRUE(game.WaitForText("9 - Increase power")) << game.ScreenText();
    EXPECT_EQ(game.Row(2), "                1 - Increase beauty     (0)");
    EXPECT_TRUE(Shows(game, "1 - Increase beauty", 2 * Tab, BrightWhite, Black));
    game.Type("1");
    ASSERT_TRUE(game.WaitForText("Stat Points Left: 440")) << game.ScreenText();
    EXPECT_EQ(game.Row(2), "                1 - Increase beauty     (10)");
    game.Type("0");
    ASSERT_TRUE(game.WaitForText("0 - Accept Character")) << game.ScreenText();
    game.Type("0");
    ASSERT_TRUE(game.WaitForText("2 - No")) << game.ScreenText();
    EXPECT_TRUE(Shows(game, "You still have stat points left, Done?", Tab, Grey, Black));
    EXPECT_TRUE(Shows(game, "1 - Yes", 2 * Tab, BrightWhite, Black));

    // Night: the first screen of the game sleeps until eight, one frame an hour.
    game.Type("1");
    ASSERT_TRUE(game.WaitForText("Sleeping...")) << game.ScreenText();
    const std::string frameClock = game.Row(0);
    EXPECT_TRUE(std::regex_match(frameClock, std::regex("Monday [2-8]:10am \\(Day 1/31\\)"))) << frameClock;
    ExpectClockLine(game, frameClock);
    EXPECT_TRUE(Shows(game, "Sleeping...", Tab, Grey, Black));

    ASSERT_TRUE(game.WaitForText("0 - Quit")) << game.ScreenText();
    ExpectClockLine(game, "Monday 8:10am (Day 1/31)");
    EXPECT_TRUE(Shows(game, "What would you like to do?", Tab, Grey, Black));
    for (const char* option : {"1 - Self-Improvement/Review", "2 - Go Looking...", "3 - Call Someone",
                               "4 - Go on a Date", "5 - Satisfaction", "0 - Quit"}) {
        EXPECT_TRUE(Shows(game, option, 2 * Tab, BrightWhite, Black));
    }

    // The reunion with an empty book.
    game.Type("5");
    ASSERT_TRUE(game.WaitForText("Shame, shame!!!")) << game.ScreenText();
    EXPECT_EQ(game.Row(0), "        Shame, shame!!! What a loser art thou...");
    EXPECT_TRUE(Shows(game, "Shame, shame!!! What a loser art thou...", Tab, Grey, Black));
    EXPECT_TRUE(Shows(game, "This is not a difficult game, once you understand it.", Tab, Grey, Black));
    // The second text follows at the next tab stop and wraps at the edge.
    EXPECT_EQ(game.Row(1), "        This is not a difficult game, once you understand it.   Go back and try");
    EXPECT_EQ(game.Row(2), "it on FreePlay Mode!");
    game.Type("1");
    ASSERT_TRUE(game.WaitForText("Bad Input (0-0):1")) << game.ScreenText();
    EXPECT_TRUE(Shows(game, "Bad Input (0-0):1", 0, Grey, Black));
    game.Type("0");
    EXPECT_TRUE(ExitedWith(game.WaitForExit(), 0));
    ExpectTerminalRestored(game);
}

TEST(Screens, GoingOutAndAnEncounterTurn) {
    PtyGame game({"--seed", "7"});
    ASSERT_TRUE(game.WaitForText("0 - FreePlay Mode")) << game.ScreenText();
    game.Type("0");
    ASSERT_TRUE(game.WaitForText("0 - Quit")) << game.ScreenText();
    ExpectClockLine(game, "Monday 8:10am (Day 1/416666)");

    game.Type("2");
    ASSERT_TRUE(game.WaitForText("0 - Back Home")) << game.ScreenText();
    ExpectClockLine(game, "Monday 8:20am (Day 1/416666)");
    EXPECT_TRUE(Shows(game, "Where would you like to go?", Tab, Grey, Black));
    for (const char* place : {"1 - X/S Nightclub", "2 - University of Michigan", "3 - Skytech Offices",
                              "4 - Marmy's Pub", "5 - St. John's Church", "6 - Blue Martini Club", "0 - Back Home"}) {
        EXPECT_TRUE(Shows(game, place, 2 * Tab, BrightWhite, Black));
    }

    game.Type("1");
    ASSERT_TRUE(game.WaitForText("0 - Return Home")) << game.ScreenText();
    EXPECT_TRUE(Shows(game, "Who would you like to approach?", Tab, Grey, Black));
    int people = 0;
    for (int row = 2; row < 25; ++row) {
        const std::string text = game.Row(row);
        if (text == "                0 - Return Home") break;
        EXPECT_TRUE(std::regex_match(text, std::regex(" {16}" + std::to_string(row - 1) + " - An? .*"))) << text;
        EXPECT_EQ(game.Foreground(row, 16), BrightWhite);
        ++people;
    }
    EXPECT_GE(people, 4);

    game.Type("1");
    ASSERT_TRUE(game.WaitForText("You introduce yourself.")) << game.ScreenText();
    ASSERT_TRUE(game.WaitForText("Do you...")) << game.ScreenText();
    int row = -1;
    EXPECT_TRUE(Shows(game, "You introduce yourself.", Tab, Grey, Black, &row));
    // What the person says: a heading in bright red on black.
    const std::string said = game.Row(row + 1);
    EXPECT_TRUE(std::regex_match(said, std::regex(" {16}I'm [A-Z][a-z]+, what do you want\\?"))) << said;
    EXPECT_TRUE(Shows(game, said.substr(16), 2 * Tab, BrightRed, Black));
    EXPECT_TRUE(Shows(game, "1 - Respond Very Affirmatively", 2 * Tab, BrightWhite, Black));
    EXPECT_TRUE(Shows(game, "0 - Excuse yourself from the conversation", 2 * Tab, BrightWhite, Black));

    // A bad key first, then an answer: the reaction is another heading,
    // with the change of interest shown in FreePlay.
    game.Type("9");
    ASSERT_TRUE(game.WaitForText("Bad Input (0-5):9")) << game.ScreenText();
    EXPECT_TRUE(Shows(game, "Bad Input (0-5):9", 0, Grey, Black));
    game.Type("3");
    ASSERT_TRUE(game.WaitForOutput(")\r\n", game.Output().rfind("Bad Input"))) << game.ScreenText();
    const std::optional<ScreenPosition> badInput = game.Find("Bad Input (0-5):9");
    ASSERT_TRUE(badInput);
    // The accepted key's echo stays, and the heading follows it two tabs in.
    const std::string reaction = game.Row(badInput->row + 1);
    EXPECT_TRUE(std::regex_match(reaction, std::regex("3 {15}.*\\(-?[0-9]+:-?[0-9]+\\)"))) << game.ScreenText();
    EXPECT_TRUE(Shows(game, reaction.substr(16), 2 * Tab, BrightRed, Black));

    // Escape straight after a bad key leaves the game.
    game.Type("x");
    ASSERT_TRUE(game.WaitForText("):72")) << game.ScreenText();
    game.Type("\x1b");
    EXPECT_TRUE(ExitedWith(game.WaitForExit(), 0));
    ExpectTerminalRestored(game);
}

TEST(Screens, SuccessEnding) {
    const std::optional<Script> script = FindSuccessScript();
    ASSERT_TRUE(script) << "no seed leads to success within a day";
    PtyGame game({"--seed", std::to_string(script->seed)});
    ASSERT_TRUE(game.WaitForText("0 - FreePlay Mode")) << game.ScreenText();
    game.Type(script->keys);
    ASSERT_TRUE(game.WaitForText("your lucky partner will be by your side.")) << game.ScreenText();

    EXPECT_TRUE(Shows(game, "Congratulations! You attend the reunion and everyone is shocked!", Tab, Grey, Black));
    // The texts meet at a tab; a tab near the edge stops at the last column,
    // and the text wraps there.
    EXPECT_EQ(game.Row(0), "        Congratulations! You attend the reunion and everyone is shocked!       W");
    EXPECT_EQ(game.Row(1), "hat wil come next year? CEO position? Nobel Prize? Gold Medal?  Who knows...");
    EXPECT_EQ(game.Row(2), "        But wherever you go, your lucky partner will be by your side.");
    EXPECT_TRUE(Shows(game, "But wherever you go, your lucky partner will be by your side.", Tab, Grey, Black));
    EXPECT_EQ(game.Row(3), "");

    game.Type("0");
    EXPECT_TRUE(ExitedWith(game.WaitForExit(), 0));
    ExpectTerminalRestored(game);
}

}  // namespace
}  // namespace tg::e2e
