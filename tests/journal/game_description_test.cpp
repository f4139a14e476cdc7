// Kept games described by replaying their journals silently: how each
// stands, what its last home menu told, and journals that do not replay.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "journal/game_description.hpp"
#include "journal/sessions.hpp"
#include "shell/play_game.hpp"
#include "terminal/scripted_terminal.hpp"

namespace tg::journal {
namespace {

constexpr std::uint32_t Seed = 7;

const GameRunner PlayIt = [](Platform& platform, std::uint32_t seed, GameEvents* events) {
    return PlayGame(platform, seed, events);
};

// A journal kept in memory.
class KeptBytes : public JournalSink {
public:
    bool Append(std::string_view more) override {
        bytes += more;
        return true;
    }
    bool Sync() override { return true; }
    const std::string& Path() const override { return none_; }
    const std::string& Error() const override { return none_; }

    std::string bytes;

private:
    std::string none_;
};

// The journal of a game played with these keys until they ran out.
std::string JournalOf(const std::string& keys) {
    KeptBytes journal;
    journal.Append(EncodeHeader(NewHeader(Seed, "test", Border::DoubleLines, 0)));
    ScriptedTerminal terminal(keys);
    (void)PlayNewGame(PlayIt, terminal, Seed, &journal);
    return journal.bytes;
}

struct StandingCase {
    const char* name;
    std::string keys;
    Standing standing;
    std::string mode;  // of the last home menu; "" when the game never reached one
};

TEST(GameDescription, HowTheGameStandsAndItsLastHomeMenu) {
    const std::vector<StandingCase> cases = {
        {"closed in the opening", "", Standing::Unfinished, ""},
        {"closed at the home menu", "0", Standing::Unfinished, "FreePlay"},
        {"Quit", "00", Standing::Quit, "FreePlay"},
        {"Escape after a bad key", "07\x1b", Standing::Escaped, "FreePlay"},
        {"the reunion with an empty book", "05", Standing::ReunionLost, "FreePlay"},
        {"named and trained in Trophy Mode", "221Ann Lee\n01", Standing::Unfinished, "Trophy"},
    };
    for (const StandingCase& game : cases) {
        const GameDescription description = Describe(PlayIt, JournalOf(game.keys));
        EXPECT_EQ(description.standing, game.standing) << game.name;
        EXPECT_EQ(description.rest ? description.rest->mode : "", game.mode) << game.name;
    }
    const GameDescription trophy = Describe(PlayIt, JournalOf("221Ann Lee\n01"));
    ASSERT_TRUE(trophy.rest);
    EXPECT_EQ(trophy.rest->player, "Ann Lee");
}

TEST(GameDescription, AJournalThatDoesNotReplayIsDamagedWithTheReason) {
    std::string otherSeed = JournalOf("0241" "3333");
    otherSeed.replace(otherSeed.find("seed 7"), 6, "seed 8");
    for (const std::string& bytes : {otherSeed, std::string("not a journal\n\n")}) {
        const GameDescription description = Describe(PlayIt, bytes);
        EXPECT_EQ(description.standing, Standing::Damaged);
        EXPECT_FALSE(description.damage.empty());
    }
    EXPECT_NE(Describe(PlayIt, otherSeed).damage.find("record "), std::string::npos) << "names where it strays";
}

}  // namespace
}  // namespace tg::journal
