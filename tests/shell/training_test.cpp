// Training the player's stats, an hour a point.
#include <gtest/gtest.h>

#include "support/game_harness.hpp"

namespace tg {
namespace {

using testing::GameHarness;

struct Training : ::testing::Test {
    GameHarness harness;

    // Trains with the keys; true when training was left with 0.
    bool Train(const std::string& keys) {
        harness.game.hour = 8;
        harness.terminal.Type(keys);
        return harness.Run([](Game& g) { return g.Training(); });
    }
};

TEST_F(Training, ScreenListsEveryStatWithItsValue) {
    harness.game.player.stat.fill(50);
    Train("");
    EXPECT_EQ(harness.terminal.Screen(),
              "Monday 9:10am (Day 1/31)\n\tTraining\n"
              "\t\t1 - Train beauty\t(50)\n\t\t2 - Train strength\t(50)\n\t\t3 - Train sex appeal\t(50)\n"
              "\t\t4 - Train humor\t(50)\n\t\t5 - Train intelligence\t(50)\n\t\t6 - Train confidence\t(50)\n"
              "\t\t7 - Train goals\t(50)\n\t\t8 - Train money\t(50)\n\t\t9 - Train power\t(50)\n\t\t0 - Back");
}

TEST_F(Training, LeavingAtOnceCostsOneTick) {
    ASSERT_TRUE(Train("0"));
    EXPECT_EQ(harness.game.hour, 8);
    EXPECT_EQ(harness.game.tick, 1);
    for (int value : harness.game.player.stat) EXPECT_EQ(value, 0);
}

TEST_F(Training, EachPointCostsAnHour) {
    harness.game.player.stat[4] = 60;
    ASSERT_TRUE(Train("5550"));
    EXPECT_EQ(harness.game.player.stat[4], 63);
    EXPECT_EQ(harness.game.hour, 11);
    EXPECT_EQ(harness.game.tick, 1);
}

TEST_F(Training, CeilingIsOneHundredFifty) {
    harness.game.player.stat[0] = 149;
    harness.game.player.stat[8] = 150;
    ASSERT_TRUE(Train("1190"));
    EXPECT_EQ(harness.game.player.stat[0], 150);
    EXPECT_EQ(harness.game.player.stat[8], 150);
    EXPECT_EQ(harness.game.hour, 9);  // only the one point that counted
}

TEST_F(Training, TrainingIntoTheNightSleepsBeforeTheNextList) {
    harness.game.hour = 22;
    harness.terminal.Type("10");
    harness.Run([](Game& g) { return g.Training(); });
    EXPECT_EQ(harness.terminal.Pauses(), 8);
    EXPECT_EQ(harness.game.hour, 31);
}

TEST_F(Training, BadKeysAreAnsweredWithTheRange) {
    Train("a0");
    EXPECT_NE(harness.terminal.Transcript().find("0 - Backa\nBad Input (0-9):49\n0"), std::string::npos);
}

}  // namespace
}  // namespace tg
