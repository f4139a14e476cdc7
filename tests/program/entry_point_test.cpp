// The command line's options, and the built game run from a shell with its input on a pipe.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/wait.h>
#endif

#include <array>
#include <cstdio>
#include <string>

#include "program/entry_point.hpp"

namespace tg {
namespace {

TEST(Options, NoArgumentsPlaysWithTheClock) {
    const Options options = ParseOptions({});
    EXPECT_EQ(options.action, Options::Action::Play);
    EXPECT_FALSE(options.seed.has_value());
}

TEST(Options, SeedInBothSpellings) {
    EXPECT_EQ(ParseOptions({"--seed", "42"}).seed, 42u);
    EXPECT_EQ(ParseOptions({"--seed=0"}).seed, 0u);
    EXPECT_EQ(ParseOptions({"--seed", "4294967295"}).seed, 4294967295u);
}

TEST(Options, BadSeedsAreUsageErrors) {
    for (const char* bad : {"", "-1", "4294967296", "12x", "x", " 1", "+5"}) {
        const Options options = ParseOptions({"--seed", bad});
        EXPECT_EQ(options.action, Options::Action::Error) << bad;
        EXPECT_FALSE(options.error.empty());
    }
    EXPECT_EQ(ParseOptions({"--seed"}).action, Options::Action::Error);
}

TEST(Options, HelpVersionAndUnknownArguments) {
    EXPECT_EQ(ParseOptions({"--help"}).action, Options::Action::Help);
    EXPECT_EQ(ParseOptions({"--seed", "3", "--version"}).action, Options::Action::Version);
    EXPECT_EQ(ParseOptions({"--colour"}).action, Options::Action::Error);
    EXPECT_EQ(ParseOptions({"play"}).action, Options::Action::Error);
}

TEST(Options, JournalOptionsAndHowTheyCombine) {
    EXPECT_EQ(ParseOptions({"--continue"}).action, Options::Action::Continue);
    EXPECT_FALSE(ParseOptions({"--continue"}).continueFile);
    EXPECT_EQ(ParseOptions({"--continue", "game.journal"}).continueFile, "game.journal");
    const Options replay = ParseOptions({"--replay", "g.journal", "--speed", "2.5", "--cast=out.cast"});
    EXPECT_EQ(replay.action, Options::Action::Replay);
    EXPECT_EQ(replay.replayFile, "g.journal");
    EXPECT_DOUBLE_EQ(replay.speed, 2.5);
    EXPECT_EQ(replay.castFile, "out.cast");
    EXPECT_EQ(ParseOptions({"--seed", "3", "--save", "a.journal"}).saveFile, "a.journal");
    EXPECT_TRUE(ParseOptions({"--no-save"}).noSave);
    EXPECT_EQ(ParseOptions({"--games"}).action, Options::Action::Games);
    // Nonsense combinations and values are usage errors.
    for (const std::vector<std::string>& bad :
         std::vector<std::vector<std::string>>{{"--continue", "--seed", "3"},
                                               {"--replay", "g", "--continue"},
                                               {"--speed", "2"},
                                               {"--cast", "x.cast"},
                                               {"--replay", "g", "--speed", "0"},
                                               {"--replay", "g", "--speed", "-1"},
                                               {"--replay", "g", "--speed", "fast"},
                                               {"--replay", "g", "--speed", "2000"},
                                               {"--replay", "g", "--speed", "1/0"},
                                               {"--save", "a", "--no-save"},
                                               {"--games", "--seed", "3"},
                                               {"--games", "--continue"},
                                               {"--replay", "g", "--games"},
                                               {"--replay"},
                                               {"--base", "http://x/"},
                                               {"--share", "g", "--seed", "3"},
                                               {"--share", "g", "--replay", "h"}}) {
        EXPECT_EQ(ParseOptions(bad).action, Options::Action::Error) << bad[0] << " " << bad.size();
    }
}

// The built game, run through a POSIX shell (not on Windows).
#ifndef _WIN32
struct GameRun {
    std::string output;
    int status = -1;
};

// Runs the built game through the shell, with the input (printf escapes
// allowed) on a pipe.
GameRun RunGame(const std::string& arguments, const std::string& input) {
    const std::string command =
        "printf '" + input + "' | " + std::string(TENDER_BINARY) + " " + arguments + " 2>&1";
    GameRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    std::array<char, 4096> buffer;
    std::size_t count;
    while ((count = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) run.output.append(buffer.data(), count);
    const int raw = pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return run;
}

TEST(Binary, PlaysAPipedGameAsAPlainTranscript) {
    const GameRun run = RunGame("--seed 1", "0" "3" "0" "0");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output.find('\x1b'), std::string::npos) << "no escape sequences on a pipe";
    EXPECT_NE(run.output.find("Pick a Play Mode:\n\t1 - Trophy Mode\n\t0 - FreePlay Mode\n0"), std::string::npos);
    EXPECT_NE(run.output.find("Monday 8:10am (Day 1/416666)\n\tWhat would you like to do?\n"), std::string::npos);
    EXPECT_NE(run.output.find("3\tYou spend several hours calling the old numbers in your book, no luck.\n"
                              "\tGo get some new ones!!!\n\t\t0 - To the Hunt!.\n0"),
              std::string::npos);
    EXPECT_NE(run.output.find("Monday 11:10am (Day 1/416666)\n"), std::string::npos);
    EXPECT_TRUE(run.output.ends_with("\t\t0 - Quit\n0"));
}

TEST(Binary, TrophyOpeningWithANameFromThePipe) {
    const GameRun run = RunGame("--seed 5", "2" "2" "1" "Ann Lee extra\\n" "0" "1" "5" "0");
    EXPECT_EQ(run.status, 0);
    // The line shows as it was typed; the game takes its first two words.
    EXPECT_NE(run.output.find("\tEnter your name 'First Last' (r for random)\nAnn Lee extra\n"), std::string::npos);
    EXPECT_NE(run.output.find("\tShame, shame!!! What a loser art thou..."), std::string::npos);
}

TEST(Binary, SameSeedSameKeysSameBytes) {
    const std::string keys = "0" "2" "4" "1" "3333333333" "0" "0" "0";
    const GameRun first = RunGame("--seed 99", keys);
    const GameRun second = RunGame("--seed=99", keys);
    EXPECT_EQ(first.output, second.output);
    EXPECT_NE(first.output, RunGame("--seed 98", keys).output);
}

TEST(Binary, EndOfInputEndsTheGameWithStatusZero) {
    for (const char* input : {"", "0", "1", "21", "212", "212Ann", "0" "2" "1", "0" "1" "5"}) {
        const GameRun run = RunGame("--seed 3", input);
        EXPECT_EQ(run.status, 0) << input;
    }
}

TEST(Binary, EscapeAfterABadKeyEndsTheGame) {
    const GameRun run = RunGame("--seed 3", "0" "7" "\\033");
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.output.ends_with("7\nBad Input (0-5):7\n^[")) << run.output;
}

TEST(Binary, OptionsOnTheCommandLine) {
    const GameRun help = RunGame("--help", "");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.output.find("Usage: tender-gamble [--seed N]"), std::string::npos);
    const GameRun version = RunGame("--version", "");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.output.rfind("tender-gamble ", 0), 0u);
    const GameRun wrong = RunGame("--fast", "");
    EXPECT_EQ(wrong.status, 2);
    EXPECT_NE(wrong.output.find("unknown argument '--fast'"), std::string::npos);
    EXPECT_EQ(RunGame("--seed -4", "").status, 2);
}
#endif  // _WIN32

}  // namespace
}  // namespace tg
