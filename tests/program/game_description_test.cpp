// Kept games described by replaying their journals silently: how each
// stands, what its last home menu told, and journals that do not replay.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "program/game_description.hpp"
#include "shell/play_game.hpp"
#include "support/scripted_terminal.hpp"

namespace tg::journal {
namespace {

const GameRunner PlayIt = [](Platform& platform, std::uint32_t seed, GameEvents* events, InputJournal* journal) {
    return PlayGame(platform, seed, events, journal);
};

// A journal kept in memory.
struct KeptBytes : JournalSink {
    std::optional<Fault> Append(std::string_view more) override { return bytes.append(more), std::nullopt; }
    std::optional<Fault> Sync() override { return std::nullopt; }
    std::string bytes;
};

// The journal of a game played with these keys until they ran out.
std::string JournalOf(const std::string& keys) {
    KeptBytes journal;
    journal.Append(EncodeHeader(NewHeader(7, "test", Border::DoubleLines, 0)));
    ScriptedTerminal terminal(keys);
    (void)PlayNewGame(PlayIt, terminal, 7, [&] { return &journal; });
    return journal.bytes;
}

TEST(GameDescription, HowTheGameStandsAndWhoPlaysIt) {
    const struct {
        std::string keys;
        Standing standing;
        std::string player;  // how the last home menu's line starts; "-" when the game never reached one
    } cases[] = {
        {"", Standing::Unfinished, "-"},
        {"221Ann Lee\n01", Standing::Unfinished, "Trophy Ann Lee"},
        {"00", Standing::Quit, "FreePlay "},
        {"07\x1b", Standing::Escaped, "FreePlay "},
        {"05", Standing::ReunionLost, "FreePlay "},
    };
    for (const auto& [keys, standing, player] : cases) {
        const GameDescription description = Describe(PlayIt, JournalOf(keys));
        EXPECT_EQ(description.standing, standing) << keys;
        const std::string told = description.rest ? description.rest->mode + " " + description.rest->player : "-";
        EXPECT_EQ(told.rfind(player, 0), 0u) << keys << ": " << told;
    }
}

// Out looking, a tick after the home menu's 8:10am: the game stands where
// its last screen's clock does.
TEST(GameDescription, TheClockIsTheLastScreensNotTheLastHomeMenus) {
    const GameDescription description = Describe(PlayIt, JournalOf("024"));
    ASSERT_TRUE(description.rest);
    EXPECT_EQ(description.rest->clock, "Day 1, Monday 8:20am");
}

TEST(GameDescription, AJournalThatDoesNotReplayIsDamagedWithTheReason) {
    std::string otherSeed = JournalOf("0241" "3333");
    otherSeed.replace(otherSeed.find("seed 7"), 6, "seed 8");
    for (const std::string& bytes : {otherSeed, std::string("not a journal\n\n")}) {
        EXPECT_EQ(Describe(PlayIt, bytes).standing, Standing::Damaged);
    }
    EXPECT_NE(Describe(PlayIt, otherSeed).damage.find("record "), std::string::npos) << "names where it strays";
}

}  // namespace
}  // namespace tg::journal
