// The one seam between the game and a terminal: keys and words in, text,
// colours, clearing and pauses out. Every terminal backend implements it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tg {

// A key as the game sees it: one code, and the text echoed for it.
struct Key {
    int code = -1;
    std::string echo;
};

// The console layer is the only caller; the game logic never sees this
// interface.
class Platform {
public:
    virtual ~Platform() = default;

    // One key, read without Enter and echoed at the cursor; the echo it was
    // given comes back with it. Keys that deliver two codes (arrows,
    // function keys) come back as two calls. The code is -1 when no key can
    // ever be read again (end of input).
    virtual Key ReadKey() = 0;

    // One whitespace-delimited word of typed text, for name entry.
    // Returns nothing at end of input.
    virtual std::optional<std::string> ReadWord() = 0;

    // Forgets what is left of the line the last word came from and goes
    // back to reading single keys.
    virtual void DiscardLine() = 0;

    virtual void Write(std::string_view text) = 0;

    // Palette numbers: bit 0 blue, bit 1 green, bit 2 red, bit 3 bright.
    virtual void SetColours(int foreground, int background) = 0;

    // Blanks the whole screen in the current colours, cursor top left.
    virtual void Clear() = 0;

    // Holds the game still with everything written so far on screen.
    virtual void Pause(int milliseconds) = 0;

    // A key byte pressed within the time (-1: no limit), read without echo,
    // for controls that are not part of the game; NoKeyYet when none came,
    // -1 when no key can come any more.
    static constexpr int NoKeyYet = -2;
    virtual int KeyWithin(int milliseconds) {
        Pause(milliseconds < 0 ? 0 : milliseconds);
        return milliseconds < 0 ? -1 : NoKeyYet;
    }

    // The exit status for a game whose input has ended: 0 when the keys
    // simply ran out, else what cut them off (Ctrl-C on a page or in a
    // Windows console, an output that nobody reads any more).
    virtual int EndOfInputStatus() const { return 0; }

    // The window's title, where the terminal shows one and lets the game
    // set it; the title it had comes back when the game leaves.
    virtual void SetTitle(std::string_view) {}

    // The game has ended on one of its endings: once it leaves the
    // terminal, its last screen is still there to read.
    virtual void KeepLastScreen() {}
};

}  // namespace tg
