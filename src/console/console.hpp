// The console operations every screen is drawn with: colours, clearing,
// one-key menus and headings, on top of a platform.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "console/game_events.hpp"
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

// Keeps the current colours itself, since a terminal cannot be asked for
// them, and how the game ended once a read has ended it.
class Console {
public:
    explicit Console(Platform& platform, GameEvents* events = nullptr) : platform_(platform), events_(events) {}

    void ClearScreen();
    void SetForeground(int colour);
    void SetBackground(int colour);

    // Reads keys until one lies in [low, high]; answers others with a
    // "Bad Input" line. Nothing when the game is over: Escape after a bad
    // key, or the end of input.
    std::optional<int> GetChoice(int high, int low);

    // A line the game emphasises: two tabs, the text, in bright red.
    void PrintHeading(const std::string& text);

    void Write(std::string_view text) { platform_.Write(text); }
    void Pause(int milliseconds) { platform_.Pause(milliseconds); }

    // One word of typed text; nothing when the input has ended, which ends
    // the game.
    std::optional<std::string> ReadWord();
    void DiscardLine() { platform_.DiscardLine(); }

    // The home menu, where the game rests between scenes, and the endings:
    // told to whoever keeps the game's record.
    void AtRest(const RestSummary& summary);
    void Ending(bool won);

    // How the game ended, once it has.
    GameEnd End() const { return end_; }

    int Foreground() const { return foreground_; }
    int Background() const { return background_; }

private:
    void InputEnded() { end_.status = platform_.EndOfInputStatus(); }

    Platform& platform_;
    GameEvents* events_;
    GameEnd end_;
    int foreground_ = colour::Grey;
    int background_ = colour::Black;
};

}  // namespace tg
