// Going out: the places, their crowds, and the strangers listed there.
#include <gtest/gtest.h>

#include "support/game_harness.hpp"

namespace tg {
namespace {

using testing::Count;
using testing::GameHarness;
using testing::SeedWhere;

struct Outing : ::testing::Test {
    GameHarness harness;

    void SetUp() override {
        harness.game.hour = 8;
        harness.game.player.stat.fill(50);
    }

    // Goes out from the given seed; true when the player came home.
    bool GoOut(std::uint32_t seed, const std::string& keys) {
        harness.random.Seed(seed);
        harness.terminal.Type(keys);
        return harness.Run([](Game& g) { return g.GoLooking(); });
    }

    // The approach list as it stands on the screen.
    int Listed() const {
        const std::string screen = harness.terminal.Screen();
        int listed = 0;
        while (screen.find("\t\t" + std::to_string(listed + 1) + " - ") != std::string::npos) ++listed;
        return listed;
    }
};

TEST_F(Outing, PlaceMenu) {
    GoOut(1, "");
    EXPECT_EQ(harness.terminal.Screen(),
              "Monday 9:10am (Day 1/31)\n\tWhere would you like to go?\n\t\t1 - X/S Nightclub\n"
              "\t\t2 - University of Michigan\n\t\t3 - Skytech Offices\n\t\t4 - Marmy's Pub\n"
              "\t\t5 - St. John's Church\n\t\t6 - Blue Martini Club\n\t\t0 - Back Home\n");
}

TEST_F(Outing, BackHomeCostsOnlyTheTickAndDrawsNothing) {
    ASSERT_TRUE(GoOut(1, "0"));
    EXPECT_EQ(harness.game.tick, 1);
    EXPECT_EQ(harness.game.hour, 8);
    Random probe(1);
    EXPECT_EQ(harness.random.Next(), probe.Next());
}

TEST_F(Outing, SkytechCanHoldNineStrangersAndNeverTen) {
    ASSERT_TRUE(GoOut(SeedWhere([](Random& r) { return r.Below(4) == 3; }), "3" ":" "0"));
    EXPECT_NE(harness.terminal.Transcript().find(":\nBad Input (0-9):10\n0"), std::string::npos);
    const std::string& transcript = harness.terminal.Transcript();
    EXPECT_NE(transcript.find("\t\t9 - "), std::string::npos);
    EXPECT_EQ(transcript.find("\t\t10 - "), std::string::npos);
}

TEST_F(Outing, PubCanHoldASingleStranger) {
    GoOut(SeedWhere([](Random& r) { return r.Below(5) == 0; }), "42");
    EXPECT_EQ(Listed(), 1);
    EXPECT_NE(harness.terminal.Transcript().find("\t\t0 - Return Home\n2\nBad Input (0-1):2\n"), std::string::npos);
}

TEST_F(Outing, CrowdSizesStayWithinEachPlacesRange) {
    const int lowest[] = {4, 4, 6, 1, 4, 1};
    const int highest[] = {8, 8, 9, 5, 8, 3};
    for (int place = 1; place <= 6; ++place) {
        for (std::uint32_t seed = 1; seed <= 40; ++seed) {
            GameHarness trip(1);
            trip.game.hour = 8;
            trip.random.Seed(seed);
            trip.terminal.Type(std::to_string(place));
            trip.Run([](Game& g) { return g.GoLooking(); });
            const std::string screen = trip.terminal.Screen();
            int listed = 0;
            while (screen.find("\t\t" + std::to_string(listed + 1) + " - ") != std::string::npos) ++listed;
            EXPECT_GE(listed, lowest[place - 1]);
            EXPECT_LE(listed, highest[place - 1]);
        }
    }
}

TEST_F(Outing, StrangersAreOfTheSoughtGenderAndListedByLooks) {
    harness.game.player.seeksMale = true;
    GoOut(3, "1");
    const std::string screen = harness.terminal.Screen();
    EXPECT_NE(screen.find("\tWho would you like to approach?\n\t\t1 - A"), std::string::npos);
    EXPECT_GE(Count(screen, " man "), Listed());
    EXPECT_EQ(Count(screen, "woman"), 0);
    int foreground = 0, background = 0;
    ASSERT_TRUE(harness.terminal.ColoursOf("0 - Return Home", foreground, background));
    EXPECT_EQ(foreground, 15);
    EXPECT_EQ(harness.terminal.Foreground(), 15);  // left bright for the key
}

TEST_F(Outing, IntroducedStrangersAreListedByNameAndMetAgainWithoutIntroduction) {
    // Seed 11 at St. John's: the first stranger introduces herself as
    // Parvati, the first turn is an opinion topic, and the player excuses
    // himself; approached again she is listed and met by name, with no
    // second introduction.
    ASSERT_TRUE(GoOut(11, "51" "0" "1" "0" "0"));
    const std::string& transcript = harness.terminal.Transcript();
    EXPECT_NE(transcript.find("\t\t1 - Parvati\n\t\t2 - A blonde woman"), std::string::npos);
    EXPECT_EQ(Count(transcript, "You introduce yourself."), 1);
    EXPECT_EQ(Count(transcript, "\t\t1 - Parvati\n"), 2);
    EXPECT_NE(transcript.find("0 - Return Home\n1\tThe conversation reaches the subject of"), std::string::npos);
}

}  // namespace
}  // namespace tg
