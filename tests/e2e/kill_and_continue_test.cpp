// SIGKILL at random moments of long games played in a pseudo-terminal.
// After every kill, --continue must show the screen of the game as it stood
// where its journal ends, and the keys not read yet must then give, byte for
// byte, what the same game gave played without a break.
//
// Where a journal ends: a journal holding n inputs stands for the prompt at
// which the uninterrupted game, having read n inputs, waited for the next
// one. A kill before a typed key was read leaves the journal one input short
// of the keys typed. A kill after the key was journaled but before all of
// its effect was written, or in the sleeping pause it led to, leaves the
// journal one input ahead of the screen on display: the continue shows the
// screen after that key, the one the player was about to see.
//
// Which bytes are compared: a continue first repaints the screen from
// memory, with bytes of its own (a clear, then the remembered text in its
// colours), so the repaint is compared as a rendered screen: every cell's
// glyph and colours and the cursor. From the moment the continued game
// waits at that first prompt, its bytes must be the uninterrupted game's
// bytes from the same prompt on, unchanged: the terminal sends a colour
// change with each write that needs one, and the repaint ends in the
// colours the game's last text had, as the uninterrupted terminal did.
// A killed game's bytes must be a prefix of the uninterrupted game's bytes
// from where it began.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <iostream>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "journal/journal_format.hpp"
#include "journal_on_disk.hpp"
#include "pty_game.hpp"
#include "screen_checks.hpp"
#include "screen_snapshot.hpp"
#include "script_finder.hpp"

namespace tg::e2e {
namespace {

constexpr int Rows = 25;
constexpr int Columns = 80;

// A game to play: its seed and what is typed at each prompt, one input
// each (a key, or a name line of one word).
struct KeyScript {
    std::uint32_t seed = 0;
    std::vector<std::string> pieces;
};

// The game played through without a break.
struct Reference {
    std::string output;                // every byte it wrote
    std::vector<std::size_t> offsets;  // output written when it waited with k inputs read; then the end
    std::vector<ScreenSnapshot> screens;
    std::vector<bool> sleeps;          // piece k leads through a sleeping pause
    std::vector<std::string> records;  // its journal
};

// How the kills fell.
struct Tally {
    int kills = 0;
    int beforeTheKeyWasRead = 0;
    int beforeItsEffectWasShown = 0;
    int atTheNextPrompt = 0;
    int inASleepingPause = 0;
    int afterTheEnding = 0;
};

// One game process with its journal.
class JournaledGame {
public:
    JournaledGame(const std::vector<std::string>& arguments, const TemporaryFolder& state)
        : game_(SpawnOptions{arguments, {state.StateHome()}, Rows, Columns}), state_(state) {}

    PtyGame& Game() { return game_; }

    // The game's journal, made with its first input; empty before that.
    const std::filesystem::path& Journal() {
        if (journal_.empty()) {
            const std::vector<std::filesystem::path> journals = JournalsIn(state_.Journals());
            EXPECT_LE(journals.size(), 1u);
            if (!journals.empty()) journal_ = journals.front();
        }
        return journal_;
    }

    // Waits until the game waits for input with its output all rendered.
    ::testing::AssertionResult ReachPrompt() {
        if (!game_.WaitUntilReading()) {
            return ::testing::AssertionFailure() << "the game did not come to a prompt:\n" << game_.ScreenText();
        }
        return ::testing::AssertionSuccess();
    }

private:
    PtyGame game_;
    const TemporaryFolder& state_;
    std::filesystem::path journal_;
};

journal::Contents ParseJournal(const std::filesystem::path& file) { return journal::Parse(ReadFile(file)); }

Reference PlayThrough(const KeyScript& script) {
    Reference reference;
    TemporaryFolder state;
    JournaledGame game({"--seed", std::to_string(script.seed)}, state);
    for (const std::string& piece : script.pieces) {
        EXPECT_TRUE(game.ReachPrompt()) << "prompt " << reference.offsets.size();
        reference.offsets.push_back(game.Game().Output().size());
        reference.screens.push_back(Snapshot(game.Game(), Rows, Columns));
        game.Game().Type(piece);
    }
    EXPECT_TRUE(ExitedWith(game.Game().WaitForExit(), 0)) << game.Game().ScreenText();
    reference.output = game.Game().Output();
    reference.offsets.push_back(reference.output.size());
    for (std::size_t k = 0; k + 1 < reference.offsets.size(); ++k) {
        const std::string step = reference.output.substr(reference.offsets[k], reference.offsets[k + 1] - reference.offsets[k]);
        reference.sleeps.push_back(step.find("Sleeping...") != std::string::npos);
    }
    reference.records = RecordsWithoutTiming(ParseJournal(game.Journal()));
    return reference;
}

// Where the first bytes differ, for messages.
std::string FirstDifference(const std::string& shown, const std::string& expected) {
    std::size_t at = 0;
    while (at < shown.size() && at < expected.size() && shown[at] == expected[at]) ++at;
    const auto around = [at](const std::string& bytes) {
        const std::size_t from = at < 40 ? 0 : at - 40;
        return ::testing::PrintToString(bytes.substr(from, 80));
    };
    return "bytes differ at " + std::to_string(at) + ":\n  written  " + around(shown) + "\n  expected " +
           around(expected);
}

// Plays the script to its end in one state folder, killing the game again
// and again and continuing it each time.
class KillChain {
public:
    KillChain(const KeyScript& script, const Reference& reference, std::uint32_t rngSeed, int meanStep, Tally& tally)
        : script_(script), reference_(reference), random_(rngSeed), meanStep_(meanStep), tally_(tally) {}

    void Run() {
        auto game = std::make_unique<JournaledGame>(
            std::vector<std::string>{"--seed", std::to_string(script_.seed)}, state_);
        std::size_t consumed = 0;
        for (;;) {
            ASSERT_TRUE(game->ReachPrompt()) << "after " << consumed << " inputs";
            ASSERT_TRUE(SameScreen(Snapshot(game->Game(), Rows, Columns), reference_.screens[consumed]))
                << "the screen after " << consumed << " inputs";
            const std::size_t start = game->Game().Output().size();
            const std::size_t from = consumed;
            const std::size_t last = PlayUntilKill(*game, consumed);
            if (::testing::Test::HasFatalFailure()) return;
            const bool killed = KilledBy(game->Game().WaitForExit(), SIGKILL);
            const std::string written = game->Game().Output().substr(start);
            const std::string expected = reference_.output.substr(reference_.offsets[from]);
            if (!killed) {  // it ended with the last key before the kill came
                ASSERT_EQ(written, expected) << FirstDifference(written, expected);
                break;
            }
            ASSERT_EQ(expected.compare(0, written.size(), written), 0) << FirstDifference(written, expected);

            const std::filesystem::path file = game->Journal();
            // Killed before its first input was kept: no journal, or one made
            // and not yet written (a crash's empty file, which the game passes over).
            if (file.empty() || std::filesystem::file_size(file) == 0) {
                if (!file.empty()) std::filesystem::remove(file);
                ASSERT_EQ(last, 0u);
                Classify(0, last, from, written.size());
                game = std::make_unique<JournaledGame>(std::vector<std::string>{"--seed", std::to_string(script_.seed)},
                                                       state_);
                continue;
            }
            const journal::Contents contents = ParseJournal(file);
            ASSERT_FALSE(contents.fault);
            const std::size_t held = InputCount(contents);
            ASSERT_TRUE(held == last || held == last + 1) << held << " inputs journaled, " << last + 1 << " typed";
            ExpectRecordsOfTheSameGame(contents);
            Classify(held, last, from, written.size());
            const std::vector<std::string> records = RecordsWithoutTiming(contents);
            if (std::find(records.begin(), records.end(), "ending") != records.end()) {
                ExpectContinueRefusedAfterTheEnding();
                return;
            }
            consumed = held;
            game = std::make_unique<JournaledGame>(std::vector<std::string>{"--continue"}, state_);
        }
        EXPECT_EQ(RecordsWithoutTiming(ParseJournal(game->Journal())), reference_.records)
            << "the continued journal differs from the uninterrupted game's";
    }

private:
    // Types the pieces from `next` on, waiting for each prompt, and kills
    // the game at a random moment after the last of them. Returns the index
    // of the last piece typed.
    std::size_t PlayUntilKill(JournaledGame& game, std::size_t next) {
        std::size_t last = std::min(next + Uniform(0, 2 * meanStep_ - 2), script_.pieces.size() - 1);
        std::chrono::microseconds delay(0);
        // A game passing through the sleeping pause is killed in it: the
        // pause is a case of its own, and sleeping it out would only cost time.
        for (std::size_t k = next; k <= last; ++k) {
            if (reference_.sleeps[k]) {
                last = k;
                delay = std::chrono::milliseconds(Uniform(20, 1000));  // of the night's 3.5 s
                break;
            }
        }
        if (delay.count() == 0) {
            // Mostly within the fraction of a millisecond a key takes, so
            // that kills fall before, while and after it is handled.
            const long long draw = Uniform(0, 1000);
            delay = std::chrono::microseconds(draw * draw * draw / 1'000'000);
        }
        for (std::size_t k = next; k <= last; ++k) {
            if (k > next) {
                EXPECT_TRUE(game.Game().WaitUntilReading()) << "before piece " << k;
            }
            game.Game().Type(script_.pieces[k]);
        }
        std::this_thread::sleep_for(delay);
        game.Game().Signal(SIGKILL);
        return last;
    }

    void ExpectRecordsOfTheSameGame(const journal::Contents& contents) {
        const std::vector<std::string> records = RecordsWithoutTiming(contents);
        ASSERT_LE(records.size(), reference_.records.size());
        for (std::size_t k = 0; k < records.size(); ++k) {
            ASSERT_EQ(records[k], reference_.records[k]) << "record " << k + 1;
        }
    }

    void Classify(std::size_t held, std::size_t last, std::size_t from, std::size_t written) {
        ++tally_.kills;
        if (held == last) {
            ++tally_.beforeTheKeyWasRead;
        } else if (reference_.sleeps[last] && written < reference_.offsets[held] - reference_.offsets[from]) {
            ++tally_.inASleepingPause;
        } else if (written < reference_.offsets[held] - reference_.offsets[from]) {
            ++tally_.beforeItsEffectWasShown;
        } else {
            ++tally_.atTheNextPrompt;
        }
    }

    // The game was killed at its ending, which is journaled: there is
    // nothing left to go on with.
    void ExpectContinueRefusedAfterTheEnding() {
        ++tally_.afterTheEnding;
        PtyGame refused(SpawnOptions{{"--continue"}, {state_.StateHome()}, Rows, Columns});
        EXPECT_TRUE(ExitedWith(refused.WaitForExit(), 1));
        EXPECT_NE(refused.Output().find("no unfinished game to continue"), std::string::npos) << refused.Output();
    }

    int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

    const KeyScript& script_;
    const Reference& reference_;
    std::mt19937 random_;
    int meanStep_;
    Tally& tally_;
    TemporaryFolder state_;
};

void KillAgainAndAgain(const KeyScript& script, int chains, int meanStep, std::uint32_t rngSeed) {
    const Reference reference = PlayThrough(script);
    ASSERT_FALSE(::testing::Test::HasFailure()) << "the uninterrupted game";
    Tally tally;
    for (int chain = 0; chain < chains && !::testing::Test::HasFailure(); ++chain) {
        KillChain(script, reference, rngSeed + static_cast<std::uint32_t>(chain), meanStep, tally).Run();
    }
    std::cout << script.pieces.size() << " inputs, " << chains << " games, " << tally.kills << " kills: "
              << tally.beforeTheKeyWasRead << " before the key was read, " << tally.beforeItsEffectWasShown
              << " before its effect was shown, " << tally.atTheNextPrompt << " at the next prompt, "
              << tally.inASleepingPause << " in a sleeping pause, " << tally.afterTheEnding << " after the ending\n";
    EXPECT_GE(tally.kills, 100);
}

std::vector<std::string> Pieces(const std::string& keys) {
    std::vector<std::string> pieces;
    for (const char key : keys) pieces.emplace_back(1, key);
    return pieces;
}

// FreePlay through meetings, calls and dates to the success ending.
TEST(KillAndContinue, FreePlayToTheReunion) {
    const std::optional<Script> found = FindSuccessScript();
    ASSERT_TRUE(found) << "no seed leads to success within a day";
    KeyScript script{found->seed, Pieces(found->keys + "0")};
    KillAgainAndAgain(script, 3, 3, 20261209);
}

// Trophy Mode: the opening with a random name (a word of an edited line),
// every stat point spent, training, an empty book, bad keys, the reunion
// lost.
TEST(KillAndContinue, TrophyOpeningAndTraining) {
    KeyScript script{7, Pieces("1x21")};
    script.pieces.emplace_back("r\n");
    std::string keys = "1";
    for (int k = 0; k < 5; ++k) keys += "123456789";  // all 450 points: every stat up by 50
    keys += "0x0"                // back, a bad key, accept; the night is slept
            "1913820" "1x15730"  // nine hours of training
            "30" "40"            // an empty book to call and to date from
            "20" "x" "50";       // nowhere to go; the reunion, lost
    for (std::string& piece : Pieces(keys)) script.pieces.push_back(std::move(piece));
    KillAgainAndAgain(script, 3, 2, 20261210);
}

}  // namespace
}  // namespace tg::e2e
