// One-key choices with their "Bad Input" answers, and the console's
// headings and colours.
#include <gtest/gtest.h>

#include "console/console.hpp"
#include "support/game_harness.hpp"
#include "support/scripted_terminal.hpp"

namespace tg {
namespace {

struct Prompt {
    explicit Prompt(std::string keys) : terminal(std::move(keys)), console(terminal) {}

    // The value GetChoice returns, or the exit status (offset by 1000) if it ended the game.
    int Ask(int high, int low) {
        if (const std::optional<int> choice = console.GetChoice(high, low)) return *choice;
        return 1000 + console.End().status;
    }

    ScriptedTerminal terminal;
    Console console;
};

constexpr int EndedWithZero = 1000;

TEST(GetChoice, AcceptedKeyIsReturnedWithOnlyItsEcho) {
    Prompt prompt("1");
    EXPECT_EQ(prompt.Ask(2, 0), 1);
    EXPECT_EQ(prompt.terminal.Transcript(), "1");
}

TEST(GetChoice, OutOfRangeKeyGetsBadInputLineAndAnotherKey) {
    Prompt prompt("x2");
    EXPECT_EQ(prompt.Ask(2, 0), 2);
    EXPECT_EQ(prompt.terminal.Transcript(), "x\nBad Input (0-2):72\n2");
}

TEST(GetChoice, PauseAcceptsOnlyZero) {
    Prompt prompt("10");
    EXPECT_EQ(prompt.Ask(0, 0), 0);
    EXPECT_EQ(prompt.terminal.Transcript(), "1\nBad Input (0-0):1\n0");
}

TEST(GetChoice, EscapeAsFirstKeyIsOnlyABadKey) {
    Prompt prompt("\x1b" "3");
    EXPECT_EQ(prompt.Ask(5, 0), 3);
    EXPECT_EQ(prompt.terminal.Transcript(), "^[\nBad Input (0-5):-21\n3");
}

TEST(GetChoice, EscapeAfterABadKeyEndsTheGameWithStatusZero) {
    Prompt twice("\x1b\x1b");
    EXPECT_EQ(twice.Ask(5, 0), EndedWithZero);
    Prompt afterLetter("q\x1b" "1");
    EXPECT_EQ(afterLetter.Ask(5, 0), EndedWithZero);
    EXPECT_EQ(afterLetter.terminal.Transcript(), "q\nBad Input (0-5):65\n^[");
}

TEST(GetChoice, EnterNeverConfirms) {
    Prompt prompt("\r0");
    EXPECT_EQ(prompt.Ask(0, 0), 0);
    EXPECT_EQ(prompt.terminal.Transcript(), "^M\nBad Input (0-0):-35\n0");
}

TEST(GetChoice, ColonSelectsTheTenthEntry) {
    Prompt prompt(":");
    EXPECT_EQ(prompt.Ask(10, 0), 10);
}

TEST(GetChoice, ArrowKeyGivesTwoBadInputsAndIsNeverEscape) {
    // Up arrow: prefix 224 then 72, each a bad key; the prefix must not end
    // the game although it arrives after a bad key.
    Prompt prompt("x\x1b[A1");
    EXPECT_EQ(prompt.Ask(2, 0), 1);
    EXPECT_EQ(testing::Count(prompt.terminal.Transcript(), "Bad Input"), 3);
    EXPECT_NE(prompt.terminal.Transcript().find("Bad Input (0-2):176\n"), std::string::npos);
    EXPECT_NE(prompt.terminal.Transcript().find("Bad Input (0-2):24\n"), std::string::npos);
}

TEST(GetChoice, FunctionKeyGivesZeroPrefixThenScanCode) {
    Prompt prompt("\x1bOP1");  // F1
    EXPECT_EQ(prompt.Ask(2, 0), 1);
    EXPECT_NE(prompt.terminal.Transcript().find("Bad Input (0-2):-48\n"), std::string::npos);
    EXPECT_NE(prompt.terminal.Transcript().find("Bad Input (0-2):11\n"), std::string::npos);
}

TEST(GetChoice, EndOfInputEndsTheGameAtOnce) {
    Prompt atFirstKey("");
    EXPECT_EQ(atFirstKey.Ask(5, 0), EndedWithZero);
    EXPECT_EQ(atFirstKey.terminal.Transcript(), "");
    Prompt afterBadKey("9");
    EXPECT_EQ(afterBadKey.Ask(5, 0), EndedWithZero);
    EXPECT_EQ(afterBadKey.terminal.Transcript(), "9\nBad Input (0-5):9\n");
}

TEST(Console, HeadingIsBrightRedThenGreyAgain) {
    ScriptedTerminal terminal;
    Console console(terminal);
    console.PrintHeading("Hm.");
    console.Write("after");
    ASSERT_EQ(terminal.ScreenSpans().size(), 2u);
    EXPECT_EQ(terminal.ScreenSpans()[0].text, "\t\tHm.\n");
    EXPECT_EQ(terminal.ScreenSpans()[0].foreground, 12);
    EXPECT_EQ(terminal.ScreenSpans()[0].background, 0);
    EXPECT_EQ(terminal.ScreenSpans()[1].foreground, 7);
}

TEST(Console, EmptyHeadingWritesTabsAndNewline) {
    ScriptedTerminal terminal;
    Console console(terminal);
    console.PrintHeading("");
    EXPECT_EQ(terminal.Transcript(), "\t\t\n");
}

TEST(Console, ColourNumbersAboveFifteenWrap) {
    ScriptedTerminal terminal;
    Console console(terminal);
    console.SetForeground(20);
    EXPECT_EQ(console.Foreground(), 4);
    console.SetBackground(4);
    console.SetForeground(12);
    EXPECT_EQ(terminal.Foreground(), 12);
    EXPECT_EQ(terminal.Background(), 4);
}

}  // namespace
}  // namespace tg
