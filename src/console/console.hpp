// The console operations every screen is drawn with: colours, clearing,
// one-key menus and headings, and the game's one input, on top of a
// terminal and, when the game is recorded or replayed, a journal.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "console/game_events.hpp"
#include "console/input_journal.hpp"
#include "console/platform.hpp"
#include "console/screen_digest.hpp"
#include "console/screen_memory.hpp"
#include "console/terminal_input.hpp"

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
//
// Every input of the game comes through here: from the terminal (and then
// into the journal, if the game is recorded) or from the journal being
// replayed (and then the terminal is not read). For the journal the console
// keeps a digest of what the game showed. A game continued from its journal
// shows nothing while its inputs are replayed; once it reads the terminal,
// its screen is drawn once, as it stands.
class Console {
public:
    explicit Console(Platform& terminal, GameEvents* events = nullptr, InputJournal* journal = nullptr);

    void ClearScreen();
    void SetForeground(int colour);
    void SetBackground(int colour);

    // Reads keys until one lies in [low, high]; answers others with a
    // "Bad Input" line. Nothing when the game is over: Escape after a bad
    // key, or the end of input.
    std::optional<int> GetChoice(int high, int low);

    // A line the game emphasises: two tabs, the text, in bright red.
    void PrintHeading(const std::string& text);

    void Write(std::string_view text) {
        if (journal_) digest_.Write(text);
        Shown().Write(text);
    }
    void Pause(int milliseconds);

    // One word of typed text; nothing when the input has ended, which ends
    // the game.
    std::optional<std::string> ReadWord();
    // Forgets what is left of the line the last word came from.
    void DiscardLine();

    // The home menu, where the game rests between scenes, and where the
    // choice `quit` leaves the game; and the endings.
    void AtRest(const RestSummary& summary, int quit);
    void Ending(bool won);
    // Whether anyone follows the game (to be told its clock).
    bool Followed() const { return events_ != nullptr; }
    // The clock the screen shows, for those who follow the game.
    void ClockShown(const std::string& dayAndTime);
    // The game is over: a replay shown only from its last input on draws
    // that screen now.
    void GameOver() { ShowWhenDue(); }

    // How the game ended, once it has.
    GameEnd End() const { return end_; }

    int Foreground() const { return foreground_; }
    int Background() const { return background_; }

private:
    // Where the game's output goes: the terminal, or while a game being
    // continued replays silently, the screen kept to be drawn later.
    Platform& Shown() { return silent_ ? static_cast<Platform&>(memory_) : terminal_; }
    bool Replaying() const { return journal_ && journal_->Now() == InputJournal::Phase::Replaying; }
    // The game reads the terminal from now on: what it shows so far is drawn.
    void GoLive();
    void FollowJournal();
    // A replay kept silent up to a point of the game is drawn once it gets
    // there: just before the next input is asked for.
    void ShowWhenDue();

    // The next key, from the journal or the terminal, echoed; `leaves`
    // tells whether the key would leave the game.
    template <class Leaves>
    Key ReadKey(Leaves leaves);
    Key ReadLiveKey();
    void InputEnded();

    Platform& terminal_;
    GameEvents* events_;
    InputJournal* journal_;
    TerminalInput input_;
    ScreenDigest digest_;
    ScreenMemory memory_;
    bool silent_ = false;
    bool wordShown_ = false;  // a replayed word of the name is on screen
    std::optional<int> quit_;  // at the home menu: the choice that leaves the game
    GameEnd end_;
    int foreground_ = colour::Grey;
    int background_ = colour::Black;
};

}  // namespace tg
