// Trophy Mode's stat allocation before the game starts.
#include <gtest/gtest.h>

#include <numeric>

#include "support/game_harness.hpp"

namespace tg {
namespace {

using testing::Count;
using testing::GameHarness;

constexpr const char* Opening = "211Ann Lee\n";  // Trophy without introduction, female seeking women

// Plays the opening and then the given allocation keys; the input ends
// there (or at the home menu) and the game with it.
GameHarness& Allocate(GameHarness& harness, const std::string& keys) {
    harness.terminal.Type(std::string(Opening) + keys);
    harness.Start();
    return harness;
}

int Spent(const Game& game) { return std::accumulate(game.player.stat.begin(), game.player.stat.end(), 0); }

TEST(SetupStats, MainScreen) {
    GameHarness harness;
    Allocate(harness, "");
    EXPECT_EQ(harness.terminal.Screen(),
              "Character Creation\n\tStat Points Left: 450\n\tWhat would you like to do?\n"
              "\t\t1 - Increase Stat (+10)\n\t\t2 - Decrease Stat (-10)\n\t\t0 - Accept Character\n");
    int foreground = 0, background = 0;
    ASSERT_TRUE(harness.terminal.ColoursOf("1 - Increase Stat", foreground, background));
    EXPECT_EQ(foreground, 15);
}

TEST(SetupStats, StatListShowsOperationNamesAndValues) {
    GameHarness harness;
    Allocate(harness, "14");
    const std::string screen = harness.terminal.Screen();
    EXPECT_EQ(screen.rfind("Character Creation\n\tStat Points Left: 440\n\t\t1 - Increase beauty\t(0)\n", 0), 0u);
    EXPECT_NE(screen.find("\t\t4 - Increase humor\t(10)\n"), std::string::npos);
    EXPECT_NE(screen.find("\t\t9 - Increase power\t(0)\n\t\t0 - Back"), std::string::npos);
    EXPECT_EQ(screen.substr(screen.size() - 8), "0 - Back");
}

TEST(SetupStats, DecreaseBelowZeroChangesNothing) {
    GameHarness harness;
    Allocate(harness, "2123456789");
    EXPECT_EQ(Spent(harness.game), 0);
    EXPECT_EQ(harness.game.statPoints, 450);
    EXPECT_EQ(Count(harness.terminal.Transcript(), "Decrease beauty\t(0)"), 10);
}

TEST(SetupStats, NoStatPassesOneHundred) {
    GameHarness harness;
    Allocate(harness, "1" + std::string(12, '1'));
    EXPECT_EQ(harness.game.player.stat[0], 100);
    EXPECT_EQ(harness.game.statPoints, 350);
}

TEST(SetupStats, FortyFiveIncreasesSpendEverythingAndTheNextIsRefused) {
    GameHarness harness;
    Allocate(harness, "1" + std::string(10, '1') + std::string(10, '2') + std::string(10, '3') +
                          std::string(10, '4') + std::string(5, '5') + "6");
    EXPECT_EQ(harness.game.statPoints, 0);
    EXPECT_EQ(harness.game.player.stat[4], 50);
    EXPECT_EQ(harness.game.player.stat[5], 0);
    EXPECT_EQ(Spent(harness.game) + harness.game.statPoints, 450);
}

TEST(SetupStats, DecreaseGivesPointsBackEvenWithNoneLeft) {
    GameHarness harness;
    Allocate(harness, "1" + std::string(10, '1') + std::string(10, '2') + std::string(10, '3') +
                          std::string(10, '4') + std::string(5, '5') + "0" + "2" + "11");
    EXPECT_EQ(harness.game.player.stat[0], 80);
    EXPECT_EQ(harness.game.statPoints, 20);
}

TEST(SetupStats, BackKeepsChangesAndSwitchingOperationWorks) {
    GameHarness harness;
    Allocate(harness, "1330" "23" "0");
    EXPECT_EQ(harness.game.player.stat[2], 10);
    EXPECT_EQ(harness.game.statPoints, 440);
    EXPECT_NE(harness.terminal.Transcript().find("3 - Decrease sex appeal\t(20)"), std::string::npos);
}

TEST(SetupStats, AcceptingWithPointsLeftAsksFirst) {
    GameHarness harness;
    Allocate(harness, "12" "0" "0" "2");
    EXPECT_EQ(harness.terminal.Screen(),
              "Character Creation\n\tStat Points Left: 440\n\tWhat would you like to do?\n"
              "\t\t1 - Increase Stat (+10)\n\t\t2 - Decrease Stat (-10)\n\t\t0 - Accept Character\n");
    EXPECT_NE(harness.terminal.Transcript().find("\t\t0 - Accept Character\n0\tYou still have stat points left, Done?\n"
                                                 "\t\t1 - Yes\n\t\t2 - No\n2\f"),
              std::string::npos);
    EXPECT_EQ(harness.game.player.stat[1], 10);
}

TEST(SetupStats, YesStartsTheHomeMenuWithPointsUnspent) {
    GameHarness harness;
    Allocate(harness, "0" "1");
    EXPECT_EQ(harness.game.statPoints, 450);
    EXPECT_NE(harness.terminal.Screen().find("Monday 8:10am (Day 1/31)\n\tWhat would you like to do?"),
              std::string::npos);
}

TEST(SetupStats, AcceptingWithNoPointsLeftGoesHomeAtOnce) {
    GameHarness harness;
    Allocate(harness, "1" + std::string(10, '1') + std::string(10, '2') + std::string(10, '3') +
                          std::string(10, '4') + std::string(5, '5') + "0" + "0");
    EXPECT_EQ(Count(harness.terminal.Transcript(), "You still have stat points left"), 0);
    EXPECT_NE(harness.terminal.Screen().find("\tWhat would you like to do?\n\t\t1 - Self-Improvement/Review"),
              std::string::npos);
}

}  // namespace
}  // namespace tg
