// The game on a POSIX terminal, a pipe or a file.
#pragma once

#include <poll.h>
#include <optional>
#include <string>

#include "console/ansi_output.hpp"
#include "console/platform.hpp"
#include "console/screen_memory.hpp"
#include "console/terminal_capabilities.hpp"

namespace tg {

// The game on a POSIX terminal, a pipe or a file. Output is gathered in
// memory and handed over in one write each time the game blocks (a key
// read, a pause, the end), with colour changes sent only when text needs
// them. On a terminal that can be cleared the game plays on the alternate
// screen, leaving the shell's screen as it was, and it remembers the screen
// since the last clear, to draw it again when the game comes back from
// Ctrl-Z or its window grows back from too small a size, and to leave an
// ending readable on the shell's screen.
class PosixTerminal : public Platform {
public:
    PosixTerminal(int inputFd, int outputFd, const Environment& environment);
    ~PosixTerminal() override;
    PosixTerminal(const PosixTerminal&) = delete;
    PosixTerminal& operator=(const PosixTerminal&) = delete;

    int ReadByte(int milliseconds, Reading reading) override;
    void Write(std::string_view text) override;
    void SetColours(int foreground, int background) override;
    void Clear() override;
    void Pause(int milliseconds) override;
    void SetTitle(std::string_view title) override;
    void KeepLastScreen() override { keepLastScreen_ = true; }

private:
    void NoticeLostColours();
    void Flush();
    void Finish();
    void EnterOwnScreen();
    void LeaveOwnScreen();
    void PrintLastScreen();
    bool FillInput(int timeoutMilliseconds);
    int Wait(pollfd* input, int timeoutMilliseconds);
    void Redraw();
    bool ResizeCallsForRedraw() const;
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

}  // namespace tg
