// How fast a replayed game goes, and the viewer's say in it: the speed, a
// pause, and moves through the replay.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "console/game_events.hpp"
#include "console/platform.hpp"
#include "console/terminal_input.hpp"

namespace tg::journal {

class GameJournal;
class RecordedInputs;

// The replay speeds offered, as multiples of the recorded pace.
inline constexpr double SlowestSpeed = 1.0 / 64;
inline constexpr double FastestSpeed = 1024;

// Idle gaps between inputs longer than this are cut to it before scaling.
inline constexpr std::uint32_t LongestGapMilliseconds = 2000;

// The keys a terminal sends as a sequence, as the viewer's move keys: the
// PC keyboard's scan code above the byte codes.
inline constexpr int ExtendedKey = 0x100;
inline constexpr int RightKey = ExtendedKey + 77;
inline constexpr int LeftKey = ExtendedKey + 75;
inline constexpr int HomeKey = ExtendedKey + 71;
inline constexpr int EndKey = ExtendedKey + 79;

// Where a watched replay stands: how many of the journal's inputs the game
// has consumed, and the clock its screen shows (heard from the game); and
// where each move key goes from there: a step (`.` `,`), the next or
// previous home menu (Right, Left), a tenth of the way (`0` to `9`), the
// start or the last screen (Home, End).
class ReplayPosition : public GameEvents {
public:
    explicit ReplayPosition(const RecordedInputs& inputs);

    // The run of the game now shown.
    void Follow(const GameJournal& journal);

    // "replay 312/1510, Day 2 9:40pm", for the window's title.
    std::string Where() const;
    // The input a move key goes to; nothing when it goes nowhere from here.
    std::optional<std::size_t> Target(int moveKey) const;
    void ClockShown(const std::string& dayAndTime) override { clock_ = dayAndTime; }

private:
    std::size_t Now() const;

    std::size_t total_;
    std::vector<std::size_t> homeMenus_;
    const GameJournal* journal_ = nullptr;
    std::string clock_;
};

// The time a replayed game takes between its inputs and in its pauses.
class ReplayPace {
public:
    enum class Kind {
        Recorded,  // the recorded time goes to the terminal's Pause: a cast keeps it
        Watched,   // the recorded time is waited on the terminal, which takes
                   // the viewer's keys: Space pauses, + and - double and
                   // halve the speed, q or Escape ends the replay
    };

    ReplayPace(Kind kind, Platform& terminal, double speed = 1)
        : kind_(kind), terminal_(terminal), speed_(speed), keys_(terminal) {}

    // Watched, the viewer may also move through the replay: a move ends the
    // replay as `q` does, and MoveTo() says where to. A step pauses it.
    void OfferMoves(const ReplayPosition& position) { position_ = &position; }
    // The input the viewer moved to, once; the pace goes on from there.
    std::optional<std::size_t> MoveTo();
    void SetPaused(bool paused) { paused_ = paused; }

    // Waits the recorded time at the current speed.
    void Wait(double milliseconds);
    // Watched, the last screen stays until the viewer presses a key.
    void HoldLastScreen();

    // Whether the viewer ended the replay (or what ended the keys ends the
    // program), and with what exit status.
    bool Stopped() const { return stopped_; }
    int StopStatus() const { return stopStatus_; }

private:
    void WaitWatched(double milliseconds);
    int NextKey(int milliseconds);
    void Obey(int key);
    bool Move(int key);
    void Stop(int status);
    // The window's title says whether the replay is paused and at what speed.
    void ShowState();
    std::string Where() const { return position_ ? position_->Where() : "replay"; }

    Kind kind_;
    Platform& terminal_;
    double speed_;
    bool paused_ = false;
    bool controlsGone_ = false;
    std::string title_;  // the last title shown
    TerminalInput keys_;
    const ReplayPosition* position_ = nullptr;
    std::optional<std::size_t> moveTo_;
    bool stopped_ = false;
    int stopStatus_ = 0;
};

}  // namespace tg::journal
