// The game's clock: its text, the hours passing, and the nights slept through.
#include <gtest/gtest.h>

#include "support/game_harness.hpp"

namespace tg {
namespace {

using testing::Count;
using testing::GameHarness;

struct Clock : ::testing::Test {
    GameHarness harness;
    Game& game = harness.game;

    void At(int hour, int tick) {
        game.hour = hour;
        game.tick = tick;
    }
};

TEST_F(Clock, TickCarriesIntoTheHour) {
    At(0, 5);
    game.AdvanceClock(0, 1);
    EXPECT_EQ(game.tick, 0);
    EXPECT_EQ(game.hour, 1);
    At(0, 4);
    game.AdvanceClock(0, 1);
    EXPECT_EQ(game.tick, 5);
    EXPECT_EQ(game.hour, 0);
}

TEST_F(Clock, HoursKeepTheMinutesAndCrossMidnight) {
    At(22, 3);
    game.AdvanceClock(3, 0);
    EXPECT_EQ(game.hour, 25);
    EXPECT_EQ(game.tick, 3);
    EXPECT_EQ(game.ClockText(), "Tuesday 2:30am (Day 2/31)");
}

TEST_F(Clock, ClockTextReadsTheTwelveHourFace) {
    At(7, 1);
    EXPECT_EQ(game.ClockText(), "Monday 8:10am (Day 1/31)");
    At(10, 0);
    EXPECT_EQ(game.ClockText(), "Monday 11:00am (Day 1/31)");
    At(11, 0);
    EXPECT_EQ(game.ClockText(), "Monday 12:00pm (Day 1/31)");
    At(22, 5);
    EXPECT_EQ(game.ClockText(), "Monday 11:50pm (Day 1/31)");
    At(167, 0);
    EXPECT_EQ(game.ClockText(), "Sunday 12:00pm (Day 7/31)");
    At(168, 0);
    EXPECT_EQ(game.ClockText(), "Monday 1:00am (Day 8/31)");
    At(24 + 8, 0);
    EXPECT_EQ(game.ClockText(), "Tuesday 9:00am (Day 2/31)");
}

TEST_F(Clock, FreePlayCalendarIsPracticallyEndless) {
    game.hourLimit = Game::FreePlayHourLimit;
    At(48 + 11, 5);
    EXPECT_EQ(game.ClockText(), "Wednesday 12:50pm (Day 3/416666)");
}

TEST_F(Clock, PlayGoesOnPastTheCalendarsEnd) {
    At(Game::TrophyHourLimit, 0);
    game.AdvanceClock(30, 0);
    EXPECT_EQ(game.hour, Game::TrophyHourLimit + 30);
    EXPECT_EQ(game.ClockText(), "Friday 7:00am (Day 33/31)");
}

TEST_F(Clock, DaytimeHeaderDrawsOnlyTheBand) {
    At(22, 0);
    game.ShowClock();
    EXPECT_EQ(game.hour, 22);
    EXPECT_EQ(harness.terminal.Pauses(), 0);
    EXPECT_EQ(harness.terminal.Screen(), "Monday 11:00pm (Day 1/31)\n");
    const auto& spans = harness.terminal.ScreenSpans();
    ASSERT_EQ(spans.size(), 1u);
    EXPECT_EQ(spans[0].foreground, 12);
    EXPECT_EQ(spans[0].background, 4);
    EXPECT_EQ(harness.terminal.Foreground(), 7);
    EXPECT_EQ(harness.terminal.Background(), 0);
}

TEST_F(Clock, NightIsSleptThroughHourByHourUntilEight) {
    At(23, 4);
    game.ShowClock();
    EXPECT_EQ(game.hour, 31);
    EXPECT_EQ(game.tick, 4);
    EXPECT_EQ(harness.terminal.Pauses(), 8);
    EXPECT_EQ(harness.terminal.Clears(), 9);
    const std::string& transcript = harness.terminal.Transcript();
    EXPECT_NE(transcript.find("\fTuesday 1:40am (Day 2/31)\n\tSleeping...\n"), std::string::npos);
    EXPECT_NE(transcript.find("\fTuesday 8:40am (Day 2/31)\n\tSleeping...\n"), std::string::npos);
    EXPECT_EQ(harness.terminal.Screen(), "Tuesday 8:40am (Day 2/31)\n");
    EXPECT_EQ(Count(transcript, "Sleeping..."), 8);
}

TEST_F(Clock, EarlyMorningSleepsOnlyTheHoursLeft) {
    At(24 + 1, 0);
    game.ShowClock();
    EXPECT_EQ(harness.terminal.Pauses(), 6);
    EXPECT_NE(harness.terminal.Transcript().find("Tuesday 3:00am"), std::string::npos);
    EXPECT_EQ(harness.terminal.Screen(), "Tuesday 8:00am (Day 2/31)\n");
}

TEST_F(Clock, EightInTheMorningIsDaytime) {
    At(7, 0);
    game.ShowClock();
    EXPECT_EQ(harness.terminal.Pauses(), 0);
    EXPECT_EQ(game.hour, 7);
}

TEST_F(Clock, SleepingBandColoursOnlyTheClockLine) {
    At(6, 0);
    game.ShowClock();
    // The last screen is the day's header; the frame before it was recorded too.
    const std::string& transcript = harness.terminal.Transcript();
    EXPECT_NE(transcript.find("\fMonday 8:00am (Day 1/31)\n\tSleeping...\n\fMonday 8:00am (Day 1/31)\n"),
              std::string::npos);
}

}  // namespace
}  // namespace tg
