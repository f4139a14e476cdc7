// What the game shows on a terminal that speaks ANSI escape sequences.
#pragma once

#include <string>
#include <string_view>

namespace tg {

// What the game shows on a terminal that speaks ANSI escape sequences,
// gathered in memory until the game next blocks. Colour changes are sent
// only when text needs them, as the shortest sequence that gets there.
class AnsiOutput {
public:
    // Without `colour` no colour sequences are sent; without `clear`,
    // clearing sends nothing.
    AnsiOutput(bool colour, bool clear) : colour_(colour), clear_(clear) {}

    void Write(std::string_view text);
    void SetColours(int foreground, int background);
    // Blanks the screen in the current background, cursor top left; the
    // scrollback goes too, unless the game plays on a screen of its own.
    void Clear();
    // The game plays on the terminal's alternate screen: clearing it
    // leaves the scrollback of the shell's screen alone.
    void KeepScrollback() { keepScrollback_ = true; }
    // A sequence that shows nothing and changes no colours (a window title).
    void Control(std::string_view sequence) { pending_ += sequence; }
    // Back to the terminal's own colours, for the way out.
    void ResetColours();
    // The terminal's colours were changed behind our back: the next text
    // sets them again.
    void ForgetEmittedColours() { emittedForeground_ = emittedBackground_ = -1; }

    const std::string& Pending() const { return pending_; }
    void Drop() { pending_.clear(); }
    // The gathered bytes, handed over and forgotten here.
    std::string Take();

private:
    void EmitColours();

    bool colour_;
    bool clear_;
    bool keepScrollback_ = false;
    std::string pending_;
    int foreground_ = 7;
    int background_ = 0;
    int emittedForeground_ = -1;
    int emittedBackground_ = -1;
};

}  // namespace tg
