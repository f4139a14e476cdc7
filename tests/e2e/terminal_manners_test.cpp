// How the game leaves a terminal it played in: the shell's screen as it
// was, the prompt on a line of its own, an ending still readable, a kept
// game's way back; files it must not overwrite; a replay's end and state.

#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <vector>

#include "journal_on_disk.hpp"
#include "piped_game.hpp"
#include "pty_game.hpp"
#include "screen_checks.hpp"

namespace tg::e2e {
namespace {

namespace fs = std::filesystem;

const std::string ShellPrompt = "$ tender-gamble --seed 3";
const std::string ContinueHint = "tender-gamble --continue";

fs::path SaveGame(const TemporaryFolder& state, const std::string& keys) {
    const fs::path file = state.Path() / "game.journal";
    const PipedResult played = RunPiped({"--seed", "4", "--save", file.string()}, keys);
    EXPECT_TRUE(ExitedWith(played.status, 0)) << played.errors;
    return file;
}

struct WayOut {
    const char* name;
    std::string keys;  // typed at the title screen
    int signal;        // sent instead, when not 0
    int status;
    bool ending;       // the game reached one of its endings
};

void PrintTo(const WayOut& way, std::ostream* out) { *out << way.name; }

class LeavingTheTerminal : public ::testing::TestWithParam<WayOut> {};

TEST_P(LeavingTheTerminal, GivesBackTheShellsScreenWithThePromptOnAFreshLine) {
    const WayOut& way = GetParam();
    TemporaryFolder state;
    PtyGame game(SpawnOptions{{"--seed", "3"}, {state.StateHome()}, 24, 80, nullptr, ShellPrompt + "\r\n"});
    ASSERT_TRUE(game.WaitForText("0 - FreePlay Mode")) << game.ScreenText();
    if (way.signal != 0) {
        game.Signal(way.signal);
    } else {
        game.Type(way.keys);
    }
    EXPECT_TRUE(ExitedWith(game.WaitForExit(), way.status));
    EXPECT_EQ(game.Row(0), ShellPrompt) << game.ScreenText();
    EXPECT_EQ(game.Cursor().column, 0) << game.ScreenText();
    EXPECT_EQ(game.Find("0 - FreePlay Mode"), std::nullopt) << game.ScreenText();
    // An ending is left to read on the shell's screen; any other way out
    // leaves a game to go on with, and says how.
    EXPECT_EQ(game.Find("Shame, shame!!!").has_value(), way.ending) << game.ScreenText();
    EXPECT_EQ(game.Find(ContinueHint).has_value(), !way.ending) << game.ScreenText();
    ExpectTerminalRestored(game);
}

INSTANTIATE_TEST_SUITE_P(TerminalManners, LeavingTheTerminal,
                         ::testing::Values(WayOut{"Quit", "00", 0, 0, false},
                                           WayOut{"EscapeAfterABadKey", "x\x1b", 0, 0, false},
                                           WayOut{"CtrlC", "\x03", 0, 130, false},
                                           WayOut{"Terminated", "", SIGTERM, 143, false},
                                           WayOut{"TheReunion", "050", 0, 0, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// Nothing is played, and nothing there is changed.
TEST(TerminalManners, AFileThatCannotBeMadeIsRefusedBeforeTheGame) {
    TemporaryFolder state;
    const fs::path journal = SaveGame(state, "00");
    const fs::path existing = state.Path() / "existing";
    WriteFile(existing, "kept as it is");
    const fs::path missing = state.Path() / "missing" / "game.journal";
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"--save", existing.string()}, std::vector<std::string>{"--save", missing.string()},
          std::vector<std::string>{"--replay", journal.string(), "--cast", existing.string()}}) {
        const PipedResult refused = RunPiped(arguments, "00");
        EXPECT_TRUE(ExitedWith(refused.status, 1)) << arguments[1];
        EXPECT_EQ(refused.output, "") << arguments[1];
        EXPECT_NE(refused.errors.find(arguments.back()), std::string::npos) << refused.errors;
    }
    EXPECT_EQ(ReadFile(existing), "kept as it is");
    EXPECT_FALSE(fs::exists(missing.parent_path()));
}

TEST(TerminalManners, AReplayOfAGameLeftWithQuitWaitsAtItsLastScreenForAKey) {
    TemporaryFolder state;
    const fs::path journal = SaveGame(state, "00");
    PtyGame replay(SpawnOptions{{"--replay", journal.string(), "--speed", "1024"}, {state.StateHome()}});
    ASSERT_TRUE(replay.WaitForText("0 - Quit")) << replay.ScreenText();
    EXPECT_FALSE(replay.WaitForExit(std::chrono::milliseconds(1500))) << "the replay did not wait at its end";
    replay.Type("x");
    EXPECT_TRUE(ExitedWith(replay.WaitForExit(), 0));
    ExpectTerminalRestored(replay);
}

// The window's title tells the speed and the pause, and is the shell's own
// again once the replay is over.
TEST(TerminalManners, AReplayShowsItsSpeedAndPauseInTheWindowTitle) {
    TemporaryFolder state;
    const fs::path journal = SaveGame(state, "00");
    PtyGame replay(SpawnOptions{{"--replay", journal.string(), "--speed", "1/64"}, {state.StateHome()}});
    const std::string setTitle = "\x1b]2;";
    ASSERT_TRUE(replay.WaitForOutput(setTitle, 0)) << replay.Output();
    ASSERT_TRUE(replay.WaitForOutput("\x07", replay.Output().find(setTitle)));
    EXPECT_NE(replay.Output().find("1/64", replay.Output().find(setTitle)), std::string::npos) << replay.Output();
    const std::size_t before = replay.Output().size();
    replay.Type(" ");
    ASSERT_TRUE(replay.WaitForOutput("paused", before)) << replay.Output().substr(before);
    replay.Type("q");
    EXPECT_TRUE(ExitedWith(replay.WaitForExit(), 0));
    const std::string restoreTitle = "\x1b[23;0t";  // xterm: the title saved on its stack comes back
    const std::size_t restored = replay.Output().rfind(restoreTitle);
    ASSERT_NE(restored, std::string::npos) << "the title was not given back";
    EXPECT_GT(restored, replay.Output().rfind(setTitle));
}

}  // namespace
}  // namespace tg::e2e
