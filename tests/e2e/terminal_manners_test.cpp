// How the game leaves a terminal, files it must not overwrite, a replay's manners.
#include <gtest/gtest.h>

#include "journal_on_disk.hpp"
#include "piped_game.hpp"
#include "screen_checks.hpp"

namespace tg::e2e {
namespace {

namespace fs = std::filesystem;

fs::path SaveQuitGame(const TemporaryFolder& state) {
    const fs::path file = state.Path() / "game.journal";
    EXPECT_TRUE(ExitedWith(RunPiped({"--seed", "4", "--save", file.string()}, "00").status, 0));
    return file;
}

// The keys typed at the title screen; whether they reach one of the endings,
// and whether the game is kept to go on with.
struct WayOut { const char* name; std::string keys; int status; bool ending; bool kept; };

class LeavingTheTerminal : public ::testing::TestWithParam<WayOut> {};

TEST_P(LeavingTheTerminal, GivesBackTheShellsScreenWithThePromptOnAFreshLine) {
    const WayOut& way = GetParam();
    const std::string prompt = "$ tender-gamble --seed 3";
    TemporaryFolder state;
    PtyGame game(SpawnOptions{{"--seed", "3"}, {state.StateHome()}, 25, 80, nullptr, prompt + "\r\n"});
    ASSERT_TRUE(game.WaitForText("0 - FreePlay Mode")) << game.ScreenText();
    game.Type(way.keys);
    EXPECT_TRUE(ExitedWith(game.WaitForExit(), way.status));
    EXPECT_EQ(game.Row(0), prompt) << game.ScreenText();
    EXPECT_EQ(game.Cursor().column, 0) << game.ScreenText();
    EXPECT_EQ(game.Find("Shame, shame!!!").has_value(), way.ending) << game.ScreenText();
    EXPECT_EQ(game.Find("to go on with it:").has_value(), way.kept) << game.ScreenText();
    EXPECT_EQ(JournalsIn(state.Journals()).size(), way.keys == "\x03" ? 0u : 1u) << "a game left before any input is not kept";
    ExpectTerminalRestored(game);
}

INSTANTIATE_TEST_SUITE_P(TerminalManners, LeavingTheTerminal,
                         ::testing::Values(WayOut{"Quit", "00", 0, false, true},
                                           WayOut{"EscapeAfterABadKey", "x\x1b", 0, false, true},
                                           WayOut{"CtrlCAtTheTitle", "\x03", 130, false, false},
                                           WayOut{"TheReunion", "050", 0, true, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TerminalManners, AFileThatCannotBeMadeIsRefusedBeforeTheGame) {
    TemporaryFolder state;
    const fs::path journal = SaveQuitGame(state), existing = state.Path() / "existing";
    WriteFile(existing, "kept as it is");
    const std::string missing = (state.Path() / "missing" / "game.journal").string();
    for (const std::vector<std::string>& arguments : {std::vector<std::string>{"--save", existing.string()},
                                                      {"--save", missing},
                                                      {"--replay", journal.string(), "--cast", existing.string()}}) {
        const PipedResult refused = RunPiped(arguments, "00");
        EXPECT_TRUE(ExitedWith(refused.status, 1)) << arguments.back();
        EXPECT_EQ(refused.output, "");
        EXPECT_NE(refused.errors.find(arguments.back()), std::string::npos) << refused.errors;
    }
    EXPECT_EQ(ReadFile(existing), "kept as it is");
}

// At 1/64 the window's title tells the speed, then the pause; sped up, the
// replay waits at its last screen for a key, and the shell's title is back.
TEST(TerminalManners, AReplayShowsItsStateInTheTitleAndWaitsAtItsEndForAKey) {
    TemporaryFolder state;
    PtyGame replay({"--replay", SaveQuitGame(state).string(), "--speed", "1/64"});
    ASSERT_TRUE(replay.WaitForOutput("1/64\x07", 0)) << replay.Output();
    replay.Type(" ");
    ASSERT_TRUE(replay.WaitForOutput("paused", replay.Output().size())) << replay.Output();
    replay.Type(std::string(16, '+') + " ");
    ASSERT_TRUE(replay.WaitForText("0 - Quit")) << replay.ScreenText();
    EXPECT_FALSE(replay.WaitForExit(std::chrono::milliseconds(1500))) << "the replay did not wait at its end";
    replay.Type("x");
    EXPECT_TRUE(ExitedWith(replay.WaitForExit(), 0));
    const std::size_t restored = replay.Output().rfind("\x1b[23;0t");  // xterm's saved title comes back
    EXPECT_TRUE(restored != std::string::npos && restored > replay.Output().rfind("paused")) << replay.Output();
}

}  // namespace
}  // namespace tg::e2e
