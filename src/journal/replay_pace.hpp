// How fast a replayed game goes, and the viewer's say in it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "console/platform.hpp"
#include "journal/replay_keys.hpp"

namespace tg::journal {

// The replay speeds offered, as multiples of the recorded pace.
inline constexpr double SlowestSpeed = 1.0 / 64;
inline constexpr double FastestSpeed = 1024;

// Idle gaps between inputs longer than this are cut to it before scaling.
inline constexpr std::uint32_t LongestGapMilliseconds = 2000;

// Where a watched replay stands, for a pace that lets the viewer move
// through it: the session that asks for it answers a move by replaying the
// game again up to the input moved to.
class ReplayPlace {
public:
    virtual ~ReplayPlace() = default;
    // Where the replay is, for the window's title: "replay 312/1510, ...".
    virtual std::string Where() const = 0;
    // The input a move key goes to; nothing when it goes nowhere from here.
    virtual std::optional<std::size_t> Target(int moveKey) const = 0;
};

// The time a replayed game takes between its inputs and in its pauses.
class ReplayPace {
public:
    enum class Kind {
        None,      // no waits: continuing a game, describing it
        Recorded,  // the recorded time goes to the terminal's Pause: a cast keeps it
        Watched,   // the recorded time is waited on the terminal, which takes
                   // the viewer's keys: Space pauses, + and - double and
                   // halve the speed, q or Escape ends the replay
    };

    explicit ReplayPace(Kind kind, Platform* terminal = nullptr, double speed = 1)
        : kind_(kind), terminal_(terminal), speed_(speed), keys_(terminal) {}

    // Watched, the viewer may also move through the replay (see
    // ReplayKeys): a move ends the replay as `q` does, and MoveTo() says
    // where to. A step pauses the replay.
    void OfferMoves(const ReplayPlace& place) { place_ = &place; }
    // The input the viewer moved to, once; the pace goes on from there.
    std::optional<std::size_t> MoveTo();
    void SetPaused(bool paused) { paused_ = paused; }

    Kind Which() const { return kind_; }

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
    void Obey(int control);
    void Stop(int status);
    // Watched, the window's title says whether the replay is paused and
    // at what speed.
    void ShowState();
    void Move(int key);
    std::string Where() const { return place_ ? place_->Where() : "replay"; }

    Kind kind_;
    Platform* terminal_;
    double speed_;
    bool paused_ = false;
    bool controlsGone_ = false;
    std::string title_;  // the last title shown
    ReplayKeys keys_;
    const ReplayPlace* place_ = nullptr;
    std::optional<std::size_t> moveTo_;
    bool stopped_ = false;
    int stopStatus_ = 0;
};

}  // namespace tg::journal
