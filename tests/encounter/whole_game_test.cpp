// Whole games played from a seed and keys.
#include <gtest/gtest.h>

#include <iterator>
#include <regex>

#include "people/vocabulary.hpp"
#include "support/game_harness.hpp"

namespace tg {
namespace {

using testing::Count;
using testing::GameHarness;

// A FreePlay game from seed 7 played to the reunion: out to Marmy's Pub,
// a number from the first stranger, calls and a date, step ups carried
// over from meetings that ended above 300, and the success at the end.
constexpr std::uint32_t TrophySeed = 2;

constexpr const char* WinningKeys =
    "024133133333313350031333333504123330413304123231041304150313031303110311031503110311031303130313031303130315050";

struct WholeGame : ::testing::Test {
    GameHarness harness{7, WinningKeys};
    int status = harness.Start();
    const std::string& transcript = harness.terminal.Transcript();

    std::size_t Find(const std::string& text, std::size_t from = 0) const { return transcript.find(text, from); }
};

TEST_F(WholeGame, EndsWithTheSuccessTexts) {
    EXPECT_EQ(status, 0);
    EXPECT_FALSE(harness.terminal.KeysLeft());
    EXPECT_EQ(harness.terminal.Screen(),
              "\tCongratulations! You attend the reunion and everyone is shocked!"
              "\tWhat wil come next year? CEO position? Nobel Prize? Gold Medal?"
              "\tWho knows...\n\tBut wherever you go, your lucky partner will be by your side.0");
    EXPECT_EQ(Count(transcript, "Bad Input"), 0);
}

TEST_F(WholeGame, WalksEveryStageInOrder) {
    std::size_t at = Find("\t\t4 - Marmy's Pub\n");
    ASSERT_NE(at, std::string::npos);
    at = Find("\tWho would you like to approach?\n", at);
    ASSERT_NE(at, std::string::npos);
    for (const char* offer : {"\t\tSure, call me sometime.", "\t\tI wouldn't mind a friendly date...",
                              "\t\tYou're the one, lets get exclusive.", "\t\tOh sweetie, I love you!",
                              "then-\n\t\t\n\tNow to plan the next phase...", "Congratulations!"}) {
        const std::size_t next = Find(offer, at);
        ASSERT_NE(next, std::string::npos) << offer;
        at = next;
    }
}

TEST_F(WholeGame, TheBookHoldsTheOnePersonWhoWasWon) {
    const Game& game = harness.game;
    ASSERT_EQ(game.contactCount, 1);
    EXPECT_EQ(game.contacts[0].stage, 5);
    EXPECT_EQ(game.contacts[0].knownAs, game.contacts[0].firstName);
    EXPECT_FALSE(game.contacts[0].male);
    // Calls and a date reached her through the book, greeting the player.
    EXPECT_GE(Count(transcript, "\t\tHi " + game.player.firstName + "!\n"), 5);
    EXPECT_NE(Find("4\t\t1 - " + game.contacts[0].firstName + "\n\t\t0 - Forget Calling...\n1"), std::string::npos);
    // Stage 3 and beyond are reached only through meetings that started
    // above 300 after ending with "Should have made your move."
    EXPECT_GE(Count(transcript, "0 - Should have made your move."), 2);
}

TEST_F(WholeGame, EveryFreePlayReactionShowsTheNumbersAndEndsWithAnEmptyLine) {
    // A reply heading: two tabs, the reply row, "(change:interest)", the
    // reply's own newline and the heading's newline.
    const std::regex reply(R"(\t\t[^\n(]+\((-?\d+):(-?\d+)\)\n)");
    const std::regex replyThenEmptyLine(R"(\t\t[^\n(]+\((-?\d+):(-?\d+)\)\n\n)");
    const auto count = [&](const std::regex& pattern) {
        return std::distance(std::sregex_iterator(transcript.begin(), transcript.end(), pattern),
                             std::sregex_iterator());
    };
    EXPECT_GE(count(reply), 20);
    EXPECT_EQ(count(replyThenEmptyLine), count(reply));
}

// A Trophy game without the introduction: a man seeking women, the looks
// and character stats at 50, the rest unspent, out to Marmy's Pub and talking with
// the first stranger until the keys run out.
TEST(TrophyGame, EveryReactionEndsWithAnEmptyLineAndNoNumbers) {
    GameHarness harness(TrophySeed, std::string("221Ann Lee\n" "1" "111112222233333444445555566666" "001" "241") +
                                        std::string(60, '3'));
    harness.Start();
    const std::string& transcript = harness.terminal.Transcript();
    int replies = 0;
    for (const std::string_view row : ReplyLines) {
        const std::string heading = "\t\t" + std::string(row) + "\n";
        for (std::size_t at = transcript.find(heading); at != std::string::npos;
             at = transcript.find(heading, at + 1)) {
            ++replies;
            EXPECT_EQ(transcript.substr(at + heading.size(), 1), "\n") << row;
        }
    }
    EXPECT_GE(replies, 10);
    EXPECT_EQ(transcript.find(")\n\n"), std::string::npos) << "numbers after a reply in Trophy Mode";
}

TEST(Replay, SameSeedAndKeysGiveTheSameGame) {
    GameHarness first(7, WinningKeys);
    first.Start();
    GameHarness second(7, WinningKeys);
    second.Start();
    EXPECT_EQ(first.terminal.Transcript(), second.terminal.Transcript());
    GameHarness other(8, WinningKeys);
    other.Start();
    EXPECT_NE(first.terminal.Transcript(), other.terminal.Transcript());
}

}  // namespace
}  // namespace tg
