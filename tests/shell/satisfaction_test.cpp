// The reunion ending: success or failure, and the key that leaves it.
#include <gtest/gtest.h>

#include "support/game_harness.hpp"

namespace tg {
namespace {

using testing::GameHarness;

constexpr const char* Success =
    "\tCongratulations! You attend the reunion and everyone is shocked!"
    "\tWhat wil come next year? CEO position? Nobel Prize? Gold Medal?"
    "\tWho knows...\n\tBut wherever you go, your lucky partner will be by your side.";
constexpr const char* Failure =
    "\tShame, shame!!! What a loser art thou...\n\tThis is not a difficult game, once you understand it."
    "\tGo back and try it on FreePlay Mode!";

std::string EndingWith(const std::vector<int>& stages, int mode, const std::string& keys = "0") {
    GameHarness harness(1, keys);
    harness.game.playMode = mode;
    for (int stage : stages) harness.game.contacts[harness.game.contactCount++].stage = stage;
    EXPECT_EQ(harness.RunToEnd([](Game& g) { return g.Satisfaction(); }), 0);
    EXPECT_TRUE(harness.console.End().ending);
    return harness.terminal.Screen();
}

TEST(Satisfaction, EmptyBookIsAFailure) {
    EXPECT_EQ(EndingWith({}, mode::Trophy), std::string(Failure) + "0");
}

TEST(Satisfaction, InLoveIsNotEnough) {
    EXPECT_EQ(EndingWith({4, 1, 2}, mode::Trophy), std::string(Failure) + "0");
}

TEST(Satisfaction, AnyoneBeyondInLoveAnywhereInTheBookIsASuccess) {
    EXPECT_EQ(EndingWith({5}, mode::Trophy), std::string(Success) + "0");
    EXPECT_EQ(EndingWith({0, -1, 1, 2, 3, 4, 4, 1, 2, 7}, mode::FreePlay), std::string(Success) + "0");
}

TEST(Satisfaction, PlaceholdersBeyondTheBookDoNotCount) {
    GameHarness harness(1, "0");
    harness.game.contacts[3].stage = 9;  // never given a number: not in use
    harness.RunToEnd([](Game& g) { return g.Satisfaction(); });
    EXPECT_EQ(harness.terminal.Screen(), std::string(Failure) + "0");
}

TEST(Satisfaction, WaitsForZeroAndEscapeAfterABadKeyAlsoEnds) {
    EXPECT_EQ(EndingWith({}, mode::FreePlay, "10"), std::string(Failure) + "1\nBad Input (0-0):1\n0");
    EXPECT_EQ(EndingWith({}, mode::FreePlay, "1\x1b"), std::string(Failure) + "1\nBad Input (0-0):1\n^[");
}

}  // namespace
}  // namespace tg
