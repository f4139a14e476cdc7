// The terminal's modes for the whole run: single-key mode, and the way back
// to the modes found at start-up on every exit, signal and crash. Everything
// a signal handler needs is kept in plain static storage, and the handlers
// make only async-signal-safe calls.
#pragma once

#include <string_view>

namespace tg::terminal_guard {

// Saves the modes of the input terminal (if input is one), installs the
// signal handlers and enters single-key mode.
void Install(int inputFd, int outputFd, bool outputIsTerminal, bool colours);

// The colours the terminal shows were reset behind the game's back (after a
// suspend); the next text must set them again.
bool TakeColoursLost();

// The game was continued after a stop (Ctrl-Z, or SIGSTOP, then `fg`) and
// the terminal is its own again: what the shell printed meanwhile may hide
// the game's screen. True once per continue; while the game is in the
// background the news is kept for when it is brought back.
bool TakeContinued();

// The terminal's window may have changed size (SIGWINCH). True once per
// change, and only while the game is in the foreground.
bool TakeResized();

// How long the game has been stopped by Ctrl-Z or SIGTSTP in all, so that
// a pause can go on for the time it had left.
long long StoppedMilliseconds();

// The game's own screen: the terminal's alternate screen, so that the
// shell's screen comes back as it was, also after a signal. The sequences
// are for the caller to send at the head or the tail of its next write, so
// that entering and leaving cost no write of their own: each counts as done
// at once (a signal before that write leaves a screen the terminal is not
// on, which it ignores). Empty when there is nothing to send: entering when
// already there, or leaving when not.
std::string_view EnterAlternateScreen();
std::string_view LeaveAlternateScreen();

// Saves the window's title (on the terminal's own stack of titles) before
// the game first changes it, and puts it back (with the next write, as
// above), also after a signal.
void SaveTitle();
std::string_view RestoreTitle();

// Puts back only the modes, for an exit that sent the colour reset itself
// along with its last output.
void RestoreModes();

// Writes all the bytes, however long the terminal takes to read what came
// before them; false when nobody reads the output any more.
bool WriteAll(int fd, std::string_view bytes);

}  // namespace tg::terminal_guard
