#pragma once

#include "console/platform.hpp"
#include "console/screen_memory.hpp"
#include "journal/recorded_inputs.hpp"
#include "journal/recording_platform.hpp"
#include "journal/screen_digest.hpp"

namespace tg::journal {

// Plays a journal's inputs through the game with nothing shown and no
// pauses, remembering the screen. When the inputs run out it shows the
// remembered screen on the live platform and hands the game over to the
// recorder, which goes on appending to the same journal. Without a live
// platform it is a trial run, which only checks that the journal replays.
class ResumingPlatform : public Platform {
public:
    // Thrown by a trial run when the inputs ran out without a fault.
    struct ReachedEnd {};
    // Thrown when the game ends while inputs are being replayed.
    struct GameEnded {
        std::size_t consumed;
    };

    // A trial run.
    explicit ResumingPlatform(RecordedInputs& inputs) : inputs_(inputs), box_(inputs.Border()) {}
    ResumingPlatform(RecordedInputs& inputs, Platform& live, RecordingPlatform& recorder)
        : inputs_(inputs), live_(&live), recorder_(&recorder), box_(inputs.Border()) {}

    Key ReadKey() override;
    std::optional<std::string> ReadWord() override;
    void DiscardLine() override;
    void Write(std::string_view text) override;
    void SetColours(int foreground, int background) override;
    void Clear() override;
    void Pause(int milliseconds) override;
    // The border the game was shown with, for the same checks.
    BoxCharacters Box() const override { return box_; }
    void AtRest() override;
    void GameOver() override;
    [[noreturn]] void Exit(int status) override;

private:
    // Goes live if the journal has no input left; true when live.
    bool LiveNow();
    void GoLive();

    RecordedInputs& inputs_;
    Platform* live_ = nullptr;
    RecordingPlatform* recorder_ = nullptr;
    BoxCharacters box_;
    bool isLive_ = false;
    ScreenMemory memory_;
    ScreenDigest digest_;
};

}  // namespace tg::journal
