// The opening: the banner, the play mode, the introduction and character creation.
#include <gtest/gtest.h>

#include "support/game_harness.hpp"

namespace tg {
namespace {

using testing::GameHarness;

// The screens of a transcript, split at each clear.
std::vector<std::string> Screens(const std::string& transcript) {
    std::vector<std::string> screens;
    std::size_t start = 0;
    for (std::size_t at = transcript.find('\f'); at != std::string::npos; at = transcript.find('\f', start)) {
        screens.push_back(transcript.substr(start, at - start));
        start = at + 1;
    }
    screens.push_back(transcript.substr(start));
    return screens;
}

std::size_t Columns(const std::string& utf8) {
    std::size_t columns = 0;
    for (unsigned char c : utf8) columns += (c & 0xC0) != 0x80;
    return columns;
}

TEST(Construction, DrawsThePlayersNameThenTenPlaceholders) {
    GameHarness harness(1);
    const Game& game = harness.game;
    EXPECT_EQ(game.player.firstName, "Rick");
    EXPECT_EQ(game.player.lastName, "Humphrey");
    EXPECT_TRUE(game.player.male);
    EXPECT_FALSE(game.player.seeksMale);
    EXPECT_EQ(game.contacts[0].firstName, "Lateefah");
    EXPECT_EQ(game.contacts[0].lastName, "Morimoto");
    EXPECT_EQ(game.contactCount, 0);
    EXPECT_EQ(game.hourLimit, 744);
    // Two name draws and 102 for each placeholder, nothing more.
    Random probe(1);
    for (int i = 0; i < 2 + 10 * 102; ++i) probe.Next();
    EXPECT_EQ(harness.random.Next(), probe.Next());
}

TEST(StartGame, BannerAndPlayModeMenu) {
    GameHarness harness(1, "0");
    harness.Start();
    const std::vector<std::string> screens = Screens(harness.terminal.Transcript());
    ASSERT_GE(screens.size(), 2u);
    const std::string& opening = screens[1];
    const std::string banner = opening.substr(0, opening.find("Pick"));
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; (end = banner.find('\n', start)) != std::string::npos; start = end + 1) {
        lines.push_back(banner.substr(start, end - start));
    }
    ASSERT_EQ(lines.size(), 9u);
    for (const std::string& line : lines) EXPECT_EQ(Columns(line), 23u) << line;
    EXPECT_EQ(lines[0], "\u2554" + [] { std::string s; for (int i = 0; i < 21; ++i) s += "\u2550"; return s; }() + "\u2557");
    EXPECT_EQ(lines[2], "\u2551     Tender          \u2551");
    EXPECT_EQ(lines[3], "\u2551         Gamble!     \u2551");
    EXPECT_EQ(lines[6], "\u2551     Tad Harwick     \u2551");
    EXPECT_EQ(opening.substr(banner.size()), "Pick a Play Mode:\n\t1 - Trophy Mode\n\t0 - FreePlay Mode\n0");
}

TEST(StartGame, BannerColoursThenMenuColours) {
    GameHarness harness(1, "");
    harness.Start();  // ends at the play-mode prompt
    const auto& spans = harness.terminal.ScreenSpans();
    ASSERT_EQ(spans.size(), 3u);
    EXPECT_EQ(spans[0].foreground, 12);
    EXPECT_EQ(spans[0].background, 4);
    EXPECT_EQ(spans[1].text, "Pick a Play Mode:\n");
    EXPECT_EQ(spans[1].foreground, 7);
    EXPECT_EQ(spans[1].background, 0);
    EXPECT_EQ(spans[2].text, "\t1 - Trophy Mode\n\t0 - FreePlay Mode\n");
    EXPECT_EQ(spans[2].foreground, 15);
    EXPECT_EQ(harness.terminal.Foreground(), 7);
}

TEST(StartGame, FreePlayGoesStraightHomeWithAverageStats) {
    GameHarness harness(1, "0");
    EXPECT_EQ(harness.Start(), 0);
    const Game& game = harness.game;
    EXPECT_EQ(game.playMode, mode::FreePlay);
    for (int value : game.player.stat) EXPECT_EQ(value, 50);
    EXPECT_EQ(game.hourLimit, 10'000'000);
    EXPECT_EQ(game.statPoints, 0);
    EXPECT_EQ(game.player.firstName, "Rick");
    EXPECT_TRUE(game.player.male);
    EXPECT_FALSE(game.player.seeksMale);
    EXPECT_EQ(harness.terminal.Screen().rfind("Monday 8:10am (Day 1/416666)\n\tWhat would you like to do?\n", 0), 0u);
}

TEST(StartGame, TrophyModeShowsTheIntroductionInHeadings) {
    GameHarness harness(1, "1");
    harness.Start();
    const std::string expected =
        "\t\tYour old friends were picking on you last reunion about not\n"
        "\t\thaving a longterm significant other. You have decided to\n"
        "\t\tprove them wrong by finding a partner before the next reunion,\n"
        "\t\tone month from now. You will need to find someone, get their\n"
        "\t\tnumber,get them to date you, get them to go steady, and finally\n"
        "\t\tto fall in love.\n\t\tGood luck!\n"
        "Character Creation\n\tYou are a ...\n\t\t1 - Female\n\t\t2 - Male\n";
    EXPECT_EQ(harness.terminal.Screen(), expected);
    int foreground = 0, background = 0;
    ASSERT_TRUE(harness.terminal.ColoursOf("Good luck!", foreground, background));
    EXPECT_EQ(foreground, 12);
    EXPECT_EQ(harness.game.statPoints, 450);
    EXPECT_EQ(harness.game.hourLimit, 744);
    EXPECT_EQ(harness.game.playMode, mode::Trophy);
}

TEST(StartGame, UnlistedModeTwoSkipsTheIntroduction) {
    GameHarness harness(1, "2");
    harness.Start();
    EXPECT_EQ(harness.game.playMode, mode::TrophyWithoutIntroduction);
    EXPECT_EQ(harness.game.statPoints, 450);
    EXPECT_EQ(harness.terminal.Screen().rfind("Character Creation\n", 0), 0u);
}

TEST(StartGame, CharacterCreationAsksGenderSeekingAndName) {
    GameHarness harness(1, "221Ann Lee\n");
    harness.Start();
    EXPECT_TRUE(harness.game.player.male);
    EXPECT_FALSE(harness.game.player.seeksMale);
    EXPECT_EQ(harness.game.player.firstName, "Ann");
    EXPECT_EQ(harness.game.player.lastName, "Lee");
    const std::string& transcript = harness.terminal.Transcript();
    EXPECT_NE(transcript.find("\t\t2 - Male\n2\n\tAnd you are seeking ...\n\t\t1 - Females\n\t\t2 - Males\n1"
                              "\n\tEnter your name 'First Last' (r for random)\nAnn Lee\n"),
              std::string::npos);
}

struct NameEntry : ::testing::TestWithParam<std::tuple<std::string, std::string, std::string>> {};

TEST_P(NameEntry, TakesTwoWordsHoweverTheyAreTyped) {
    const auto& [typed, first, last] = GetParam();
    GameHarness harness(1, "211" + typed);
    harness.Start();
    EXPECT_EQ(harness.game.player.firstName, first);
    EXPECT_EQ(harness.game.player.lastName, last);
}

INSTANTIATE_TEST_SUITE_P(Typing, NameEntry,
                         ::testing::Values(std::make_tuple("Ann Lee\n", "Ann", "Lee"),
                                           std::make_tuple("Ann\nLee\n", "Ann", "Lee"),
                                           std::make_tuple("\n\n  Ann   \n\n Lee\n", "Ann", "Lee"),
                                           std::make_tuple("Ann Lee Extra\n", "Ann", "Lee"),
                                           std::make_tuple("rr Lee\n", "rr", "Lee"),
                                           std::make_tuple("Randy r\n", "Randy", "r")));

TEST(StartGame, RandomNameComesFromTheChosenGendersTable) {
    // Seed 1 after construction: the name draws are numbers 1023 and 1024.
    Random probe(1);
    for (int i = 0; i < 1022; ++i) probe.Next();
    const int first = probe.Below(21);
    const int last = probe.Below(21);
    GameHarness female(1, "112r\n");
    female.Start();
    EXPECT_EQ(female.game.player.firstName, FemaleFirstNames[first]);
    EXPECT_EQ(female.game.player.lastName, Surnames[last]);
    GameHarness male(1, "221R\n");
    male.Start();
    EXPECT_EQ(male.game.player.firstName, MaleFirstNames[first]);
    EXPECT_EQ(male.game.player.lastName, Surnames[last]);
}

TEST(StartGame, WordsAfterARandomNameAreNeverSeenAsKeys) {
    // "r Lee": Lee is thrown away with the rest of the line, so the next
    // key the stat screen sees is the 0 after it (accept), then 2 (No).
    GameHarness harness(1, "211r Lee 1\n02");
    harness.Start();
    EXPECT_NE(harness.game.player.lastName, "Lee");
    EXPECT_NE(harness.game.player.firstName, "Lee");
    EXPECT_EQ(testing::Count(harness.terminal.Transcript(), "Bad Input"), 0);
    EXPECT_NE(harness.terminal.Screen().find("\tStat Points Left: 450\n"), std::string::npos);
}

TEST(StartGame, EndOfInputDuringNameEntryEndsTheGame) {
    GameHarness blanks(1, "211   \n  ");
    EXPECT_EQ(blanks.Start(), 0);
    GameHarness oneWord(1, "211Ann");
    EXPECT_EQ(oneWord.Start(), 0);
    EXPECT_EQ(oneWord.game.player.firstName, "Ann");
}

TEST(StartGame, BadKeysAtTheOpeningPromptsAreAnsweredNotRepeated) {
    GameHarness harness(1, "3" "0");
    harness.Start();
    EXPECT_NE(harness.terminal.Transcript().find("\t0 - FreePlay Mode\n3\nBad Input (0-2):3\n0"), std::string::npos);
    GameHarness gender(1, "20" "1" "3" "2");
    gender.Start();
    EXPECT_NE(gender.terminal.Transcript().find("0\nBad Input (1-2):0\n1"), std::string::npos);
    EXPECT_NE(gender.terminal.Transcript().find("3\nBad Input (1-2):3\n2"), std::string::npos);
    EXPECT_FALSE(gender.game.player.male);
    EXPECT_TRUE(gender.game.player.seeksMale);
}

}  // namespace
}  // namespace tg
