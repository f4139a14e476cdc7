// The terminal's modes and the signal handlers that put them back (only
// async-signal-safe calls in the handlers), and the waits they cut short.
#include "terminal/posix_terminal_guard.hpp"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <initializer_list>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include "terminal/system_terminal.hpp"

namespace tg::terminal_guard {

namespace {

constexpr char ResetColours[] = "\x1b[0m";
constexpr char EnterAlternate[] = "\x1b[?1049h";  // also saves the cursor
constexpr char LeaveAlternate[] = "\x1b[?1049l";  // and puts the cursor back
constexpr char PushTitle[] = "\x1b[22;0t";
// An empty title first, for a terminal that keeps no stack of titles.
constexpr char PopTitle[] = "\x1b]2;\x07\x1b[23;0t";
constexpr std::size_t LongestFarewell = 512;

int inputFd = -1;
int outputFd = -1;
bool haveTerminalModes = false;
bool resetColoursOnRestore = false;
termios originalModes{};
termios keyModes{};
volatile std::sig_atomic_t coloursLost = 0;
volatile std::sig_atomic_t continued = 0;
volatile std::sig_atomic_t resized = 0;
volatile std::sig_atomic_t fileToSync = -1;
volatile std::sig_atomic_t onAlternateScreen = 0;
volatile std::sig_atomic_t titleSaved = 0;
char farewell[LongestFarewell];
volatile std::sig_atomic_t farewellSize = 0;
// Milliseconds spent stopped by SIGTSTP, added up by its handler.
std::atomic<long long> stoppedMilliseconds{0};
static_assert(std::atomic<long long>::is_always_lock_free, "the stop handler adds to it");

// Whether the terminal is ours to change. In the background (after Ctrl-Z
// and `bg`) it belongs to the shell: touching it would stop the game with
// SIGTTOU, even inside a handler that is about to end it, and would undo
// the shell's own modes. A terminal that is not the controlling one has no
// owner to ask.
bool OwnsTerminal(int fd) {
    const pid_t owner = tcgetpgrp(fd);
    return owner < 0 || owner == getpgrp();
}

void ApplyModes(const termios& modes) {
    if (haveTerminalModes && OwnsTerminal(inputFd)) tcsetattr(inputFd, TCSANOW, &modes);
}

// Writes what the terminal takes at once and drops the rest: with its
// output held (Ctrl-S) a blocking write would keep a dying game waiting.
void WriteWithoutWaiting(int fd, std::string_view text) {
    const int flags = fcntl(fd, F_GETFL);
    if (flags < 0) return;
    if (!(flags & O_NONBLOCK)) fcntl(fd, F_SETFL, flags | O_NONBLOCK);
    ssize_t ignored = write(fd, text.data(), text.size());
    (void)ignored;
    if (!(flags & O_NONBLOCK)) fcntl(fd, F_SETFL, flags);
}

// Async-signal-safe: tcgetpgrp, getpgrp, fcntl, write, fdatasync and
// tcsetattr only.
void RestoreNow() {
    if (fileToSync >= 0) fdatasync(fileToSync);
    if (OwnsTerminal(outputFd)) {
        if (resetColoursOnRestore) WriteWithoutWaiting(outputFd, ResetColours);
        if (onAlternateScreen) WriteWithoutWaiting(outputFd, LeaveAlternate);
        if (titleSaved) WriteWithoutWaiting(outputFd, PopTitle);
        onAlternateScreen = 0;
        titleSaved = 0;
    }
    ApplyModes(originalModes);
}

void OnTerminationSignal(int signal) {
    RestoreNow();
    if (farewellSize > 0) WriteWithoutWaiting(STDERR_FILENO, {farewell, static_cast<std::size_t>(farewellSize)});
    _exit(128 + signal);
}

void OnCrashSignal(int signal) {
    RestoreNow();
    // The handler was installed to run once: the default action follows.
    raise(signal);
}

sigset_t SignalSet(std::initializer_list<int> signals) {
    sigset_t set;
    sigemptyset(&set);
    for (int signal : signals) sigaddset(&set, signal);
    return set;
}

void Handle(int signal, void (*handler)(int), int flags) {
    struct sigaction action {};
    action.sa_handler = handler;
    action.sa_flags = flags;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
}

long long MonotonicMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000LL + now.tv_nsec / 1'000'000;
}

// Also after a stop the game could not see (SIGSTOP).
void OnContinue(int) {
    coloursLost = 1;
    continued = 1;
    ApplyModes(keyModes);
}

// Async-signal-safe: clock_gettime, sigaction, sigprocmask and raise, and
// what RestoreNow and ApplyModes call.
void OnSuspend(int) {
    RestoreNow();
    coloursLost = 1;
    const long long stoppedAt = MonotonicMilliseconds();
    std::signal(SIGTSTP, SIG_DFL);
    const sigset_t suspend = SignalSet({SIGTSTP});
    sigprocmask(SIG_UNBLOCK, &suspend, nullptr);
    raise(SIGTSTP);
    // Continued: back to the game's own mode, and its screen is to be drawn
    // again (the continue signal's own handler may be held back just now).
    stoppedMilliseconds += MonotonicMilliseconds() - stoppedAt;
    Handle(SIGTSTP, OnSuspend, 0);
    OnContinue(SIGCONT);
}

void OnResize(int) { resized = 1; }

// Clears a flag a handler set: true when it was set. With `whileOwned`, only
// while the terminal is ours (the flag is kept for when it is again).
bool Take(volatile std::sig_atomic_t& flag, bool whileOwned) {
    if (!flag || (whileOwned && !OwnsTerminal(outputFd))) return false;
    flag = 0;
    return true;
}

}  // namespace

void Install(int input, int output, bool outputIsTerminal, bool colours) {
    inputFd = input;
    outputFd = output;
    resetColoursOnRestore = outputIsTerminal && colours;
    haveTerminalModes = isatty(input) && tcgetattr(input, &originalModes) == 0;
    if (haveTerminalModes) {
        // All the game relies on, whatever state another program left the
        // terminal in: a newline that starts the next line on screen; no
        // line editing and no echo (the game echoes keys and edits the name
        // line itself); Enter arrives as carriage return; Ctrl-C and Ctrl-Z
        // keep their signals.
        keyModes = originalModes;
        keyModes.c_oflag |= OPOST | ONLCR;
        keyModes.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
        keyModes.c_lflag |= ISIG;
        keyModes.c_iflag &= ~static_cast<tcflag_t>(ICRNL | INLCR | IGNCR);
        keyModes.c_cc[VMIN] = 1;
        keyModes.c_cc[VTIME] = 0;
    }
    for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) Handle(signal, OnTerminationSignal, 0);
    for (int signal : {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL}) Handle(signal, OnCrashSignal, SA_RESETHAND);
    Handle(SIGTSTP, OnSuspend, 0);
    // Without SA_RESTART: a key read that a continue interrupts comes back
    // with EINTR, so that the screen is drawn again before it waits on.
    Handle(SIGCONT, OnContinue, 0);
    // Waits for input or time end at a resize whatever the flag (they are
    // never restarted); other calls, such as the journal's, carry on.
    Handle(SIGWINCH, OnResize, SA_RESTART);
    std::signal(SIGPIPE, SIG_IGN);  // a closed output shows up as a failed write
    ApplyModes(keyModes);
}

bool TakeColoursLost() { return Take(coloursLost, false); }

bool TakeContinued() { return Take(continued, true); }

bool TakeResized() { return Take(resized, true); }

long long StoppedMilliseconds() { return stoppedMilliseconds; }

void RestoreModes() { ApplyModes(originalModes); }

std::string_view EnterAlternateScreen() {
    if (onAlternateScreen || !OwnsTerminal(outputFd)) return {};
    onAlternateScreen = 1;
    return EnterAlternate;
}

std::string_view LeaveAlternateScreen() {
    if (!onAlternateScreen) return {};
    onAlternateScreen = 0;
    return LeaveAlternate;
}

// Outside the handlers: the whole sequence, however long the terminal takes,
// and only while the terminal is ours.
void SaveTitle() {
    if (!titleSaved && OwnsTerminal(outputFd) && WriteAll(outputFd, PushTitle)) titleSaved = 1;
}

std::string_view RestoreTitle() {
    if (!titleSaved) return {};
    titleSaved = 0;
    return PopTitle;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t count = write(fd, bytes.data(), bytes.size());
        if (count > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(count));
        } else if (count < 0 && errno == EAGAIN) {
            pollfd ready{fd, POLLOUT, 0};
            poll(&ready, 1, -1);
        } else if (!(count < 0 && errno == EINTR)) {
            return false;
        }
    }
    return true;
}

}  // namespace tg::terminal_guard

namespace tg {

void SyncOnEveryExit(int fileHandle) { terminal_guard::fileToSync = fileHandle; }

void SayOnSignalExit(const std::string& line) {
    using namespace terminal_guard;
    farewellSize = 0;  // a signal meanwhile says nothing rather than half a line
    farewellSize = static_cast<std::sig_atomic_t>(line.copy(farewell, LongestFarewell));
}

}  // namespace tg
