#pragma once

#include <functional>

#include "console/platform.hpp"
#include "console/screen_memory.hpp"
#include "journal/recorded_inputs.hpp"
#include "journal/recording_platform.hpp"
#include "journal/screen_digest.hpp"

namespace tg::journal {

// Plays a journal's inputs through the game with nothing shown and no
// pauses, remembering the screen. When the inputs run out it shows the
// remembered screen on the live platform and hands the game over to the
// recorder, which goes on appending to the same journal.
class ResumingPlatform : public Platform {
public:
    // `ended` is what to do when the game ends while inputs are being
    // replayed, told how many it took; it must not come back. With
    // `takeBack` the journal's last input is withdrawn once the game goes
    // live.
    ResumingPlatform(RecordedInputs& inputs, Platform& live, RecordingPlatform& recorder,
                     std::function<void(std::size_t consumed)> ended, bool takeBack)
        : inputs_(inputs),
          live_(live),
          recorder_(recorder),
          ended_(std::move(ended)),
          takeBack_(takeBack),
          box_(inputs.Border()) {}

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
    Platform& live_;
    RecordingPlatform& recorder_;
    std::function<void(std::size_t)> ended_;
    bool takeBack_;
    BoxCharacters box_;
    bool isLive_ = false;
    ScreenMemory memory_;
    ScreenDigest digest_;
};

}  // namespace tg::journal
