// Writes a replayed game as an asciicast (version 2) recording.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "console/ansi_output.hpp"
#include "console/platform.hpp"

namespace tg {

// An imaginary 80x25 colour terminal that a replayed game is shown on,
// keeping what it would have been sent, with the time it was sent at, as
// the output events of an asciicast recording. Time passes only in its
// pauses, scaled by the replay's speed.
class CastRecorder : public Platform {
public:
    static constexpr int Width = 80;
    static constexpr int Height = 25;

    explicit CastRecorder(double speed) : speed_(speed) {}

    // The game reads from its journal, never from here.
    int ReadByte(int, Reading) override { return EndOfInput; }
    void Write(std::string_view text) override { output_.Write(text); }
    void SetColours(int foreground, int background) override { output_.SetColours(foreground, background); }
    void Clear() override { output_.Clear(); }
    // What was sent so far becomes one event; then the time passes.
    void Pause(int milliseconds) override { Flush(milliseconds); }

    // The last event; a game that ended by itself also gives the terminal
    // its own colours back, as a real one would on the way out.
    void Finish(bool gameEnded) {
        if (gameEnded) output_.ResetColours();
        Flush(0);
    }

    // The whole recording: the header line, then one line per event.
    std::string Recording(const std::string& title) const;

private:
    void Flush(double milliseconds);

    double speed_;
    double seconds_ = 0;
    AnsiOutput output_{true, true};
    std::vector<std::pair<double, std::string>> events_;
};

}  // namespace tg
