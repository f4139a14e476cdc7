// Signals delivered to the built game in a pseudo-terminal: whatever it is
// doing, the terminal gets its modes and colours back.

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

#include "pty_game.hpp"
#include "screen_checks.hpp"

namespace tg::e2e {
namespace {

using Clock = std::chrono::steady_clock;

// Where the game is when the signal comes.
enum class Moment { KeyPrompt, SleepingPause, NameEntry };

std::string NameOf(Moment moment) {
    switch (moment) {
        case Moment::KeyPrompt: return "KeyPrompt";
        case Moment::SleepingPause: return "SleepingPause";
        case Moment::NameEntry: return "NameEntry";
    }
    return "?";
}

std::string SignalName(int signal) {
    const char* abbreviation = sigabbrev_np(signal);
    return abbreviation ? std::string("SIG") + abbreviation : std::to_string(signal);
}

bool InKeyMode(const termios& modes) { return (modes.c_lflag & (ICANON | ECHO)) == 0 && (modes.c_lflag & ISIG); }

// Renders output until the terminal's modes satisfy the test: the game
// changes them in a signal handler, after the stop or continue is seen.
bool WaitForModes(PtyGame& game, const std::function<bool(const termios&)>& wanted) {
    const auto deadline = Clock::now() + Patience;
    while (!wanted(game.Modes())) {
        if (Clock::now() >= deadline) return false;
        game.Pump(std::chrono::milliseconds(5));
    }
    return true;
}

// Starts a game and brings it to the moment, checking the modes it is in.
void BringTo(PtyGame& game, Moment moment) {
    ASSERT_TRUE(game.WaitForText("0 - FreePlay Mode")) << game.ScreenText();
    switch (moment) {
        case Moment::KeyPrompt: break;
        case Moment::SleepingPause:
            // FreePlay goes straight to the first screen, which sleeps
            // seven frames of half a second.
            game.Type("0");
            ASSERT_TRUE(game.WaitForText("Sleeping...")) << game.ScreenText();
            break;
        case Moment::NameEntry:
            game.Type("2");
            ASSERT_TRUE(game.WaitForText("2 - Male")) << game.ScreenText();
            game.Type("1");
            ASSERT_TRUE(game.WaitForText("2 - Males")) << game.ScreenText();
            game.Type("2");
            ASSERT_TRUE(game.WaitForText("(r for random)")) << game.ScreenText();
            game.Type("Ann");  // half a line typed
            ASSERT_TRUE(game.WaitForText("Ann")) << game.ScreenText();
            break;
    }
    // The game edits the name's line itself: the terminal stays in key mode.
    const termios modes = game.Modes();
    ASSERT_TRUE(InKeyMode(modes)) << DescribeModes(modes);
}

// Extra settings for runs under AddressSanitizer: the game's own handlers
// decide what a crash signal does.
const std::vector<std::string> GameHandlesCrashes = {
    "ASAN_OPTIONS=handle_segv=0:handle_sigbus=0:handle_sigfpe=0:handle_sigill=0:handle_abort=0:allow_user_segv_handler=1",
};

// --- Signals that end the game: exit status 128 + signal. ---

class Termination : public ::testing::TestWithParam<std::tuple<int, Moment>> {};

TEST_P(Termination, RestoresTheTerminalAndExitsWith128PlusTheSignal) {
    const auto [signal, moment] = GetParam();
    PtyGame game({"--seed", "5"});
    BringTo(game, moment);
    game.Signal(signal);
    EXPECT_TRUE(ExitedWith(game.WaitForExit(), 128 + signal));
    ExpectTerminalRestored(game);
    if (moment == Moment::SleepingPause) {
        // It did not sleep the night out first.
        EXPECT_EQ(game.ScreenText().find("What would you like to do?"), std::string::npos) << game.ScreenText();
    }
}

INSTANTIATE_TEST_SUITE_P(Signals, Termination,
                         ::testing::Combine(::testing::Values(SIGINT, SIGTERM, SIGHUP, SIGQUIT),
                                            ::testing::Values(Moment::KeyPrompt, Moment::SleepingPause,
                                                              Moment::NameEntry)),
                         [](const auto& info) {
                             return SignalName(std::get<0>(info.param)) + "At" + NameOf(std::get<1>(info.param));
                         });

// The keys a terminal turns into signals, typed rather than sent.
class TypedInterrupt : public ::testing::TestWithParam<std::tuple<char, Moment>> {};

TEST_P(TypedInterrupt, EndsTheGameLikeTheSignal) {
    const auto [key, moment] = GetParam();
    PtyGame game({"--seed", "5"});
    BringTo(game, moment);
    game.Type(std::string(1, key));
    EXPECT_TRUE(ExitedWith(game.WaitForExit(), 128 + (key == '\x03' ? SIGINT : SIGQUIT)));
    ExpectTerminalRestored(game);
}

INSTANTIATE_TEST_SUITE_P(Signals, TypedInterrupt,
                         ::testing::Combine(::testing::Values('\x03', '\x1c'),
                                            ::testing::Values(Moment::KeyPrompt, Moment::NameEntry)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param) == '\x03' ? "CtrlC" : "CtrlBackslash") +
                                    "At" + NameOf(std::get<1>(info.param));
                         });

// --- Crash signals: the terminal first, then the default action. ---

class Crash : public ::testing::TestWithParam<std::tuple<int, Moment>> {};

TEST_P(Crash, RestoresTheTerminalThenDiesByTheSignal) {
    const auto [signal, moment] = GetParam();
    PtyGame game(SpawnOptions{{"--seed", "5"}, GameHandlesCrashes});
    BringTo(game, moment);
    game.Signal(signal);
    EXPECT_TRUE(KilledBy(game.WaitForExit(), signal));
    ExpectTerminalRestored(game);
}

INSTANTIATE_TEST_SUITE_P(Signals, Crash,
                         ::testing::Combine(::testing::Values(SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL),
                                            ::testing::Values(Moment::KeyPrompt, Moment::NameEntry)),
                         [](const auto& info) {
                             return SignalName(std::get<0>(info.param)) + "At" + NameOf(std::get<1>(info.param));
                         });

// --- Ctrl-Z and fg: the terminal as found while stopped, the game's own
// modes again once continued, and play goes on. ---

class Suspend : public ::testing::TestWithParam<std::tuple<bool, Moment>> {};

TEST_P(Suspend, GivesTheTerminalBackAndTakesItAgainOnContinue) {
    const auto [typed, moment] = GetParam();
    const std::string shellText = "$ tender-gamble --seed 5";
    PtyGame game(SpawnOptions{{"--seed", "5"}, {}, 25, 80, nullptr, shellText + "\r\n"});
    BringTo(game, moment);

    if (typed) {
        game.Type("\x1a");
    } else {
        game.Signal(SIGTSTP);
    }
    const std::optional<int> stopped = game.WaitForStop();
    ASSERT_TRUE(stopped) << "the game did not stop";
    EXPECT_EQ(WSTOPSIG(*stopped), SIGTSTP);
    ASSERT_TRUE(game.ShellTakesTerminal());
    EXPECT_TRUE(SameModes(game.Modes(), game.ModesBefore()))
        << "while stopped: " << DescribeModes(game.Modes()) << "\nbefore: " << DescribeModes(game.ModesBefore());
    EXPECT_TRUE(game.PenIsDefault()) << "the game's colours stayed set while it was stopped";
    EXPECT_TRUE(game.WaitForText(shellText, std::chrono::seconds(2))) << "not the shell's:\n" << game.ScreenText();

    // fg
    ASSERT_TRUE(game.ShellGivesTerminal());
    game.Signal(SIGCONT);
    ASSERT_TRUE(game.WaitUntilContinued());
    ASSERT_TRUE(WaitForModes(game, InKeyMode)) << DescribeModes(game.Modes());
    if (moment == Moment::NameEntry) {
        // However the stop came, the half-typed name is the game's, to finish.
        game.Type(" Lee\r");
        // The redraw and the next screen may come in pieces.
        ASSERT_TRUE(game.WaitForText("Stat Points Left: 450")) << game.ScreenText();
        ASSERT_TRUE(game.WaitForText("0 - Accept Character")) << game.ScreenText();
        EXPECT_TRUE(InKeyMode(game.Modes())) << DescribeModes(game.Modes());
        EXPECT_TRUE(Shows(game, "0 - Accept Character", 16, ansi::BrightWhite, ansi::Black));
    }
    if (moment == Moment::SleepingPause) {
        // The night goes on to the morning's screen, in its colours.
        ASSERT_TRUE(game.WaitForText("0 - Quit")) << game.ScreenText();
        EXPECT_TRUE(Shows(game, "Monday 8:10am (Day 1/416666)", 0, ansi::BrightRed, ansi::Red));
        EXPECT_TRUE(Shows(game, "0 - Quit", 16, ansi::BrightWhite, ansi::Black));
    }

    // Keys are single keys again, and the colours the stop reset come back
    // with the next text.
    game.Type("x");
    ASSERT_TRUE(game.WaitForText("):72")) << game.ScreenText();
    const std::optional<ScreenPosition> bad = game.Find("Bad Input (");
    ASSERT_TRUE(bad);
    EXPECT_TRUE(Shows(game, game.Row(bad->row), 0, ansi::Grey, ansi::Black));
    game.Type("\x1b");
    EXPECT_TRUE(ExitedWith(game.WaitForExit(), 0));
    ExpectTerminalRestored(game);
}

INSTANTIATE_TEST_SUITE_P(Signals, Suspend,
                         ::testing::Values(std::make_tuple(false, Moment::KeyPrompt),
                                           std::make_tuple(true, Moment::KeyPrompt),
                                           std::make_tuple(false, Moment::SleepingPause),
                                           std::make_tuple(false, Moment::NameEntry),
                                           std::make_tuple(true, Moment::NameEntry)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param) ? "CtrlZ" : "SIGTSTP") + "At" +
                                    NameOf(std::get<1>(info.param));
                         });

// --- Back from Ctrl-Z the player sees the screen as it was left, whatever
// the shell printed meanwhile, and play goes on as if it never stopped. ---

// Ctrl-Z, then what `clear` and a shell's prompt leave on the terminal.
void StopAndDrawOver(PtyGame& game, const std::string& prompt) {
    game.Type("\x1a");
    ASSERT_TRUE(game.WaitForStop()) << "the game did not stop";
    ASSERT_TRUE(game.ShellTakesTerminal());
    game.ShellPrints("\x1b[H\x1b[2J\x1b[3J" + prompt + "\r\n");
    ASSERT_TRUE(game.WaitForText(prompt)) << game.ScreenText();
}

::testing::AssertionResult BackInTheForegroundShows(PtyGame& game, const std::string& picture) {
    if (!game.ShellGivesTerminal()) return ::testing::AssertionFailure() << "fg failed";
    game.Signal(SIGCONT);
    if (game.WaitUntilContinued() && game.WaitForPicture(picture)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "now:\n" << game.Picture() << "\nleft:\n" << picture;
}

// Both games take the same input; their screens match once the text shows.
void ExpectSameScreensAfter(PtyGame& game, const std::string& keys, PtyGame& unstopped,
                            const std::string& unstoppedKeys, const std::string& text) {
    game.Type(keys);
    unstopped.Type(unstoppedKeys);
    ASSERT_TRUE(game.WaitForText(text)) << game.ScreenText();
    ASSERT_TRUE(unstopped.WaitForText(text)) << unstopped.ScreenText();
    game.Quiet();
    unstopped.Quiet();
    EXPECT_EQ(game.Picture(), unstopped.Picture());
}

class Redraw : public ::testing::TestWithParam<Moment> {};

TEST_P(Redraw, BackFromCtrlZTheScreenIsAsLeftAndPlayGoesOnUnchanged) {
    const Moment moment = GetParam();
    PtyGame game({"--seed", "5"});
    PtyGame unstopped({"--seed", "5"});
    // At name entry the half-typed name comes back with the prompt.
    BringTo(game, moment);
    BringTo(unstopped, moment);
    game.Quiet();
    const std::string left = game.Picture();
    StopAndDrawOver(game, "$ fg");
    EXPECT_TRUE(BackInTheForegroundShows(game, left));

    switch (moment) {
        case Moment::KeyPrompt: ExpectSameScreensAfter(game, "x", unstopped, "x", "):72"); break;
        case Moment::SleepingPause:
            // The rest of the night, then a key at the morning's menu.
            ExpectSameScreensAfter(game, "", unstopped, "", "0 - Quit");
            ExpectSameScreensAfter(game, "x", unstopped, "x", "):72");
            break;
        case Moment::NameEntry:
            ExpectSameScreensAfter(game, " Lee\r", unstopped, " Lee\r", "Stat Points Left: 450");
            break;
    }
}

INSTANTIATE_TEST_SUITE_P(Signals, Redraw,
                         ::testing::Values(Moment::KeyPrompt, Moment::SleepingPause, Moment::NameEntry),
                         [](const auto& info) { return "At" + NameOf(info.param); });

// Ctrl-Z, `bg`, a command, `fg`: in the background the game leaves the
// screen to the shell; reading the terminal stops it (SIGTTIN); back in
// the foreground it draws its screen again.
TEST(Signals, BackFromTheBackgroundTheScreenIsAsLeft) {
    PtyGame game({"--seed", "5"});
    BringTo(game, Moment::KeyPrompt);
    game.Quiet();
    const std::string left = game.Picture();
    StopAndDrawOver(game, "$ bg");
    game.Signal(SIGCONT);
    ASSERT_TRUE(game.WaitUntilContinued());
    game.Type("ls\r");
    const std::optional<int> stopped = game.WaitForStop();
    ASSERT_TRUE(stopped && WSTOPSIG(*stopped) == SIGTTIN) << "the game did not stop to read the terminal";
    game.ShellReadsInput();
    game.Quiet();
    EXPECT_EQ(game.ScreenText().find("FreePlay"), std::string::npos) << "drawn in the background";
    EXPECT_TRUE(BackInTheForegroundShows(game, left));
}

// A game continued from its journal comes back to its last screen; after
// Ctrl-Z and `fg` that same screen is drawn again.
TEST(Signals, ContinuedGameRedrawsTheScreenItCameBackTo) {
    const std::string journal = ::testing::TempDir() + "ctrl-z-journal-" + std::to_string(getpid());
    std::remove(journal.c_str());
    {
        PtyGame first({"--seed", "5", "--save", journal});
        ASSERT_TRUE(first.WaitForText("0 - FreePlay Mode")) << first.ScreenText();
        first.Type("x");
        ASSERT_TRUE(first.WaitForText("):72")) << first.ScreenText();
        first.Type("\x03");
        ASSERT_TRUE(ExitedWith(first.WaitForExit(), 128 + SIGINT));
    }
    PtyGame game({"--continue", journal});
    ASSERT_TRUE(game.WaitForText("):72")) << game.ScreenText();
    game.Quiet();
    const std::string shown = game.Picture();
    StopAndDrawOver(game, "$ fg");
    EXPECT_TRUE(BackInTheForegroundShows(game, shown));
    std::remove(journal.c_str());
}

// A game stopped and then continued in the background (`bg`) leaves the
// terminal to the shell, and `kill` (a signal, then SIGCONT, as a shell
// sends it to a stopped job) ends it.
TEST(Signals, KillOfAGameInTheBackgroundEndsItAndLeavesTheShellsModes) {
    PtyGame game({"--seed", "5"});
    BringTo(game, Moment::KeyPrompt);
    game.Type("\x1a");
    ASSERT_TRUE(game.WaitForStop()) << "the game did not stop";
    ASSERT_TRUE(game.ShellTakesTerminal());
    game.Signal(SIGCONT);  // bg
    // In the background the game may run on or stop again when it needs
    // the terminal; either way it must not take the terminal's modes.
    game.Pump(std::chrono::milliseconds(100));
    EXPECT_TRUE(SameModes(game.Modes(), game.ModesBefore())) << DescribeModes(game.Modes());
    game.Signal(SIGTERM);
    game.Signal(SIGCONT);
    EXPECT_TRUE(ExitedWith(game.WaitForExit(), 128 + SIGTERM));
    EXPECT_TRUE(SameModes(game.ModesAtExit(), game.ModesBefore())) << DescribeModes(game.ModesAtExit());
}

// With the terminal's output held (Ctrl-S), a signal still ends the game
// at once and gives the modes back, though nothing more can be shown.
TEST(Signals, TerminationWhileTheTerminalHoldsOutput) {
    PtyGame game({"--seed", "5"});
    BringTo(game, Moment::KeyPrompt);
    game.Type("\x13");  // Ctrl-S
    game.Pump(std::chrono::milliseconds(50));
    game.Signal(SIGTERM);
    EXPECT_TRUE(ExitedWith(game.WaitForExit(), 128 + SIGTERM));
    EXPECT_TRUE(SameModes(game.ModesAtExit(), game.ModesBefore())) << DescribeModes(game.ModesAtExit());
}

// --- A window smaller than 80x25 says how big it must be while the game
// plays on; big enough again, it shows the game's screen as it is, with
// what a key played meanwhile wrote. ---

class SmallWindow : public ::testing::TestWithParam<std::pair<int, int>> {};

TEST_P(SmallWindow, SaysHowBigItMustBeAndBigEnoughAgainShowsTheScreen) {
    const auto [rows, columns] = GetParam();
    PtyGame game({"--seed", "5"});
    PtyGame unresized({"--seed", "5"});
    BringTo(game, Moment::KeyPrompt);
    BringTo(unresized, Moment::KeyPrompt);
    game.Resize(rows, columns);
    ASSERT_TRUE(game.WaitForText("25")) << game.ScreenText();
    const std::string notice = game.ScreenText();
    EXPECT_EQ(notice, game.Row(0) + std::string(rows, '\n')) << "not one line";
    EXPECT_NE(notice.find("80"), std::string::npos) << notice;
    game.Type("x");
    ASSERT_TRUE(game.WaitUntilReading());
    EXPECT_EQ(game.ScreenText(), notice);
    game.Resize(25, 80);
    ExpectSameScreensAfter(game, "", unresized, "x", "):72");
}

// Too short, too narrow.
INSTANTIATE_TEST_SUITE_P(Signals, SmallWindow, ::testing::Values(std::pair(24, 80), std::pair(25, 79)));

// --- The terminal goes away under the game (its window is closed). ---

TEST(Signals, HangupOfTheTerminalEndsTheGame) {
    PtyGame game({"--seed", "5"});
    BringTo(game, Moment::KeyPrompt);
    game.HangUp();
    const std::optional<int> status = game.WaitForExit();
    ASSERT_TRUE(status) << "the game kept running on a closed terminal";
    // The shell passes the hangup on as SIGHUP; the game may also see the
    // end of its input or a failed write first. Any of these is an orderly end.
    ASSERT_TRUE(WIFEXITED(*status)) << "wait status " << *status;
    EXPECT_TRUE(WEXITSTATUS(*status) == 128 + SIGHUP || WEXITSTATUS(*status) == 0 ||
                WEXITSTATUS(*status) == 128 + SIGPIPE)
        << "exit status " << WEXITSTATUS(*status);
}

}  // namespace
}  // namespace tg::e2e
