// Rapport between the player and a person, and the replies to a change of interest.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "encounter/rapport.hpp"
#include "support/game_harness.hpp"

namespace tg {
namespace {

TEST(ScaleByRapport, AmplifiesOrDampsByTheSizeOfTheBase) {
    EXPECT_EQ(ScaleByRapport(25, 0.5f), 37);
    EXPECT_EQ(ScaleByRapport(-10, 0.5f), -5);
    EXPECT_EQ(ScaleByRapport(25, -0.5f), 12);
    EXPECT_EQ(ScaleByRapport(-25, 0.5f), -12);
    EXPECT_EQ(ScaleByRapport(0, 3.0f), 0);
    EXPECT_EQ(ScaleByRapport(50, -150.0f), -7450);
}

TEST(ScaleByRapport, SinglePrecisionRatioIsWidenedNotRecomputed) {
    // 0.2 in single precision lies just above 0.2.
    const float rapport = Rapport(180, 150);
    EXPECT_EQ(rapport, 0.2f);
    EXPECT_EQ(ScaleByRapport(25, rapport), 30);
    EXPECT_EQ(ScaleByRapport(-10, rapport), -7);
    // 0.1 likewise: 20 scaled gives 22, not 21.
    EXPECT_EQ(ScaleByRapport(20, Rapport(110, 100)), 22);
}

TEST(Rapport, RatioOfTheCharacterDifference) {
    EXPECT_FLOAT_EQ(Rapport(150, 150), 0.0f);
    EXPECT_FLOAT_EQ(Rapport(75, 150), -0.5f);
    EXPECT_FLOAT_EQ(Rapport(1, 3), static_cast<float>(-2.0 / 3.0));
}

TEST(Rapport, PlayerWithNoCharacterGetsThePlainDifference) {
    EXPECT_EQ(Rapport(0, 150), -150.0f);
}

TEST(Rapport, PersonWithNoCharacterCannotDivideByZero) {
    const float rapport = Rapport(90, 0);
    EXPECT_TRUE(std::isfinite(rapport));
    EXPECT_EQ(Rapport(0, 0), 0.0f);
    EXPECT_EQ(ScaleByRapport(50, rapport), 50 + 50 * 90);
}

TEST(ScaleByRapport, HugeResultsSaturateInsteadOfOverflowing) {
    EXPECT_EQ(ScaleByRapport(std::numeric_limits<int>::max(), 10.0f), std::numeric_limits<int>::max());
    EXPECT_EQ(ScaleByRapport(-2'000'000'000, -10.0f), -std::numeric_limits<int>::max());
    EXPECT_EQ(AddInterest(std::numeric_limits<int>::max(), 5), std::numeric_limits<int>::max());
    EXPECT_EQ(AddInterest(std::numeric_limits<int>::min(), -5), std::numeric_limits<int>::min());
    EXPECT_EQ(AddInterest(-7, 20), 13);
}

struct Reaction : ::testing::Test {
    testing::GameHarness harness;
    Person person;

    std::string React(int change, int mode) {
        harness.game.playMode = mode;
        const std::size_t before = harness.terminal.Transcript().size();
        harness.game.React(person, change);
        return harness.terminal.Transcript().substr(before);
    }
};

TEST_F(Reaction, ReplyRowFollowsTheSizeOfTheChange) {
    EXPECT_EQ(React(9, mode::Trophy), "\t\tHm.\n\n");
    EXPECT_EQ(React(-9, mode::Trophy), "\t\tHm.\n\n");
    EXPECT_EQ(React(-10, mode::Trophy), "\t\tNot so.\n\n");
    EXPECT_EQ(React(19, mode::Trophy), "\t\tYeah.\n\n");
    EXPECT_EQ(React(-50, mode::Trophy), "\t\tI see it completely different from you.\n\n");
    EXPECT_EQ(React(100, mode::Trophy), "\t\tYou are the most incredible person I have ever met!\n\n");
    EXPECT_EQ(React(200, mode::Trophy), "\t\tYou are the most incredible person I have ever met!\n\n");
    EXPECT_EQ(React(-100, mode::Trophy), "\t\tYou are the most horriffic person I have ever met!\n\n");
    EXPECT_EQ(React(-7450, mode::TrophyWithoutIntroduction),
              "\t\tYou are the most horriffic person I have ever met!\n\n");
    EXPECT_EQ(person.interest, 9 - 9 - 10 + 19 - 50 + 100 + 200 - 100 - 7450);
}

TEST_F(Reaction, FreePlayShowsTheChangeAndTheNewInterest) {
    person.interest = 64;
    EXPECT_EQ(React(23, mode::FreePlay), "\t\tI think so too.(23:87)\n\n");
    EXPECT_EQ(React(-100, mode::FreePlay), "\t\tYou are the most horriffic person I have ever met!(-100:-13)\n\n");
}

TEST_F(Reaction, ReplyIsAHeading) {
    React(37, mode::Trophy);
    int foreground = 0, background = 0;
    ASSERT_TRUE(harness.terminal.ColoursOf("Definitely.", foreground, background));
    EXPECT_EQ(foreground, 12);
    EXPECT_EQ(harness.terminal.Foreground(), 7);
}

}  // namespace
}  // namespace tg
