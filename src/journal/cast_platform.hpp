#pragma once

#include <string>
#include <utility>
#include <vector>

#include "console/ansi_output.hpp"
#include "console/platform.hpp"
#include "journal/recorded_inputs.hpp"
#include "journal/screen_digest.hpp"

namespace tg::journal {

// Plays a journal through the game on an imaginary 80x25 colour terminal
// and keeps what that terminal would have been sent, with the time it was
// sent at, as the output events of an asciicast recording.
class CastPlatform : public Platform {
public:
    static constexpr int Width = 80;
    static constexpr int Height = 25;

    // Thrown when the recording is complete: the game or the journal ended.
    struct Finished {};

    CastPlatform(RecordedInputs& inputs, double speed) : inputs_(inputs), speed_(speed) {}

    Key ReadKey() override;
    std::optional<std::string> ReadWord() override;
    void DiscardLine() override;
    void Write(std::string_view text) override;
    void SetColours(int foreground, int background) override;
    void Clear() override;
    void Pause(int milliseconds) override;
    void AtRest() override;
    [[noreturn]] void Exit(int status) override;
    // The border the game was shown with, for the same checks; the
    // recording, in UTF-8, shows it in double lines where it can.
    BoxCharacters Box() const override { return inputs_.Border(); }

    // The whole recording: the header line, then one line per event.
    std::string Recording(const std::string& title) const;

private:
    // Hands what was sent so far over as one event, then lets time pass.
    void Flush(double milliseconds);
    void FinishWhenRecordingEnds();

    RecordedInputs& inputs_;
    double speed_;
    double seconds_ = 0;
    AnsiOutput output_{true, true};
    std::vector<std::pair<double, std::string>> events_;
    bool wordShown_ = false;
    ScreenDigest digest_;
};

// A JSON string literal of the text.
std::string JsonString(std::string_view text);

}  // namespace tg::journal
