// The home menu, and the calls and dates it leads to.
#include <gtest/gtest.h>

#include "support/game_harness.hpp"

namespace tg {
namespace {

using testing::Count;
using testing::GameHarness;

constexpr const char* Menu =
    "\tWhat would you like to do?\n\t\t1 - Self-Improvement/Review\n\t\t2 - Go Looking...\n"
    "\t\t3 - Call Someone\n\t\t4 - Go on a Date\n\t\t5 - Satisfaction\n\t\t0 - Quit\n";

// A game in FreePlay Mode with the book filled from `stages`.
struct Home : ::testing::Test {
    GameHarness harness;

    int Play(const std::string& keys, const std::vector<int>& stages = {}) {
        for (int stage : stages) {
            Person& contact = harness.game.contacts[harness.game.contactCount++];
            contact.stage = stage;
            contact.interest = 50;
            contact.knownAs = "Contact" + std::to_string(harness.game.contactCount);
        }
        harness.terminal.Type(keys);
        return harness.RunToEnd([](Game& g) { return g.HomeMenu(); });
    }
};

TEST_F(Home, FirstMenuOfANewGameIsMondayMorningAfterSevenFrames) {
    GameHarness trophy(1, "211Ann Lee\n01");
    trophy.Start();
    EXPECT_EQ(trophy.terminal.Pauses(), 7);
    EXPECT_EQ(trophy.terminal.Screen(), std::string("Monday 8:10am (Day 1/31)\n") + Menu);
    EXPECT_EQ(trophy.game.hour, 7);
    EXPECT_EQ(trophy.game.tick, 1);
    int foreground = 0, background = 0;
    ASSERT_TRUE(trophy.terminal.ColoursOf("Monday 8:10am", foreground, background));
    EXPECT_EQ(foreground, 12);
    EXPECT_EQ(background, 4);
    ASSERT_TRUE(trophy.terminal.ColoursOf("0 - Quit", foreground, background));
    EXPECT_EQ(foreground, 15);
    EXPECT_EQ(background, 0);
}

TEST_F(Home, QuitEndsAtOnceWithStatusZero) {
    EXPECT_EQ(Play("0"), 0);
    EXPECT_FALSE(harness.console.End().ending) << "Quit is not one of the endings";
    EXPECT_EQ(harness.terminal.Screen(), std::string("Monday 8:10am (Day 1/31)\n") + Menu + "0");
}

TEST_F(Home, CallingWithAnEmptyBookCostsThreeHours) {
    Play("3" "1" "0");
    const std::string& transcript = harness.terminal.Transcript();
    EXPECT_NE(transcript.find(std::string(Menu) +
                              "3\tYou spend several hours calling the old numbers in your book, no luck.\n"
                              "\tGo get some new ones!!!\n\t\t0 - To the Hunt!.\n1\nBad Input (0-0):1\n0\f"),
              std::string::npos);
    EXPECT_EQ(harness.game.hour, 10);
    EXPECT_EQ(harness.terminal.Screen().rfind("Monday 11:10am (Day 1/31)\n", 0), 0u);
}

TEST_F(Home, DatingWithAnEmptyBookHasItsOwnTexts) {
    Play("4" "0" "0");
    EXPECT_NE(harness.terminal.Transcript().find(
                  "4\tYou spend several hours waiting for someone to show up... Nada.\n"
                  "\tYou need to call for a date!\n\t\t0 - To the Telephone!.\n0"),
              std::string::npos);
    EXPECT_EQ(harness.game.hour, 10);
}

TEST_F(Home, EmptyBookPauseLineIsBrightWhite) {
    Play("4");
    int foreground = 0, background = 0;
    ASSERT_TRUE(harness.terminal.ColoursOf("\t\t0 - To the Telephone!.\n", foreground, background));
    EXPECT_EQ(foreground, 15);
    ASSERT_TRUE(harness.terminal.ColoursOf("You need to call", foreground, background));
    EXPECT_EQ(foreground, 7);
}

TEST_F(Home, LateCallsSleepThroughTheNightAtTheNextHeader) {
    harness.game.hour = 21;
    Play("3" "0" "0");
    // 21:10 + 3 hours = hour 0 of the next day: seven frames to 8am.
    EXPECT_EQ(harness.terminal.Pauses(), 7);
    EXPECT_EQ(harness.terminal.Screen().rfind("Tuesday 8:10am (Day 2/31)\n", 0), 0u);
}

TEST_F(Home, CallListShowsOnlyNumbersGivenUnderTheirSlotNumbers) {
    Play("3", {2, 1, 3, 1, 0});
    EXPECT_EQ(harness.terminal.Screen(), std::string("Monday 8:10am (Day 1/31)\n") + Menu +
                                             "3\t\t2 - Contact2\n\t\t4 - Contact4\n\t\t0 - Forget Calling...\n");
}

TEST_F(Home, DateListShowsOnlyDatingContacts) {
    Play("4", {2, 1, 3, 1, 2});
    EXPECT_EQ(harness.terminal.Screen(), std::string("Monday 8:10am (Day 1/31)\n") + Menu +
                                             "4\t\t1 - Contact1\n\t\t5 - Contact5\n\t\t0 - Forget Calling...\n");
}

TEST_F(Home, EmptyListStillAcceptsEverySlotInUse) {
    // One dating contact, none to call: the call list offers nothing, but
    // key 1 meets her all the same; key 2 is beyond the book.
    Play("3" "2" "1", {2});
    const std::string& transcript = harness.terminal.Transcript();
    EXPECT_NE(transcript.find("3\t\t0 - Forget Calling...\n2\nBad Input (0-1):2\n1\t\tHi Rick!\n"), std::string::npos);
}

TEST_F(Home, WrittenOffContactOnlyBrushesThePlayerOff) {
    Play("3" "1" "0", {-1});
    EXPECT_NE(harness.terminal.Transcript().find("1\t\tCan't you take a hint? Go Away!\n"
                                                 "\t\t0 - There's more fish in the sea.\n0\f"),
              std::string::npos);
}

TEST_F(Home, TenthContactIsChosenWithColon) {
    Play("4:", {1, 1, 1, 1, 1, 1, 1, 1, 1, 2});
    EXPECT_NE(harness.terminal.Transcript().find("4\t\t10 - Contact10\n\t\t0 - Forget Calling...\n:\t\tHi Rick!\n"),
              std::string::npos);
}

TEST_F(Home, ForgetCallingReturnsWithNoTimeSpent) {
    Play("30", {1});
    EXPECT_EQ(harness.game.hour, 7);
    EXPECT_EQ(harness.game.tick, 1);
    EXPECT_EQ(Count(harness.terminal.Transcript(), "What would you like to do?"), 2);
}

}  // namespace
}  // namespace tg
