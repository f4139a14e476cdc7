// The one seam between the game and a terminal: bytes in and out, colours,
// clearing, pauses, the window's title and the way out. Every terminal
// backend implements it; keys, echoes and typed lines are made of its bytes
// by the console, once for all of them.
#pragma once

#include <string_view>

namespace tg {

// The console layer is the only caller; the game logic never sees this
// interface.
class Platform {
public:
    static constexpr int EndOfInput = -1;  // no byte can ever be read again
    static constexpr int NothingYet = -2;  // none came within the time

    // What the bytes asked for are read for: single keys, or a line of
    // text that the console edits and echoes (a backend may offer a
    // keyboard for it).
    enum class Reading { Keys, Line };

    virtual ~Platform() = default;

    // The next byte typed (0..255), waiting up to the time (-1: no limit),
    // without echo; NothingYet or EndOfInput.
    virtual int ReadByte(int milliseconds, Reading reading) = 0;

    virtual void Write(std::string_view text) = 0;

    // Palette numbers: bit 0 blue, bit 1 green, bit 2 red, bit 3 bright.
    virtual void SetColours(int foreground, int background) = 0;

    // Blanks the whole screen in the current colours, cursor top left.
    virtual void Clear() = 0;

    // Holds the game still with everything written so far on screen.
    virtual void Pause(int milliseconds) = 0;

    // The window's title, where the terminal shows one and lets the game
    // set it; the title it had comes back when the game leaves.
    virtual void SetTitle(std::string_view /*title*/) {}

    // The game has ended on one of its endings: once it leaves the
    // terminal, its last screen is still there to read.
    virtual void KeepLastScreen() {}

    // The exit status for a game whose input has ended: 0 when the keys
    // simply ran out, else what cut them off (Ctrl-C on a page or in a
    // Windows console, an output that nobody reads any more).
    int EndOfInputStatus() const { return endOfInputStatus_; }

protected:
    Platform() = default;
    Platform(const Platform&) = default;
    Platform& operator=(const Platform&) = default;
    void CutOffInput(int status) { endOfInputStatus_ = status; }

private:
    int endOfInputStatus_ = 0;
};

}  // namespace tg
