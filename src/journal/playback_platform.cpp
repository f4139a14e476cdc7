#include "journal/playback_platform.hpp"

#include <algorithm>
#include <chrono>
#include <cstdlib>

#include "journal/banner_border.hpp"
#include "journal/playback.hpp"

namespace tg::journal {

namespace {
constexpr int Escape = 27;
constexpr int ControlPoll = 100;  // milliseconds
}  // namespace

void PlaybackPlatform::EndWhenRecordingEnds() {
    if (inputs_.HasInput()) return;
    // The last screen stays until the viewer presses a key.
    while (!controlsGone_) {
        const int control = live_.KeyWithin(-1);
        if (control != NoKeyYet) break;
    }
    End();
}

void PlaybackPlatform::End() {
    live_.Exit(0);
    std::abort();  // a platform's Exit never comes back
}

void PlaybackPlatform::Exit(int status) {
    live_.Exit(status);
    std::abort();  // a platform's Exit never comes back
}

Key PlaybackPlatform::ReadKey() {
    EndWhenRecordingEnds();
    const Record& record = inputs_.NextKey(digest_.Value());
    Wait(std::min(record.delay, LongestGapMilliseconds));
    live_.Write(record.text);
    digest_.Write(record.text);
    return Key{record.code, record.text};
}

std::optional<std::string> PlaybackPlatform::ReadWord() {
    EndWhenRecordingEnds();
    const Record& record = inputs_.NextWord(digest_.Value());
    Wait(std::min(record.delay, LongestGapMilliseconds));
    // As the terminal echoed the name while it was typed.
    live_.Write((wordShown_ ? " " : "") + record.text);
    wordShown_ = true;
    return record.text;
}

void PlaybackPlatform::DiscardLine() {
    if (wordShown_) live_.Write("\n");
    wordShown_ = false;
}

void PlaybackPlatform::Write(std::string_view text) {
    digest_.Write(text);
    live_.Write(ShownWith(text, inputs_.Border(), live_.Box()));
}

void PlaybackPlatform::SetColours(int foreground, int background) {
    digest_.SetColours(foreground, background);
    live_.SetColours(foreground, background);
}

void PlaybackPlatform::Clear() {
    digest_.Clear();
    live_.Clear();
}

void PlaybackPlatform::AtRest() {
    inputs_.AtRest(digest_.Value());
    digest_.Reset();
}

// True to go on waiting; a q or Escape ends the playback at once.
bool PlaybackPlatform::Obey(int control) {
    switch (control) {
        case ' ': paused_ = !paused_; break;
        case '+': speed_ = std::min(speed_ * 2, FastestSpeed); break;
        case '-': speed_ = std::max(speed_ / 2, SlowestSpeed); break;
        case 'q':
        case 'Q':
        case Escape: End();
        case -1: controlsGone_ = true; paused_ = false; break;
        default: break;
    }
    return true;
}

void PlaybackPlatform::Wait(double milliseconds) {
    using Clock = std::chrono::steady_clock;
    double recordedLeft = milliseconds;  // in recorded time
    while (recordedLeft > 0 || paused_) {
        if (controlsGone_) {
            live_.Pause(static_cast<int>(recordedLeft / speed_));
            return;
        }
        const int slice = paused_ ? -1 : std::max(1, std::min(ControlPoll, static_cast<int>(recordedLeft / speed_)));
        const auto start = Clock::now();
        const int control = live_.KeyWithin(slice);
        const double waited = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        const bool wasPaused = paused_;
        if (control != NoKeyYet) Obey(control);
        if (!wasPaused) recordedLeft -= waited * speed_;
    }
}

}  // namespace tg::journal
