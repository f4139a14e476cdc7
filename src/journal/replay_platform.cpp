// Replays a journal's inputs through the game, at the pace the use asks for.
#include "journal/replay_platform.hpp"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <sstream>
#include <string>

namespace tg::journal {

namespace {
constexpr int Escape = 27;
constexpr int ControlPoll = 100;  // milliseconds

// "4", "1.5", or "1/8" for a speed halved below the recorded pace.
std::string SpeedText(double speed) {
    const double slower = 1 / speed;
    if (speed < 1 && slower == std::floor(slower)) return "1/" + std::to_string(static_cast<long long>(slower));
    std::ostringstream text;
    text << speed;
    return text.str();
}

}  // namespace

ReplayPlatform::ReplayPlatform(RecordedInputs& inputs, Platform& shown, Pace pace, double speed)
    : ForwardingPlatform(shown), inputs_(inputs), pace_(pace), speed_(speed) {}

void ReplayPlatform::GoLiveAtTheEnd(const SilentScreen& remembered, Platform& live, RecordingPlatform& recorder,
                                    bool takeBack) {
    remembered_ = &remembered;
    liveTerminal_ = &live;
    recorder_ = &recorder;
    takeBack_ = takeBack;
}

void ReplayPlatform::Stop(int status) {
    stopped_ = true;
    stopStatus_ = status;
    paused_ = false;
}

bool ReplayPlatform::Replaying() {
    if (live_ || stopped_) return false;
    if (inputs_.HasInput()) return true;
    if (inputs_.Divergence()) {
        Stop();
        return false;
    }
    ranOut_ = true;
    if (recorder_ != nullptr) {
        GoLive();
        return false;
    }
    WaitForViewer();
    return false;
}

void ReplayPlatform::HoldLastScreen() {
    if (!stopped_) WaitForViewer();
}

// The last screen stays until the viewer presses a key; the title says
// the replay has ended (the page ends it on seeing that).
void ReplayPlatform::WaitForViewer() {
    if (pace_ == Pace::Watched && !controlsGone_) Inner().SetTitle("Tender Gamble! replay, ended");
    while (pace_ == Pace::Watched && !controlsGone_) {
        const int control = Inner().KeyWithin(-1);
        if (control == -1) Stop(Inner().EndOfInputStatus());
        if (control != NoKeyYet) break;
    }
    if (!stopped_) Stop();
}

void ReplayPlatform::GoLive() {
    remembered_->Memory().Repaint(*liveTerminal_);
    recorder_->TakeOver(digest_, takeBack_);
    ForwardTo(*recorder_);
    live_ = true;
}

Key ReplayPlatform::ReadKey() {
    if (!Replaying()) return live_ ? Inner().ReadKey() : Key{};
    const Record* record = inputs_.NextKey(digest_.Value());
    if (record == nullptr) {
        Stop();
        return Key{};
    }
    Wait(std::min(record->delay, LongestGapMilliseconds));
    if (stopped_) return Key{};
    Inner().Write(record->text);
    digest_.Write(record->text);
    return Key{record->code, record->text};
}

// Watched or cast, the word shows as the terminal echoed it while it was
// typed; continuing, the terminal that goes on echoes what is typed next.
std::optional<std::string> ReplayPlatform::ReadWord() {
    if (!Replaying()) return live_ ? Inner().ReadWord() : std::nullopt;
    const Record* record = inputs_.NextWord(digest_.Value());
    if (record == nullptr) {
        Stop();
        return std::nullopt;
    }
    Wait(std::min(record->delay, LongestGapMilliseconds));
    if (stopped_) return std::nullopt;
    if (pace_ != Pace::None) {
        Inner().Write((wordShown_ ? " " : "") + record->text);
        wordShown_ = true;
    }
    return record->text;
}

void ReplayPlatform::DiscardLine() {
    if (live_) return Inner().DiscardLine();
    if (wordShown_ && !stopped_) Inner().Write("\n");
    wordShown_ = false;
}

void ReplayPlatform::Write(std::string_view text) {
    if (stopped_) return;
    if (!live_) digest_.Write(text);
    Inner().Write(text);
}

void ReplayPlatform::SetColours(int foreground, int background) {
    if (stopped_) return;
    if (!live_) digest_.SetColours(foreground, background);
    Inner().SetColours(foreground, background);
}

void ReplayPlatform::Clear() {
    if (stopped_) return;
    if (!live_) digest_.Clear();
    Inner().Clear();
}

void ReplayPlatform::Pause(int milliseconds) {
    if (live_) return Inner().Pause(milliseconds);
    if (!stopped_) Wait(static_cast<std::uint32_t>(milliseconds));
}

int ReplayPlatform::EndOfInputStatus() const { return live_ ? Inner().EndOfInputStatus() : stopStatus_; }

void ReplayPlatform::AtRest(const RestSummary& summary) {
    if (live_) return recorder_->AtRest(summary);
    if (stopped_) return;
    if (inputs_.AtRest(digest_.Value())) {
        digest_.Reset();
        return;
    }
    if (inputs_.Divergence()) return Stop();
    // The journal ends before this home menu.
    if (recorder_ != nullptr) {
        GoLive();
        return recorder_->AtRest(summary);
    }
    digest_.Reset();
}

void ReplayPlatform::Ending() {
    if (recorder_ != nullptr && !live_ && !stopped_ && !inputs_.HasInput() && !inputs_.Divergence()) GoLive();
    if (live_) recorder_->Ending();
}

void ReplayPlatform::Wait(std::uint32_t milliseconds) {
    switch (pace_) {
        case Pace::None: break;
        case Pace::Recorded: Inner().Pause(static_cast<int>(milliseconds)); break;
        case Pace::Watched: WaitWatched(milliseconds); break;
    }
}

void ReplayPlatform::ShowState() {
    stateShown_ = true;
    Inner().SetTitle(std::string("Tender Gamble! replay") + (paused_ ? ", paused" : "") + ", speed " +
                     SpeedText(speed_));
}

void ReplayPlatform::Obey(int control) {
    switch (control) {
        case ' ': paused_ = !paused_; return ShowState();
        case '+': speed_ = std::min(speed_ * 2, FastestSpeed); return ShowState();
        case '-': speed_ = std::max(speed_ / 2, SlowestSpeed); return ShowState();
        case 'q':
        case 'Q':
        case Escape: Stop(); break;
        case -1:
            // No key can come any more: the replay goes on by itself, unless
            // what ended the keys ends the program too.
            if (Inner().EndOfInputStatus() != 0) return Stop(Inner().EndOfInputStatus());
            controlsGone_ = true;
            paused_ = false;
            break;
        default: break;
    }
}

void ReplayPlatform::WaitWatched(double milliseconds) {
    using Clock = std::chrono::steady_clock;
    if (!stateShown_) ShowState();
    double recordedLeft = milliseconds;  // in recorded time
    while ((recordedLeft > 0 || paused_) && !stopped_) {
        if (controlsGone_) {
            Inner().Pause(static_cast<int>(recordedLeft / speed_));
            return;
        }
        const int slice = paused_ ? -1 : std::max(1, std::min(ControlPoll, static_cast<int>(recordedLeft / speed_)));
        const auto start = Clock::now();
        const int control = Inner().KeyWithin(slice);
        const double waited = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        const bool wasPaused = paused_;
        if (control != NoKeyYet) Obey(control);
        if (!wasPaused) recordedLeft -= waited * speed_;
    }
}

}  // namespace tg::journal
