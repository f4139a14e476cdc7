// The game on a POSIX terminal, a pipe or a file: buffered ANSI output, key
// and word input, and pauses that Ctrl-Z does not cut short.
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <optional>
#include <poll.h>
#include <string>
#include <sys/ioctl.h>
#include <unistd.h>

#include "console/ansi_output.hpp"
#include "console/platform.hpp"
#include "console/screen_memory.hpp"
#include "console/terminal_capabilities.hpp"
#include "terminal/posix_stop_aware_wait.hpp"
#include "terminal/posix_terminal_guard.hpp"
#include "terminal/system_terminal.hpp"

namespace tg {

namespace {

constexpr std::size_t InputChunk = 4096;
constexpr int ClosedOutputStatus = 128 + 13;  // as if killed by SIGPIPE
constexpr char ClearSequence[] = "\x1b[H\x1b[2J";
// The game's screens are made for a window this big.
constexpr int FullScreenColumns = 80;
constexpr int FullScreenRows = 25;
constexpr std::string_view TooSmallNotice = "Please make the window at least 80x25.";

std::string TitleSequence(std::string_view title) { return "\x1b]2;" + std::string(title) + "\x07"; }

const char* Variable(const char* name) { return std::getenv(name); }

// The window's width when it is too small for the game's screens; none when
// it is big enough, or when the terminal does not say its size.
std::optional<int> WidthWhenTooSmall(int fd) {
    winsize size{};
    if (ioctl(fd, TIOCGWINSZ, &size) != 0 || size.ws_col == 0 || size.ws_row == 0) return std::nullopt;
    if (size.ws_col >= FullScreenColumns && size.ws_row >= FullScreenRows) return std::nullopt;
    return size.ws_col;
}

// Output is gathered in memory and handed over in one write each time the
// game blocks (a key read, a pause, the end), with colour changes sent only
// when text needs them. On a terminal that can be cleared the game plays on
// the alternate screen, leaving the shell's screen as it was, and it
// remembers the screen since the last clear, to draw it again when the game
// comes back from Ctrl-Z or its window grows back from too small a size, and
// to leave an ending readable on the shell's screen.
class PosixTerminal : public Platform {
public:
    PosixTerminal(int inputFd, int outputFd, const Environment& environment);
    ~PosixTerminal() override;

    int ReadByte(int milliseconds, Reading reading) override;
    void Write(std::string_view text) override;
    void SetColours(int foreground, int background) override {
        screen_.SetColours(foreground, background);
        output_.SetColours(foreground, background);
    }
    void Clear() override;
    void Pause(int milliseconds) override;
    void SetTitle(std::string_view title) override;
    void KeepLastScreen() override { keepLastScreen_ = true; }

private:
    void NoticeLostColours() {
        if (terminal_guard::TakeColoursLost()) output_.ForgetEmittedColours();
    }
    void Flush();
    void EnterOwnScreen();
    void LeaveOwnScreen();
    bool FillInput(int timeoutMilliseconds);
    int Wait(pollfd* input, int timeoutMilliseconds);
    void Redraw();
    void ShowTooSmallNotice(int columns);
    void TakeNoticeOffTitle();

    int inputFd_;
    int outputFd_;
    TerminalCapabilities capabilities_;
    AnsiOutput output_;
    ScreenMemory screen_;
    std::string inputBuffer_;
    std::size_t inputPosition_ = 0;
    bool inputEnded_ = false;
    bool outputClosed_ = false;  // nobody reads the output any more
    std::string title_;
    bool keepLastScreen_ = false;
    // The window is smaller than the game's screens: the game's output is
    // remembered but not shown, and one line (or the title) says so.
    bool windowTooSmall_ = false;
    bool noticeInTitle_ = false;
};

}  // namespace

std::unique_ptr<Platform> OpenSystemTerminal() {
    return std::make_unique<PosixTerminal>(STDIN_FILENO, STDOUT_FILENO, Variable);
}

Border SystemTerminalBorder() { return DetectCapabilities(false, Variable).border; }

PosixTerminal::PosixTerminal(int inputFd, int outputFd, const Environment& environment)
    : inputFd_(inputFd),
      outputFd_(outputFd),
      capabilities_(DetectCapabilities(isatty(outputFd) != 0, environment)),
      output_(capabilities_.colour, capabilities_.clear) {
    terminal_guard::Install(inputFd, outputFd, isatty(outputFd) != 0, capabilities_.colour);
    if (capabilities_.clear) output_.KeepScrollback();
    EnterOwnScreen();  // with the first screen, in its write
    const std::optional<int> tooSmall = WidthWhenTooSmall(outputFd);
    if (capabilities_.clear && tooSmall) ShowTooSmallNotice(*tooSmall);
}

// The last output, the colour reset, the shell's screen and title (and an
// ending's last screen printed on it) leave in one write; then the modes
// found at start-up come back.
PosixTerminal::~PosixTerminal() {
    windowTooSmall_ = false;  // an ending's last screen is printed on the shell's, whatever its size
    if (!outputClosed_) output_.ResetColours();
    LeaveOwnScreen();
    Flush();
    terminal_guard::RestoreModes();
}

void PosixTerminal::Write(std::string_view text) {
    if (text.empty()) return;
    const std::string shown = WithBorder(text, capabilities_.border);
    if (capabilities_.clear) screen_.Write(shown);
    if (windowTooSmall_) return;  // remembered, and drawn once the window is big enough
    NoticeLostColours();
    output_.Write(shown);
}

void PosixTerminal::Clear() {
    if (!capabilities_.clear) return;
    screen_.Clear();
    if (windowTooSmall_) return;
    NoticeLostColours();
    output_.Clear();
}

// Back from a stop, or with the window big enough again: the screen again
// as the player last saw it, in one write; while the window is too small,
// the line that says how big it must be instead. What was gathered but not
// sent yet is part of the remembered screen, and the colours the terminal
// shows are unknown.
void PosixTerminal::Redraw() {
    output_.Drop();
    output_.ForgetEmittedColours();
    EnterOwnScreen();
    if (const std::optional<int> tooSmall = WidthWhenTooSmall(outputFd_)) {
        ShowTooSmallNotice(*tooSmall);
        return;
    }
    windowTooSmall_ = false;
    TakeNoticeOffTitle();
    const ScreenMemory shown = screen_;  // repainting feeds screen_ itself
    shown.Repaint(*this);
}

// Alone on the screen, in the terminal's own colours; in the window's title
// when the line does not fit. Until the window is big enough again the
// game's output is only remembered, and keys are read as ever.
void PosixTerminal::ShowTooSmallNotice(int columns) {
    windowTooSmall_ = true;
    output_.ResetColours();
    output_.Control(ClearSequence);
    if (columns >= static_cast<int>(TooSmallNotice.size())) {
        TakeNoticeOffTitle();
        output_.Control(TooSmallNotice);
    } else {
        terminal_guard::SaveTitle();
        noticeInTitle_ = true;
        output_.Control(TitleSequence(TooSmallNotice));
    }
}

// The window's title back from the notice: the game's, or the shell's when
// the game gave none.
void PosixTerminal::TakeNoticeOffTitle() {
    if (!noticeInTitle_) return;
    noticeInTitle_ = false;
    if (title_.empty()) {
        output_.Control(terminal_guard::RestoreTitle());
    } else {
        SetTitle(std::string(title_));
    }
}

// Every blocking point: sends what is gathered, redraws the screen if the
// game has been continued after a stop or resized while its window is or was
// too small (between sizes big enough the terminal keeps what it shows),
// then waits for input (or, with no input given, for the time only). The
// result of poll(); -1 with EINTR when a signal cut the wait short, 0 at once
// when the output has been closed.
int PosixTerminal::Wait(pollfd* input, int timeoutMilliseconds) {
    for (;;) {
        Flush();
        if (outputClosed_) return 0;
        StopAwareWait wait;
        const bool continued = terminal_guard::TakeContinued();
        const bool resized = terminal_guard::TakeResized();
        if (capabilities_.clear && (continued || (resized && (windowTooSmall_ || WidthWhenTooSmall(outputFd_))))) {
            Redraw();
            continue;
        }
        return input ? wait.Poll(*input, timeoutMilliseconds) : wait.Sleep(timeoutMilliseconds);
    }
}

void PosixTerminal::Flush() {
    if (outputClosed_) output_.Drop();
    if (!terminal_guard::WriteAll(outputFd_, output_.Pending())) {
        // Nobody is reading any more: the game ends at its next read rather
        // than play blind.
        outputClosed_ = true;
        CutOffInput(ClosedOutputStatus);
    }
    output_.Drop();
}

// Time spent stopped does not count: after Ctrl-Z and `fg` the pause goes
// on for what it had left.
void PosixTerminal::Pause(int milliseconds) {
    Flush();
    if (!capabilities_.pause || outputClosed_) return;
    using Clock = std::chrono::steady_clock;
    const Clock::time_point end = Clock::now() + std::chrono::milliseconds(milliseconds);
    const long long stoppedBefore = terminal_guard::StoppedMilliseconds();
    for (;;) {
        const auto stopped = std::chrono::milliseconds(terminal_guard::StoppedMilliseconds() - stoppedBefore);
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(end + stopped - Clock::now()).count();
        if (Wait(nullptr, static_cast<int>(std::max<long long>(left, 0))) >= 0 || errno != EINTR) return;
    }
}

// The alternate screen, with the title the game gave the window (a stop
// puts back the shell's).
void PosixTerminal::EnterOwnScreen() {
    if (!capabilities_.clear) return;
    output_.Control(terminal_guard::EnterAlternateScreen());
    if (!title_.empty()) SetTitle(std::string(title_));
}

// The shell's screen and title back. An ending stays readable under what the
// shell's screen showed, and the shell's prompt starts on a line of its own.
void PosixTerminal::LeaveOwnScreen() {
    if (!capabilities_.clear) return;
    output_.Control(terminal_guard::LeaveAlternateScreen());
    output_.Control(terminal_guard::RestoreTitle());
    if (!keepLastScreen_ || outputClosed_) return;
    const ScreenMemory last = screen_;  // printing feeds screen_ itself
    last.Print(*this);
    const std::string text = last.Text();
    output_.ResetColours();
    if (!text.empty() && text.back() != '\n') output_.Control("\n");
}

// Only on a terminal the game plays on: never in a transcript.
void PosixTerminal::SetTitle(std::string_view title) {
    if (!capabilities_.clear) return;
    terminal_guard::SaveTitle();
    title_ = title;
    if (!noticeInTitle_) output_.Control(TitleSequence(title_));
}

// Reads what is there (up to a chunk) into the input buffer. False at the
// end of input, or when nothing came within the timeout (-1: no timeout).
bool PosixTerminal::FillInput(int timeoutMilliseconds) {
    for (;;) {
        pollfd input{inputFd_, POLLIN, 0};
        const int ready = Wait(&input, timeoutMilliseconds);
        if (ready < 0 && errno == EINTR) continue;  // back from a stop or a resize: wait (and redraw) again
        if (outputClosed_) inputEnded_ = true;
        if (inputEnded_ || ready == 0) return false;
        char chunk[InputChunk];
        const ssize_t count = read(inputFd_, chunk, sizeof chunk);
        if (count < 0 && errno == EINTR) continue;  // back from a stop: wait (and redraw) again
        if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            // Input shared with a program that made it non-blocking: no
            // key yet is not the end of input.
            if (timeoutMilliseconds >= 0) return false;
            continue;
        }
        if (count <= 0) {
            inputEnded_ = true;
            return false;
        }
        inputBuffer_.assign(chunk, static_cast<std::size_t>(count));
        inputPosition_ = 0;
        return true;
    }
}

int PosixTerminal::ReadByte(int milliseconds, Reading) {
    if (outputClosed_) return EndOfInput;
    if (inputPosition_ >= inputBuffer_.size() && !FillInput(milliseconds)) {
        return inputEnded_ ? EndOfInput : NothingYet;
    }
    return static_cast<unsigned char>(inputBuffer_[inputPosition_++]);
}

}  // namespace tg
