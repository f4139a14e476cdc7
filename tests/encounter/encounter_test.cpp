// Meetings: first impressions, the player's moves, numbers given and people leaving.
#include <gtest/gtest.h>

#include "support/meeting_fixture.hpp"

namespace tg {
namespace {

using testing::Count;
using testing::GameHarness;
using testing::SeedWhere;

using Meet = testing::MeetingTest;

// Seeds that make the first turn the player's move and then draw `value`
// from `choices` for the move itself.
std::uint32_t MoveSeed(int choices, int value) {
    return SeedWhere([=](Random& r) { return r.Below(6) == 0 && r.Below(choices) == value; });
}

TEST_F(Meet, ImpressionAboveFiftyIsFlirty) {
    harness.game.player.stat[0] = 51;
    Play(1, "");
    EXPECT_EQ(person.interest, 51);
    EXPECT_TRUE(Shows("\tYou introduce yourself.\n\t\tHey sexy, I'm Ora, but you can call me yours. \n"));
    EXPECT_EQ(person.knownAs, "Ora");
}

TEST_F(Meet, ImpressionOfExactlyFiftyIsPolite) {
    Play(1, "");
    EXPECT_EQ(person.interest, 50);
    EXPECT_TRUE(Shows("\t\tNice to meet you, I'm Ora\n"));
    EXPECT_EQ(person.knownAs, "Ora");
}

TEST_F(Meet, ImpressionOfExactlyZeroIsCoolAndLeavesInterestAtZero) {
    harness.game.player.stat[0] = 0;
    Play(1, "");
    EXPECT_EQ(person.interest, 0);
    EXPECT_TRUE(Shows("\t\tI'm Ora, what do you want?\n"));
    EXPECT_EQ(person.knownAs, "Ora");
}

TEST_F(Meet, ImpressionOfMinusFiftyEndsTheMeetingWithNoTurn) {
    harness.game.player.stat[0] = 0;
    harness.game.player.stat[1] = 0;
    EXPECT_TRUE(Play(1, "0"));
    EXPECT_EQ(person.interest, -50);
    EXPECT_EQ(person.knownAs, "A woman of average beauty");
    EXPECT_TRUE(Shows("\t\tUgh, gross! Go away!\n\t\t0 - There's more fish in the sea.\n0"));
    EXPECT_EQ(harness.game.tick, 1);  // the entry tick only: no turn
    // Approached again: no second introduction; turns start at -50.
    Play(1, "");
    EXPECT_EQ(Count(Transcript(), "You introduce yourself."), 1);
}

TEST_F(Meet, IntroductionClearsTheScreenUnderTheClock) {
    Play(1, "");
    EXPECT_EQ(harness.terminal.Screen().rfind("Monday 9:10am (Day 1/31)\n\tYou introduce yourself.\n", 0), 0u);
}

TEST_F(Meet, PlayersAdvantageCountsOnlyThirtyPointsPerStat) {
    harness.game.player.stat[0] = 150;  // counts as 80
    harness.game.player.stat[3] = 150;  // counts as 80: rapport 0.2
    Play(1, "");
    EXPECT_EQ(person.interest, 60 + 30);
}

TEST_F(Meet, PlayerWithoutCharacterMeetsEveryoneBadly) {
    harness.game.player.stat[3] = harness.game.player.stat[4] = harness.game.player.stat[5] = 0;
    EXPECT_TRUE(Play(1, "0"));
    EXPECT_EQ(person.interest, 50 - 50 * 150);
    EXPECT_TRUE(Shows("Ugh, gross! Go away!"));
}

TEST_F(Meet, WrittenOffPersonOnlyBrushesOff) {
    person.stage = stage::WrittenOff;
    person.interest = -120;
    EXPECT_TRUE(Play(1, "0"));
    EXPECT_EQ(Transcript(), "\t\tCan't you take a hint? Go Away!\n\t\t0 - There's more fish in the sea.\n0");
    EXPECT_EQ(person.interest, -120);
}

TEST_F(Meet, ContactIsGreetedByNameWithoutClearing) {
    person.stage = stage::Dating;
    person.interest = 40;
    Play(1, "");
    EXPECT_EQ(harness.terminal.Clears(), 0);
    EXPECT_EQ(Transcript().rfind("\t\tHi Rick!\n", 0), 0u);
    EXPECT_FALSE(Shows("You introduce yourself."));
}

TEST_F(Meet, EveryTurnCostsATick) {
    person.interest = 10;
    const std::uint32_t seed = SeedWhere([](Random& r) { return r.Below(6) != 0 && r.Below(6) != 0; });
    Play(seed, "333");
    EXPECT_GE(harness.game.tick, 2);
}

class ComplimentByStage : public Meet, public ::testing::WithParamInterface<int> {};

TEST_P(ComplimentByStage, DelightNeedsADrawAboveFourMinusStage) {
    const int stageNow = GetParam();
    person.stage = stageNow;
    person.interest = 10;
    Play(MoveSeed(10, 5 - stageNow), "1");
    EXPECT_TRUE(Shows("1\tshe is delighted.\n\t\tI think so too.\n\n"));
    EXPECT_EQ(person.interest, 35);

    person.interest = 10;
    Play(MoveSeed(10, 4 - stageNow), "1");
    EXPECT_TRUE(Shows("1\tshe is embarassed.\n\t\tNot so.\n"));
    EXPECT_EQ(person.interest, 0);
}

INSTANTIATE_TEST_SUITE_P(Stages, ComplimentByStage, ::testing::Values(0, 1, 2, 3, 4));

class WooingByStage : public Meet, public ::testing::WithParamInterface<int> {};

TEST_P(WooingByStage, SuccessNeedsADrawAboveFourMinusStage) {
    const int stageNow = GetParam();
    person.stage = stageNow;
    person.interest = 10;
    person.male = true;
    Play(MoveSeed(6, 5 - stageNow), "2");
    EXPECT_TRUE(Shows("2\the is overjoyed.\n\t\tThat's just what I was thinking.\n"));
    EXPECT_EQ(person.interest, 60);
    if (stageNow == 0) return;  // no draw from 0 to 5 is at most -1
    person.interest = 10;
    Play(MoveSeed(6, 4 - stageNow), "2");
    EXPECT_TRUE(Shows("2\the is annoyed.\n\t\tI think you're wrong.\n"));
    EXPECT_EQ(person.interest, -10);
}

INSTANTIATE_TEST_SUITE_P(Stages, WooingByStage, ::testing::Values(0, 1, 2, 3, 4));

TEST_F(Meet, MoveMenuUsesThePersonsPronouns) {
    person.male = true;
    person.interest = 10;
    Play(MoveSeed(1, 0), "");
    EXPECT_TRUE(Shows("\tFinding an opportunity, you...\n\t\t1 - Give him a light compliment.\n"
                      "\t\t2 - Speak some serious lovey dovey wooing.\n"
                      "\t\t3 - Ask him what he likes in a personality.\n\t\t4 - Probe him on dating standards.\n"
                      "\t\t5 - Ask to take things to the next level.\n"
                      "\t\t6 - Do something really dumb and embarassing.\n"));
    int foreground = 0, background = 0;
    ASSERT_TRUE(harness.terminal.ColoursOf("6 - Do something", foreground, background));
    EXPECT_EQ(foreground, 15);
}

TEST_F(Meet, MoveMenuHasNoWayOut) {
    person.interest = 10;
    Play(MoveSeed(1, 0), "0");
    EXPECT_TRUE(Shows("0\nBad Input (1-6):0\n"));
}

TEST_F(Meet, LikesInAPersonalityMirrorsTheTwoEndsOfADimension) {
    person.interest = 10;
    person.personality[1] = 72;
    Play(MoveSeed(20, 11), "3");
    EXPECT_TRUE(Shows("3\t\tWell... I enjoy people who are spontaneous.\n"));
    Play(MoveSeed(20, 1), "3");
    EXPECT_TRUE(Shows("3\t\tWell... I am offended by people who are scheduled.\n"));
    person.personality[9] = 99;
    Play(MoveSeed(20, 19), "3");
    EXPECT_TRUE(Shows("3\t\tWell... I love people who are .\n"));
    EXPECT_EQ(person.interest, 10);
}

TEST_F(Meet, DatingStandardsNameALevel) {
    person.interest = 10;
    person.stat[3] = 57;
    Play(MoveSeed(9, 3), "4");
    EXPECT_TRUE(Shows("4\t\tI need someone with at least average humor.\n"));
    person.stat[8] = 215;
    Play(MoveSeed(9, 8), "4");
    EXPECT_TRUE(Shows("4\t\tI need someone with at least perfect power.\n"));
}

TEST_F(Meet, SomethingDumbCostsForty) {
    person.interest = 10;
    Play(MoveSeed(1, 0), "6");
    EXPECT_TRUE(Shows("6... k. You manage to knock something over and look like an idiot.\n\t\tI totally disagree.\n"));
    EXPECT_EQ(person.interest, -30);
}

// Seeds whose first turn is the player's move and whose threshold draw
// (after the key) is `offset`.
std::uint32_t StepSeed(int offset) { return MoveSeed(40, offset); }

TEST_F(Meet, StepUpAtTheThresholdGivesTheNumberAndEndsTheMeeting) {
    person.interest = 80 + 7;
    EXPECT_TRUE(Play(StepSeed(7), "50"));
    EXPECT_TRUE(Shows("5\tshe contemplates it for a moment, then-\n\t\tSure, call me sometime.\n"
                      "\tNow to plan the next phase...\n\t\t0 - Plan smchlan, give me fresh meat!.\n0"));
    EXPECT_EQ(person.stage, 1);
    ASSERT_EQ(harness.game.contactCount, 1);
    const Person& copy = harness.game.contacts[0];
    EXPECT_EQ(copy.firstName, "Ora");
    EXPECT_EQ(copy.stage, 1);
    EXPECT_EQ(copy.interest, 87);
    EXPECT_EQ(copy.knownAs, person.knownAs);
}

TEST_F(Meet, StepUpBelowTheThresholdCostsTwentyAndGoesOn) {
    person.interest = 80 + 7 - 1;
    Play(StepSeed(7), "5");
    EXPECT_TRUE(Shows("5\tshe contemplates it for a moment, then-\n\t\tNo, I'm not ready for that yet...\n"));
    EXPECT_EQ(person.stage, 0);
    EXPECT_EQ(person.interest, 66);
    EXPECT_EQ(harness.game.contactCount, 0);
}

class StepUpByStage : public Meet, public ::testing::WithParamInterface<int> {};

TEST_P(StepUpByStage, ThresholdRisesAHundredPerStageAndTheOfferFollowsTheStage) {
    const int stageNow = GetParam();
    const char* offers[] = {"Sure, call me sometime.", "I wouldn't mind a friendly date...",
                            "You're the one, lets get exclusive.", "Oh sweetie, I love you!", ""};
    person.stage = stageNow;
    person.interest = 100 * (stageNow + 1) - 20 + 39;
    person.gaveNumber = true;
    EXPECT_TRUE(Play(StepSeed(39), "50"));
    EXPECT_EQ(person.stage, stageNow + 1);
    EXPECT_TRUE(Shows("then-\n\t\t" + std::string(offers[stageNow]) + "\n\tNow to plan"));
    // A success ends the meeting even above 300: no exit lines.
    EXPECT_FALSE(Shows("Too Bad"));

    person.stage = stageNow;
    person.interest = 100 * (stageNow + 1) - 20 + 38;
    Play(StepSeed(39), "5");
    EXPECT_EQ(person.stage, stageNow);
}

INSTANTIATE_TEST_SUITE_P(Stages, StepUpByStage, ::testing::Values(0, 1, 2, 3, 4));

TEST_F(Meet, StepUpBeyondTheLastOfferSpeaksTheLastRowAndStillRises) {
    person.stage = 5;
    person.gaveNumber = true;
    person.interest = 700;
    EXPECT_TRUE(Play(StepSeed(0), "50"));
    EXPECT_EQ(person.stage, 6);
    EXPECT_TRUE(Shows("then-\n\t\t\n\tNow to plan the next phase...\n"));
}

TEST_F(Meet, EleventhNumberIsLostAndTheBookIsUntouched) {
    for (int k = 0; k < BookSize; ++k) harness.game.contacts[k].firstName = "Kept" + std::to_string(k);
    harness.game.contactCount = BookSize;
    person.interest = 200;
    EXPECT_TRUE(Play(StepSeed(0), "50"));
    EXPECT_EQ(person.stage, 1);
    EXPECT_EQ(harness.game.contactCount, BookSize);
    for (int k = 0; k < BookSize; ++k) EXPECT_EQ(harness.game.contacts[k].firstName, "Kept" + std::to_string(k));
    EXPECT_TRUE(Shows("\t\tSure, call me sometime.\n\tYour book is full: you lose the number.\n\tNow to plan"));
}

TEST_F(Meet, NumberIsCopiedOnlyTheFirstTime) {
    person.interest = 200;
    Play(StepSeed(0), "50");
    ASSERT_EQ(harness.game.contactCount, 1);
    // She falls back to a stranger and gives the number again.
    person.stage = 0;
    person.interest = 200;
    Play(StepSeed(0), "50");
    EXPECT_EQ(person.stage, 1);
    EXPECT_EQ(harness.game.contactCount, 1);
    // The same for the book's own copy.
    Person& contact = harness.game.contacts[0];
    contact.stage = 0;
    contact.interest = 200;
    harness.random.Seed(StepSeed(0));
    harness.terminal.Type("50");
    harness.Run([&contact](Game& g) { return g.Encounter(contact, true); });
    EXPECT_EQ(contact.stage, 1);
    EXPECT_EQ(harness.game.contactCount, 1);
}

TEST_F(Meet, AboveThreeHundredThePersonLeavesAndStageStays) {
    person.interest = 290;
    EXPECT_TRUE(Play(MoveSeed(10, 9), "10"));
    EXPECT_TRUE(Shows("\t\tI think so too.\n\n\t\tI'm going to go look for someone who wants to get a little more intimate.\n"
                      "\tToo Bad...\n\t\t0 - Should have made your move.\n0"));
    EXPECT_EQ(person.interest, 315);
    EXPECT_EQ(person.stage, 0);
    EXPECT_EQ(harness.terminal.Foreground(), 15);  // not set back
}

TEST_F(Meet, BelowMinusHundredThePersonLeavesAndTheStageFalls) {
    person.stage = stage::NumberGiven;
    person.interest = -70;
    EXPECT_TRUE(Play(MoveSeed(1, 0), "60"));
    EXPECT_TRUE(Shows("\t\tI really have to be going now.\n\tToo Bad...\n\t\t0 - There are more fish in the sea.\n0"));
    EXPECT_EQ(person.interest, -110);
    EXPECT_EQ(person.stage, 0);
    person.interest = -70;
    Play(MoveSeed(1, 0), "60");
    EXPECT_EQ(person.stage, stage::WrittenOff);
}

TEST_F(Meet, LeftOverInterestEndsTheNextMeetingAfterOneTurn) {
    person.interest = 400;
    EXPECT_TRUE(Play(MoveSeed(1, 0), "40"));
    EXPECT_TRUE(Shows("Should have made your move."));
    EXPECT_EQ(harness.game.tick, 2);
}

}  // namespace
}  // namespace tg
