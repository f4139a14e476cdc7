#pragma once

#include "console/platform.hpp"
#include "journal/recorded_inputs.hpp"
#include "journal/screen_digest.hpp"

namespace tg::journal {

// Feeds a journal's inputs to the game at the pace they were recorded,
// showing everything on the live terminal, and reads the playback's own
// control keys while it waits.
class PlaybackPlatform : public Platform {
public:
    PlaybackPlatform(RecordedInputs& inputs, Platform& live, double speed)
        : inputs_(inputs), live_(live), speed_(speed) {}

    Key ReadKey() override;
    std::optional<std::string> ReadWord() override;
    void DiscardLine() override;
    void Write(std::string_view text) override;
    void SetColours(int foreground, int background) override;
    void Clear() override;
    void Pause(int milliseconds) override { Wait(milliseconds); }
    // The border the game was shown with, for the same checks; the live
    // terminal shows it in its own where it can.
    BoxCharacters Box() const override { return inputs_.Border(); }
    void AtRest() override;
    [[noreturn]] void Exit(int status) override;

private:
    // Waits the recorded time at the current speed, obeying the controls.
    void Wait(double milliseconds);
    bool Obey(int control);
    [[noreturn]] void End();
    void EndWhenRecordingEnds();

    RecordedInputs& inputs_;
    Platform& live_;
    double speed_;
    bool paused_ = false;
    bool controlsGone_ = false;
    bool wordShown_ = false;
    ScreenDigest digest_;
};

}  // namespace tg::journal
