// Feeds a journal's inputs to a game, checking as it goes that the game
// shows what it showed when they were recorded: to continue a game, to
// play it back on a terminal, or to write it as a cast.
#pragma once

#include <cstdint>

#include "console/forwarding_platform.hpp"
#include "console/game_events.hpp"
#include "console/screen_memory.hpp"
#include "journal/recorded_inputs.hpp"
#include "journal/recording_platform.hpp"
#include "journal/screen_digest.hpp"

namespace tg::journal {

// The replay speeds offered, as multiples of the recorded pace.
inline constexpr double SlowestSpeed = 1.0 / 64;
inline constexpr double FastestSpeed = 1024;

// Idle gaps between inputs longer than this are cut to it before scaling.
inline constexpr std::uint32_t LongestGapMilliseconds = 2000;

// The output of a game being continued, kept until it can be shown: the
// screen since the last clear, nothing more.
class SilentScreen : public Platform {
public:
    Key ReadKey() override { return {}; }
    std::optional<std::string> ReadWord() override { return std::nullopt; }
    void DiscardLine() override {}
    void Write(std::string_view text) override { memory_.Write(text); }
    void SetColours(int foreground, int background) override { memory_.SetColours(foreground, background); }
    void Clear() override { memory_.Clear(); }
    void Pause(int) override {}

    const ScreenMemory& Memory() const { return memory_; }

private:
    ScreenMemory memory_;
};

// The game's output goes to the platform `shown`; the replay's pace and
// what happens when the inputs run out depend on the use. Once the game
// strays from the journal, or the viewer ends the replay, nothing more is
// shown and every read ends the game.
class ReplayPlatform : public ForwardingPlatform, public GameEvents {
public:
    enum class Pace {
        None,      // no waits: continuing a game
        Recorded,  // the recorded time goes to the output's Pause: a cast keeps it
        Watched,   // the recorded time is waited on the terminal shown, which
                   // takes the viewer's keys: Space pauses, + and - double and
                   // halve the speed, q or Escape ends the replay; the last
                   // screen stays until a key is pressed
    };

    ReplayPlatform(RecordedInputs& inputs, Platform& shown, Pace pace, double speed = 1);

    // For continuing: when the inputs run out, the screen remembered so far
    // is drawn on `live`, and the recorder takes over the game's reads,
    // output and events, going on in the same journal.
    void GoLiveAtTheEnd(const SilentScreen& remembered, Platform& live, RecordingPlatform& recorder, bool takeBack);

    bool IsLive() const { return recorder_ != nullptr && live_; }
    // Whether the inputs ran out while the game still asked for more.
    bool RanOut() const { return ranOut_; }

    // Watched, a game that ended by itself (a Quit, an ending) keeps its
    // last screen until the viewer presses a key, as one whose journal ran
    // out does; a replay the viewer ended ends at once.
    void HoldLastScreen();

    Key ReadKey() override;
    std::optional<std::string> ReadWord() override;
    void DiscardLine() override;
    void Write(std::string_view text) override;
    void SetColours(int foreground, int background) override;
    void Clear() override;
    void Pause(int milliseconds) override;
    int EndOfInputStatus() const override;
    void AtRest(const RestSummary& summary) override;
    void Ending() override;

private:
    // Whether there is an input to replay; when the inputs run out, what
    // the use asks for happens first.
    bool Replaying();
    void GoLive();
    // Waits the recorded time at the current speed.
    void Wait(std::uint32_t milliseconds);
    void WaitWatched(double milliseconds);
    void Obey(int control);
    void Stop(int status = 0);
    void WaitForViewer();
    // Watched, the window's title says whether the replay is paused and
    // at what speed; once it waits at its last screen, that it has ended.
    void ShowState();

    RecordedInputs& inputs_;
    Pace pace_;
    double speed_;
    ScreenDigest digest_;
    bool wordShown_ = false;
    bool paused_ = false;
    bool controlsGone_ = false;
    bool stateShown_ = false;
    bool stopped_ = false;
    int stopStatus_ = 0;
    bool ranOut_ = false;
    bool live_ = false;
    // For continuing.
    const SilentScreen* remembered_ = nullptr;
    Platform* liveTerminal_ = nullptr;
    RecordingPlatform* recorder_ = nullptr;
    bool takeBack_ = false;
};

}  // namespace tg::journal
