#pragma once

#include <string>
#include <string_view>

#include "console/platform.hpp"

namespace tg {

// Palette numbers the game's screens use.
namespace colour {
inline constexpr int Black = 0;
inline constexpr int Red = 4;
inline constexpr int Grey = 7;
inline constexpr int BrightRed = 12;
inline constexpr int BrightWhite = 15;
}  // namespace colour

// The console operations every screen is drawn with: colours, clearing,
// one-key menus and headings. Keeps the current colours itself, since a
// terminal cannot be asked for them.
class Console {
public:
    explicit Console(Platform& platform) : platform_(platform) {}

    void ClearScreen();
    void SetForeground(int colour);
    void SetBackground(int colour);

    // Reads keys until one lies in [low, high]; answers others with a
    // "Bad Input" line. Escape after a bad key, or the end of input, ends
    // the program.
    int GetChoice(int high, int low);

    // A line the game emphasises: two tabs, the text, in bright red.
    void PrintHeading(const std::string& text);

    void Write(std::string_view text) { platform_.Write(text); }
    void Pause(int milliseconds) { platform_.Pause(milliseconds); }

    // One word of typed text; the end of input ends the program.
    std::string ReadWord();
    void DiscardLine() { platform_.DiscardLine(); }

    BoxCharacters Box() const { return platform_.Box(); }

    // Marks the home menu, where the game rests between scenes, and the
    // endings: points a platform may use to make a game's record safe.
    void AtRest() { platform_.AtRest(); }
    void GameOver() { platform_.GameOver(); }

    [[noreturn]] void EndProgram(int status);

    int Foreground() const { return foreground_; }
    int Background() const { return background_; }

private:
    Platform& platform_;
    int foreground_ = colour::Grey;
    int background_ = colour::Black;
};

}  // namespace tg
