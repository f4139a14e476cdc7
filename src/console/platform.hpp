#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tg {

// The six characters of the title banner's double-line border.
struct BoxCharacters {
    std::string_view topLeft = "\u2554", horizontal = "\u2550", topRight = "\u2557";
    std::string_view vertical = "\u2551", bottomLeft = "\u255a", bottomRight = "\u255d";
};

// A key as the game sees it: one code, and the text echoed for it.
struct Key {
    int code = -1;
    std::string echo;
};

// The one seam between the game and a real terminal. The console layer is
// the only caller; the game logic never sees this interface.
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

    // The banner border as this terminal can show it, one column each.
    virtual BoxCharacters Box() const { return {}; }

    // The game waits at its home menu, at rest between scenes.
    virtual void AtRest() {}

    // The game has shown one of its endings.
    virtual void GameOver() {}

    // A file whose written data must reach the disk on every way out,
    // signals included; -1 for none.
    virtual void SyncOnExit(int fileHandle) { (void)fileHandle; }

    // Ends the program with the terminal as it was found.
    [[noreturn]] virtual void Exit(int status) = 0;
};

}  // namespace tg
