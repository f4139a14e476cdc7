// How a game stands at its home menu: its mode, the player, the clock, and
// the person in the book furthest along, by the stages' names.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "support/game_harness.hpp"

namespace tg {
namespace {

using testing::GameHarness;

TEST(RestSummary, NamesTheModeThePlayerAndTheDayAndTime) {
    GameHarness harness;
    harness.game.playMode = mode::Trophy;
    harness.game.player.firstName = "Ann";
    harness.game.player.lastName = "Lee";
    harness.game.hour = 2 * 24 + 14;  // the clock line shows this hour as 3pm
    harness.game.tick = 3;
    const RestSummary summary = harness.game.Summary();
    EXPECT_EQ(summary.mode + "|" + summary.player + "|" + summary.clock, "Trophy|Ann Lee|Day 3, Wednesday 3:30pm");
}

TEST(RestSummary, ThePersonFurthestAlongAndTheirStage) {
    // Each contact's stage and interest; who is furthest along (A, B, ...)
    // and that stage's name.
    const std::vector<std::pair<std::vector<std::pair<int, int>>, std::string>> cases = {
        {{}, ""},
        {{{1, 0}}, "A number given"},
        {{{1, 50}, {2, 10}}, "B dating"},
        {{{3, 0}, {1, 900}}, "A going steady"},
        {{{2, 0}, {4, 0}}, "B in love"},
        {{{5, 0}, {4, 250}}, "A beyond in love"},
        {{{2, 10}, {2, 90}}, "B dating"},
        {{{-1, 0}, {0, 0}}, "B stranger"},
        {{{-1, 0}}, "A written off"},
    };
    for (const auto& [book, closest] : cases) {
        GameHarness harness;
        for (const auto& [stage, interest] : book) {
            Person& contact = harness.game.contacts[harness.game.contactCount];
            contact.knownAs = std::string(1, static_cast<char>('A' + harness.game.contactCount++));
            contact.stage = stage;
            contact.interest = interest;
        }
        const RestSummary summary = harness.game.Summary();
        EXPECT_EQ(book.empty() ? summary.closestStage : summary.closest + " " + summary.closestStage, closest);
    }
}

}  // namespace
}  // namespace tg
