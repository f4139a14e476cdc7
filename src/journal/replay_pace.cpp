// Waits between a replay's inputs, at the speed the viewer sets.
#include "journal/replay_pace.hpp"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <sstream>
#include <string>
#include <utility>

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

void ReplayPace::Wait(double milliseconds) {
    if (stopped_) return;
    switch (kind_) {
        case Kind::None: break;
        case Kind::Recorded: terminal_->Pause(static_cast<int>(milliseconds)); break;
        case Kind::Watched: WaitWatched(milliseconds); break;
    }
}

void ReplayPace::Stop(int status) {
    stopped_ = true;
    stopStatus_ = status;
    paused_ = false;
}

// The title says the replay has ended while its last screen waits (a page
// ends the replay there by itself).
// A move that goes somewhere leaves the last screen too.
void ReplayPace::HoldLastScreen() {
    if (kind_ == Kind::Watched && !controlsGone_ && !stopped_) {
        terminal_->SetTitle("Tender Gamble! " + Where() + ", ended");
        title_.clear();
    }
    while (kind_ == Kind::Watched && !controlsGone_ && !stopped_) {
        const int control = keys_.Next(-1);
        if (control == Platform::EndOfInput) Stop(terminal_->EndOfInputStatus());
        if (control == Platform::NothingYet) continue;
        if (!place_ || !IsMoveKey(control)) break;
        Move(control);
    }
    if (!stopped_) Stop(0);
}

std::optional<std::size_t> ReplayPace::MoveTo() {
    if (moveTo_) stopped_ = false;
    return std::exchange(moveTo_, std::nullopt);
}

void ReplayPace::Move(int key) {
    const std::optional<std::size_t> target = place_->Target(key);
    if (!target) return;
    if (key == '.' || key == ',') paused_ = true;
    moveTo_ = target;
    stopped_ = true;
}

// The title is set again only when it changes: with a place, at every
// input.
void ReplayPace::ShowState() {
    const std::string title =
        "Tender Gamble! " + Where() + (paused_ ? ", paused" : "") + ", speed " + SpeedText(speed_);
    if (title != title_) terminal_->SetTitle(title);
    title_ = title;
}

void ReplayPace::Obey(int control) {
    switch (control) {
        case ' ': paused_ = !paused_; return ShowState();
        case '+': speed_ = std::min(speed_ * 2, FastestSpeed); return ShowState();
        case '-': speed_ = std::max(speed_ / 2, SlowestSpeed); return ShowState();
        case 'q':
        case 'Q':
        case Escape: Stop(0); break;
        case Platform::EndOfInput:
            // No key can come any more: the replay goes on by itself, unless
            // what ended the keys ends the program too.
            if (terminal_->EndOfInputStatus() != 0) return Stop(terminal_->EndOfInputStatus());
            controlsGone_ = true;
            paused_ = false;
            break;
        default:
            if (place_ && IsMoveKey(control)) Move(control);
            break;
    }
}

void ReplayPace::WaitWatched(double milliseconds) {
    using Clock = std::chrono::steady_clock;
    ShowState();
    double recordedLeft = milliseconds;  // in recorded time
    while ((recordedLeft > 0 || paused_) && !stopped_) {
        if (controlsGone_) {
            terminal_->Pause(static_cast<int>(recordedLeft / speed_));
            return;
        }
        const int slice = paused_ ? -1 : std::max(1, std::min(ControlPoll, static_cast<int>(recordedLeft / speed_)));
        const auto start = Clock::now();
        const int control = keys_.Next(slice);
        const double waited = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        const bool wasPaused = paused_;
        if (control != Platform::NothingYet) Obey(control);
        if (!wasPaused) recordedLeft -= waited * speed_;
    }
}

}  // namespace tg::journal
