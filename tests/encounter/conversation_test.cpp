// Conversation in a meeting: opinions, money talk, embellishment and humility.
#include <gtest/gtest.h>

#include "support/meeting_fixture.hpp"

namespace tg {
namespace {

using testing::SeedWhere;

struct Talk : testing::MeetingTest {
    void SetUp() override {
        MeetingTest::SetUp();
        person.interest = 10;
    }

    // Makes the player's character sum differ from the person's by the ratio given in tenths.
    void RapportTenths(int tenths) {
        person.stat[3] = person.stat[4] = 30;
        person.stat[5] = 40;
        harness.game.player.stat[3] = 30;
        harness.game.player.stat[4] = 30;
        harness.game.player.stat[5] = 40 + 10 * tenths;
    }
};

// First turn an opinion topic on subject t.
std::uint32_t TopicSeed(int t) {
    return SeedWhere([=](Random& r) { return r.Below(6) != 0 && r.Below(6) != 0 && r.Below(40) == t; });
}

// First turn a money talk on subject m; then `perception` drawn below `range`.
std::uint32_t MoneySeed(int m, int range = 1, int perception = 0) {
    return SeedWhere([=](Random& r) {
        return r.Below(6) != 0 && r.Below(6) == 0 && r.Below(6) == m && r.Below(range) == perception;
    });
}

TEST_F(Talk, OpinionMenu) {
    Play(TopicSeed(2), "");
    EXPECT_TRUE(Shows("\tThe conversation reaches the subject of Seatbelts. Do you...\n"
                      "\t\t1 - Respond Very Affirmatively\n\t\t2 - Respond Affirmatively\n\t\t3 - Respond Neutrally\n"
                      "\t\t4 - Respond Negatively\n\t\t5 - Respond Very Negatively\n"
                      "\t\t0 - Excuse yourself from the conversation\n"));
}

TEST_F(Talk, AnswerIsScoredByDistanceFromTheLeaning) {
    person.personality[0] = 73;
    Play(TopicSeed(2), "2");
    EXPECT_TRUE(Shows("2\t\tDefinitely.\n"));
    EXPECT_EQ(person.interest, 10 + 37);
}

TEST_F(Talk, NeutralLeaningAnsweredAtTheExtremeScoresZero) {
    person.personality[4] = 50;
    Play(TopicSeed(18), "1");
    EXPECT_TRUE(Shows("1\t\tHm.\n"));
    EXPECT_EQ(person.interest, 10);
}

TEST_F(Talk, LeaningOfZero) {
    person.personality[9] = 0;
    Play(TopicSeed(39), "5");
    EXPECT_EQ(person.interest, 10 + 30);
    person.interest = 10;
    Play(TopicSeed(36), "1");
    EXPECT_TRUE(Shows("1\t\tI see it completely different from you.\n"));
    EXPECT_EQ(person.interest, 10 - 50);
}

TEST_F(Talk, SubjectsOfOneDimensionScoreAlike) {
    person.personality[0] = 90;
    Play(TopicSeed(0), "1");
    const int motorcycles = person.interest;
    person.interest = 10;
    Play(TopicSeed(3), "1");
    EXPECT_EQ(person.interest, motorcycles);
    EXPECT_EQ(motorcycles, 50);
}

TEST_F(Talk, ScoreIsScaledByRapport) {
    RapportTenths(2);  // rapport 0.2
    person.personality[0] = 50;
    Play(TopicSeed(0), "3");
    EXPECT_EQ(person.interest, 10 + 48);
}

TEST_F(Talk, ExcusingYourselfCostsFiveAndEndsTheMeeting) {
    EXPECT_TRUE(Play(TopicSeed(7), "0"));
    EXPECT_EQ(person.interest, 5);
    EXPECT_FALSE(Shows("\t\tHm."));
    EXPECT_EQ(harness.game.tick, 2);
}

TEST_F(Talk, ExcusingYourselfStillFacesTheExits) {
    person.interest = -98;
    EXPECT_TRUE(Play(TopicSeed(7), "00"));
    EXPECT_TRUE(Shows("0\t\tI really have to be going now.\n"));
    EXPECT_EQ(person.stage, stage::WrittenOff);
}

TEST_F(Talk, MoneyMenu) {
    Play(MoneySeed(2), "");
    EXPECT_TRUE(Shows("\tYou find yourself talking about your financial situation. Do you...\n"
                      "\t\t1 - Embellish your situation.\n\t\t2 - Tell it like it is.\n"
                      "\t\t3 - Portray things humbly.\n\t\t4 - Decline to share at this point.\n"));
}

TEST_F(Talk, MoneySubjectsCycleThroughGoalsMoneyAndPower) {
    harness.game.player.stat = {50, 50, 50, 50, 50, 50, 70, 90, 120};
    const int expected[] = {20 - 30, 40 - 30, 70 - 30};  // told like it is: S - 30
    for (int m = 0; m < 6; ++m) {
        person.interest = 10;
        Play(MoneySeed(m), "2");
        EXPECT_EQ(person.interest, 10 + expected[m % 3]) << MoneyTopics[m];
    }
}

TEST_F(Talk, MoneyTalkUsesTheUncappedStat) {
    harness.game.player.stat[7] = 150;  // 100 above hers, far past the cap
    Play(MoneySeed(1), "2");
    EXPECT_EQ(person.interest, 10 + 100 - 30);
}

TEST_F(Talk, BelievedEmbellishmentWithRapportOneTenth) {
    RapportTenths(1);
    harness.game.player.stat[7] = 60;
    person.stat[7] = 40;
    person.interest = 99;
    // Never seen through: the draw below 100 cannot exceed 99.
    Play(MoneySeed(1, 100, 99), "1");
    EXPECT_TRUE(Shows("1\tshe seems to believe you.\n\t\tThat's just what I was thinking.\n"));
    EXPECT_EQ(person.interest, 99 + 52);
}

TEST_F(Talk, CaughtEmbellishment) {
    RapportTenths(1);
    harness.game.player.stat[7] = 60;
    person.stat[7] = 40;
    person.interest = -5;  // always seen through
    Play(MoneySeed(1, 100, 0), "1");
    EXPECT_TRUE(Shows("1\tshe realizes you are lying.\n\t\tHm.\n"));
    EXPECT_EQ(person.interest, -5 - 8);
}

TEST_F(Talk, PerceptionGrowsWithStage) {
    person.stage = 1;
    person.interest = 150;
    // At stage 1 the draw is below 200: 151 sees through 150.
    Play(MoneySeed(0, 200, 151), "3");
    EXPECT_TRUE(Shows("3\tshe knows you are being humble.\n"));
    EXPECT_EQ(person.interest, 150 + 0 + 10);
    person.interest = 150;
    Play(MoneySeed(0, 200, 150), "3");
    EXPECT_TRUE(Shows("3\tshe is oblivious to the humility.\n"));
    EXPECT_EQ(person.interest, 150 - 10);
}

TEST_F(Talk, PerceptionIsDrawnOnlyForEmbellishingAndHumility) {
    // Declining draws nothing more: the next turn's draws are undisturbed.
    const std::uint32_t seed = MoneySeed(3);
    Play(seed, "4");
    EXPECT_TRUE(Shows("4\tshe notes your secrecy.\n\t\tNot so.\n"));
    EXPECT_EQ(person.interest, 0);
    Random probe(seed);
    for (int i = 0; i < 3; ++i) probe.Next();
    const bool nextIsMove = probe.Below(6) == 0;
    EXPECT_EQ(Shows("Finding an opportunity"), nextIsMove);
}

}  // namespace
}  // namespace tg
