// Bad input tried on the built game: the end of input at every kind of
// prompt, keys and bytes no menu expects, odd names, a reader that goes
// away. The game must end or go on, promptly and with bounded output.

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>

#include "piped_game.hpp"
#include "pty_game.hpp"
#include "screen_checks.hpp"
#include "script_finder.hpp"

namespace tg::e2e {
namespace {

// Output a game may write for its input: the screens of a few dozen keys,
// plus a bounded amount per byte typed (an echo, a "Bad Input" line).
std::size_t OutputBound(const std::string& input) { return 64 * 1024 + 40 * input.size(); }

int Count(const std::string& text, const std::string& part) {
    int count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

std::string Tail(const std::string& text, std::size_t size = 300) {
    return text.size() <= size ? text : "..." + text.substr(text.size() - size);
}

// --- The end of input at each kind of prompt: the game ends at once with
// status 0, and the prompt it was waiting at is the last thing it wrote. ---

struct EndOfInputCase {
    const char* name;
    std::string keys;
    std::string lastOutput;
};

void PrintTo(const EndOfInputCase& c, std::ostream* os) { *os << c.name; }

class EndOfInput : public ::testing::TestWithParam<EndOfInputCase> {};

TEST_P(EndOfInput, EndsTheGameQuietlyWithStatusZero) {
    const EndOfInputCase& c = GetParam();
    const PipedResult result = RunPiped({"--seed", "3"}, c.keys);
    EXPECT_TRUE(ExitedWith(result.status, 0));
    EXPECT_TRUE(EndsWith(result.output, c.lastOutput)) << Tail(result.output);
    EXPECT_LE(result.output.size(), OutputBound(c.keys));
    EXPECT_EQ(result.errors, "");
}

INSTANTIATE_TEST_SUITE_P(
    Prompts, EndOfInput,
    ::testing::Values(
        EndOfInputCase{"PlayMode", "", "\t0 - FreePlay Mode\n"},
        EndOfInputCase{"AfterABadKey", "x", "x\nBad Input (0-2):72\n"},
        EndOfInputCase{"AfterTwoBadKeys", "xy", "y\nBad Input (0-2):73\n"},
        EndOfInputCase{"AfterEscapeAtAFreshPrompt", "\x1b", "^[\nBad Input (0-2):-21\n"},
        EndOfInputCase{"Gender", "1", "\t\t2 - Male\n"},
        EndOfInputCase{"Seeking", "11", "\t\t2 - Males\n"},
        EndOfInputCase{"Name", "111", "(r for random)\n"},
        EndOfInputCase{"NameAfterTheFirstWord", "111Ann", "(r for random)\nAnn"},
        EndOfInputCase{"NameAfterTheFirstWordAndABlank", "111Ann ", "(r for random)\nAnn "},
        EndOfInputCase{"NameOfBlanksOnly", "111  \n\t \n \n", "(r for random)\n  \n  \n \n"},
        EndOfInputCase{"StatMenu", "111r\n", "\t\t0 - Accept Character\n"},
        EndOfInputCase{"StatIncreaseList", "111r\n1", "\t\t0 - Back"},
        EndOfInputCase{"StatDecreaseList", "111r\n2", "\t\t0 - Back"},
        EndOfInputCase{"UnspentPointsQuestion", "111r\n0", "\t\t2 - No\n"},
        EndOfInputCase{"Home", "0", "\t\t0 - Quit\n"},
        EndOfInputCase{"Training", "01", "\t\t0 - Back"},
        EndOfInputCase{"Places", "02", "\t\t0 - Back Home\n"},
        EndOfInputCase{"ApproachList", "021", "\t\t0 - Return Home\n"},
        EndOfInputCase{"CallWithAnEmptyBook", "03", "\t\t0 - To the Hunt!.\n"},
        EndOfInputCase{"DateWithAnEmptyBook", "04", "\t\t0 - To the Telephone!.\n"},
        EndOfInputCase{"PauseAfterABadKey", "03x", "x\nBad Input (0-0):72\n"},
        EndOfInputCase{"Ending", "05", "Go back and try it on FreePlay Mode!"},
        EndOfInputCase{"EndingAfterABadKey", "051", "1\nBad Input (0-0):1\n"}),
    [](const auto& info) { return std::string(info.param.name); });

// The prompts of meetings, reached with keys a scripted player found.
struct MeetingCase {
    const char* name;
    Goal goal;
    std::string lastOutput;
};

void PrintTo(const MeetingCase& c, std::ostream* os) { *os << c.name; }

class EndOfInputInAMeeting : public ::testing::TestWithParam<MeetingCase> {};

TEST_P(EndOfInputInAMeeting, EndsTheGameQuietlyWithStatusZero) {
    const MeetingCase& c = GetParam();
    const std::optional<Script> script = FindScript(c.goal);
    ASSERT_TRUE(script) << "no game reaches '" << c.goal.stopAt << "'";
    const PipedResult result = RunPiped({"--seed", std::to_string(script->seed)}, script->keys);
    EXPECT_TRUE(ExitedWith(result.status, 0));
    EXPECT_TRUE(EndsWith(result.output, c.lastOutput)) << Tail(result.output);
    const std::size_t lastScreen = result.output.rfind(c.goal.stopAt);
    EXPECT_NE(lastScreen, std::string::npos) << Tail(result.output);
    EXPECT_EQ(result.output.find("Bad Input", lastScreen == std::string::npos ? 0 : lastScreen), std::string::npos);
    EXPECT_LE(result.output.size(), OutputBound(script->keys));
}

Goal Reach(std::string stopAt, Attitude attitude = Attitude::Charming, char place = '4') {
    Goal goal;
    goal.stopAt = std::move(stopAt);
    goal.attitude = attitude;
    goal.place = place;
    return goal;
}

INSTANTIATE_TEST_SUITE_P(
    Prompts, EndOfInputInAMeeting,
    ::testing::Values(
        MeetingCase{"PlayersMove", Reach("\t\t6 - Do something really dumb and embarassing.\n"),
                    "\t\t6 - Do something really dumb and embarassing.\n"},
        MeetingCase{"OpinionTopic", Reach("\t\t0 - Excuse yourself from the conversation\n"),
                    "\t\t0 - Excuse yourself from the conversation\n"},
        MeetingCase{"MoneyTalk", Reach("\t\t4 - Decline to share at this point.\n"),
                    "\t\t4 - Decline to share at this point.\n"},
        MeetingCase{"CallList", Reach("\t\t0 - Forget Calling...\n"), "\t\t0 - Forget Calling...\n"},
        MeetingCase{"NumberGivenPause", Reach("Sure, call me sometime."),
                    "\t\t0 - Plan smchlan, give me fresh meat!.\n"},
        MeetingCase{"TooIntimatePause", Reach("a little more intimate."), "\t\t0 - Should have made your move.\n"},
        MeetingCase{"LosingInterestPause", Reach("I really have to be going now.", Attitude::Rude),
                    "\t\t0 - There are more fish in the sea.\n"},
        MeetingCase{"FirstImpressionPause", Reach("Ugh, gross! Go away!", Attitude::Charming, '6'),
                    "\t\t0 - There's more fish in the sea.\n"},
        MeetingCase{"WrittenOffPause", Reach("Can't you take a hint? Go Away!", Attitude::Rude),
                    "\t\t0 - There's more fish in the sea.\n"}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Keys and bytes no menu expects, through a pipe. ---

struct OddInputCase {
    const char* name;
    std::string keys;
    std::vector<std::string> shown;  // in the output, in this order
    int badInputs;                    // "Bad Input" lines, or -1: any number
};

void PrintTo(const OddInputCase& c, std::ostream* os) { *os << c.name; }

class OddInput : public ::testing::TestWithParam<OddInputCase> {};

TEST_P(OddInput, NeitherCrashesNorHangsNorFloods) {
    const OddInputCase& c = GetParam();
    const PipedResult result = RunPiped({"--seed", "3"}, c.keys);
    EXPECT_TRUE(ExitedWith(result.status, 0));
    EXPECT_FALSE(result.overflowed);
    EXPECT_LE(result.output.size(), OutputBound(c.keys));
    EXPECT_EQ(result.errors, "");
    std::size_t at = 0;
    for (const std::string& text : c.shown) {
        const std::size_t found = result.output.find(text, at);
        EXPECT_NE(found, std::string::npos) << "'" << text << "' missing after byte " << at << ":\n"
                                            << Tail(result.output, 2000);
        if (found != std::string::npos) at = found + text.size();
    }
    if (c.badInputs >= 0) {
        EXPECT_EQ(Count(result.output, "Bad Input"), c.badInputs) << Tail(result.output, 2000);
    }
}

std::string Junk(std::size_t size) {
    std::string junk;
    std::uint32_t state = 12345;
    while (junk.size() < size) {
        state = state * 1103515245u + 12345u;
        const char byte = static_cast<char>(state >> 24);
        if (byte != '\x1b') junk += byte;  // Escape after a bad key would end it early
    }
    return junk;
}

const std::string Huge(1 << 20, 'A');

INSTANTIATE_TEST_SUITE_P(
    Pipes, OddInput,
    ::testing::Values(
        // Cursor and function keys are two codes each, both out of range.
        OddInputCase{"ArrowKeys",
                     "\x1b[A\x1b[B\x1b[C\x1b[D\x1bOA" "0",
                     {"(0-2):176\n", "(0-2):24\n", "(0-2):176\n", "(0-2):32\n", "(0-2):176\n", "(0-2):29\n",
                      "(0-2):176\n", "(0-2):27\n", "(0-2):176\n", "(0-2):24\n", "\t\t0 - Quit\n"},
                     10},
        OddInputCase{"HomeEndAndEditingKeys",
                     "\x1b[H\x1b[F\x1b[1~\x1b[4~\x1b[2~\x1b[3~\x1b[5~\x1b[6~" "0",
                     {"(0-2):23\n", "(0-2):31\n", "(0-2):23\n", "(0-2):31\n", "(0-2):34\n", "(0-2):35\n",
                      "(0-2):25\n", "(0-2):33\n", "\t\t0 - Quit\n"},
                     16},
        OddInputCase{"FunctionKeys",
                     "\x1bOP\x1bOS\x1b[15~\x1b[21~\x1b[23~\x1b[24~\x1b[1;5P" "0",
                     {"(0-2):-48\n", "(0-2):11\n", "(0-2):14\n", "(0-2):15\n", "(0-2):20\n", "(0-2):176\n",
                      "(0-2):85\n", "(0-2):86\n", "(0-2):11\n", "\t\t0 - Quit\n"},
                     14},
        OddInputCase{"ModifiedArrowKey", "\x1b[1;5A" "0", {"(0-2):176\n", "(0-2):24\n", "\t\t0 - Quit\n"}, 2},
        OddInputCase{"BracketedPaste", "\x1b[200~0\x1b[201~", {"\t\t0 - Quit\n"}, 0},
        OddInputCase{"UnknownEscapeSequences", "\x1b[99Z\x1b[?1;2c\x1bOz" "0", {"\t\t0 - Quit\n"}, 6},
        OddInputCase{"OverlongEscapeSequence", "\x1b[" + std::string(1000, ';') + "m0", {"\t\t0 - Quit\n"}, -1},
        OddInputCase{"EscapeSequenceCutByTheEnd", "\x1b[1;", {"(0-2):176\n", "(0-2):-48\n"}, 2},
        OddInputCase{"NulBytes", std::string("\0\0\0" "0", 4),
                     {"^@\nBad Input (0-2):-48\n", "^@\nBad Input (0-2):-48\n", "^@\nBad Input (0-2):-48\n",
                      "\t\t0 - Quit\n"},
                     3},
        OddInputCase{"BytesAbove127", "\x80\xff\xc3\xa9" "0",
                     {"(0-2):80\n", "(0-2):207\n", "(0-2):147\n", "(0-2):121\n", "\t\t0 - Quit\n"}, 4},
        OddInputCase{"ControlKeys", "\r\n\t\x7f\x03\x1a" "0",
                     {"(0-2):-35\n", "(0-2):-38\n", "(0-2):-39\n", "(0-2):79\n", "(0-2):-45\n", "(0-2):-22\n",
                      "\t\t0 - Quit\n"},
                     6},
        OddInputCase{"EscapeAfterABadKeyLeavesTheRestUnread", "x\x1b" "0", {"(0-2):72\n^["}, 1},
        OddInputCase{"SixtyFourKilobytesOfJunk", Junk(64 * 1024), {}, -1},
        OddInputCase{"MegabyteName", "111" + Huge + "\nLee\n0",
                     {Huge.substr(0, 4095) + "\nLee\n", "stat points left, Done?"}, 0},
        OddInputCase{"ThreeWordsTakeTwo", "111Ann Lee Extra\n0",
                     {"Ann Lee Extra\n", "Stat Points Left: 450", "stat points left, Done?"}, 0},
        OddInputCase{"NameOverTwoLines", "111\n Ann\n\nLee \n0", {"\n Ann\n\nLee \n", "stat points left, Done?"}, 0},
        OddInputCase{"RandomNameLeavesTheLineUnread", "111r Lee\n0", {"stat points left, Done?"}, 0},
        OddInputCase{"NameWithControlAndHighBytes", std::string("111\x01\x7f\xff\x1b[A \0x\xc3\xa9\n0", 16),
                     {"stat points left, Done?"}, 0},
        OddInputCase{"NameLineEndedByCarriageReturnAndNewline", "111Ann Lee\r\n0", {"stat points left, Done?"},
                     0},
        OddInputCase{"NameLineEndedByCarriageReturn", "111Ann Lee\r0", {"stat points left, Done?"}, 0},
        OddInputCase{"RandomNameLineEndedByCarriageReturn", "111r Lee\r0", {"stat points left, Done?"}, 0}),
    [](const auto& info) { return std::string(info.param.name); });

// --- The other end of the pipes. ---

TEST(Pipes, ClosedOutputEndsTheGameRatherThanPlayingBlind) {
    PipedGame::Options options;
    options.arguments = {"--seed", "3"};
    options.closedOutput = true;
    PipedGame game(options);
    // Input stays open: the game must notice the output, not the input.
    EXPECT_TRUE(ExitedWith(game.WaitForExit(), 128 + SIGPIPE));
}

TEST(Pipes, OutputClosedMidGameEndsTheGame) {
    PipedGame game(PipedGame::Options{{"--seed", "3"}});
    ASSERT_TRUE(game.WaitForOutput("0 - FreePlay Mode")) << game.Output();
    game.CloseOutput();
    // Keys keep coming; each would make the game write.
    for (int k = 0; k < 50 && game.Type("0"); ++k) {
    }
    EXPECT_TRUE(ExitedWith(game.WaitForExit(), 128 + SIGPIPE));
}

// A descriptor left non-blocking by another program sharing it: no key is
// there yet, which is not the end of input.
TEST(Pipes, NonBlockingInputWaitsForKeys) {
    PipedGame::Options options;
    options.arguments = {"--seed", "3"};
    options.nonBlockingInput = true;
    PipedGame game(options);
    ASSERT_TRUE(game.WaitForOutput("0 - FreePlay Mode")) << game.Output();
    // Idle a moment at the prompt, as a player does.
    EXPECT_FALSE(game.WaitForExit(std::chrono::milliseconds(200))) << Tail(game.Output());
    game.Type("0");
    EXPECT_TRUE(game.WaitForOutput("\t\t0 - Quit\n")) << Tail(game.Output());
    game.Type("0");
    EXPECT_TRUE(ExitedWith(game.WaitForExit(), 0));
}

// --- Odd keys in a real terminal. ---

TEST(Terminal, OddKeysAreBadKeysAndPlayGoesOn) {
    struct Key {
        const char* bytes;
        std::vector<int> values;  // the "Bad Input" values it gives
    };
    const std::vector<Key> keys = {
        {"\x1b[A", {176, 24}},  {"\x1bOB", {176, 32}},  {"\x1b[H", {176, 23}},   {"\x1b[4~", {176, 31}},
        {"\x1bOP", {-48, 11}},  {"\x1b[15~", {-48, 15}}, {"\x1b[24~", {176, 86}}, {"\x1b[1;5D", {176, 27}},
        {"\xc3\xa9", {147, 121}}, {"\x7f", {79}},        {"\r", {-35}},           {"\t", {-39}},
    };
    PtyGame game({"--seed", "3"});
    ASSERT_TRUE(game.WaitForText("0 - FreePlay Mode")) << game.ScreenText();
    int trials = 0;
    for (const Key& key : keys) {
        std::size_t from = game.Output().size();
        game.Type(key.bytes);
        for (int value : key.values) {
            const std::string line = "Bad Input (0-2):" + std::to_string(value) + "\r\n";
            ASSERT_TRUE(game.WaitForOutput(line, from)) << "after key #" << trials << ":\n" << game.ScreenText();
            from = game.Output().find(line, from) + line.size();
        }
        ++trials;
    }
    // A NUL byte (Ctrl-Space) too.
    std::size_t from = game.Output().size();
    game.Type(std::string(1, '\0'));
    ASSERT_TRUE(game.WaitForOutput("Bad Input (0-2):-48\r\n", from)) << game.ScreenText();

    // A pasted key is still a key.
    game.Type("\x1b[200~1\x1b[201~");
    ASSERT_TRUE(game.WaitForText("2 - Male")) << game.ScreenText();
    EXPECT_TRUE(Shows(game, "Your old friends were picking on you last reunion about not", 16, ansi::BrightRed,
                      ansi::Black));
    game.Type("x\x1b");
    EXPECT_TRUE(ExitedWith(game.WaitForExit(), 0));
    ExpectTerminalRestored(game);
}

// From the play-mode menu to the name prompt: Trophy Mode without the
// introduction, a woman seeking women.
void ReachNameEntry(PtyGame& game) {
    game.Type("2");
    ASSERT_TRUE(game.WaitForText("2 - Male")) << game.ScreenText();
    game.Type("1");
    ASSERT_TRUE(game.WaitForText("2 - Males")) << game.ScreenText();
    game.Type("1");
    ASSERT_TRUE(game.WaitForText("(r for random)")) << game.ScreenText();
}

// Ctrl-D on an empty name line is the end of input.
TEST(Terminal, EndOfInputAtNameEntry) {
    PtyGame game({"--seed", "3"});
    ASSERT_TRUE(game.WaitForText("0 - FreePlay Mode")) << game.ScreenText();
    ASSERT_NO_FATAL_FAILURE(ReachNameEntry(game));
    game.Type("\x04");
    EXPECT_TRUE(ExitedWith(game.WaitForExit(), 0));
    ExpectTerminalRestored(game);
}

// Keys typed ahead (a paste, a fast typist) reach the name prompt before
// it is drawn: the name's line is read from them, Enter a carriage return.
TEST(Terminal, NameTypedAheadOfItsPrompt) {
    PtyGame game({"--seed", "3"});
    ASSERT_TRUE(game.WaitForText("0 - FreePlay Mode")) << game.ScreenText();
    game.Type("211Ann Lee\r0");
    ASSERT_TRUE(game.WaitForText("You still have stat points left, Done?")) << game.ScreenText();
    EXPECT_EQ(game.ScreenText().find("Bad Input"), std::string::npos) << game.ScreenText();
    game.Type("2");
    ASSERT_TRUE(game.WaitForText("0 - Accept Character")) << game.ScreenText();
    game.Type("x\x1b");
    EXPECT_TRUE(ExitedWith(game.WaitForExit(), 0));
    ExpectTerminalRestored(game);
}

// A terminal left raw by some other program (killed before it could
// restore it): the screens still start each line at the left edge, Enter
// still ends the name line, and at the end the terminal is left raw, as
// it was found.
TEST(Terminal, PlayOnATerminalLeftRaw) {
    SpawnOptions options;
    options.arguments = {"--seed", "3"};
    options.setUpTerminal = [](termios& modes) { cfmakeraw(&modes); };
    PtyGame game(options);
    ASSERT_TRUE(game.WaitForText("0 - FreePlay Mode")) << game.ScreenText();
    EXPECT_EQ(game.Row(9), "Pick a Play Mode:") << game.ScreenText();
    EXPECT_EQ(game.Row(11), "        0 - FreePlay Mode") << game.ScreenText();
    ASSERT_NO_FATAL_FAILURE(ReachNameEntry(game));
    game.Type("Ann Lee\r");
    ASSERT_TRUE(game.WaitForText("Stat Points Left: 450")) << game.ScreenText();
    EXPECT_EQ(game.Row(1), "        Stat Points Left: 450") << game.ScreenText();
    // Ctrl-C works even though the terminal came without signals.
    game.Type("\x03");
    EXPECT_TRUE(ExitedWith(game.WaitForExit(), 128 + SIGINT));
    ExpectTerminalRestored(game);
}

// A name longer than the terminal's line buffer: the terminal keeps what
// fits, and the line still ends.
TEST(Terminal, NameLongerThanTheLineBuffer) {
    PtyGame game({"--seed", "3"});
    ASSERT_TRUE(game.WaitForText("0 - FreePlay Mode")) << game.ScreenText();
    ASSERT_NO_FATAL_FAILURE(ReachNameEntry(game));
    game.Type("Ann " + std::string(20000, 'L') + "\r");
    ASSERT_TRUE(game.WaitForText("Stat Points Left: 450")) << game.ScreenText();
    game.Type("x\x1b");
    EXPECT_TRUE(ExitedWith(game.WaitForExit(), 0));
    ExpectTerminalRestored(game);
}

}  // namespace
}  // namespace tg::e2e
