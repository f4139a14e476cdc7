// Waits between a replay's inputs at the speed the viewer sets, and moves
// through a watched replay where the viewer asks.
#include "journal/replay_pace.hpp"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <sstream>
#include <utility>

#include "journal/game_journal.hpp"
#include "journal/recorded_inputs.hpp"

namespace tg::journal {

namespace {
constexpr int Escape = 27;
constexpr int ControlPoll = 100;  // milliseconds
constexpr int Tenths = 10;

// "4", "1.5", or "1/8" for a speed halved below the recorded pace.
std::string SpeedText(double speed) {
    const double slower = 1 / speed;
    if (speed < 1 && slower == std::floor(slower)) return "1/" + std::to_string(static_cast<long long>(slower));
    std::ostringstream text;
    text << speed;
    return text.str();
}

bool IsMoveKey(int key) {
    return key == '.' || key == ',' || key == RightKey || key == LeftKey || key == HomeKey || key == EndKey ||
           (key >= '0' && key <= '9');
}

}  // namespace

ReplayPosition::ReplayPosition(const RecordedInputs& inputs)
    : total_(inputs.InputCount()), homeMenus_(inputs.HomeMenus()) {}

void ReplayPosition::Follow(const GameJournal& journal) {
    journal_ = &journal;
    clock_.clear();
}

std::size_t ReplayPosition::Now() const { return journal_ ? journal_->InputsShown() : 0; }

std::string ReplayPosition::Where() const {
    return "replay " + std::to_string(Now()) + "/" + std::to_string(total_) + (clock_.empty() ? "" : ", " + clock_);
}

std::optional<std::size_t> ReplayPosition::Target(int moveKey) const {
    const std::size_t now = Now();
    std::size_t target = now;
    if (moveKey >= '0' && moveKey <= '9') target = total_ * static_cast<std::size_t>(moveKey - '0') / Tenths;
    if (moveKey == '.') target = std::min(now + 1, total_);
    if (moveKey == ',') target = now == 0 ? 0 : now - 1;
    if (moveKey == HomeKey) target = 0;
    if (moveKey == EndKey) target = total_;
    if (moveKey == RightKey) {
        const auto next = std::upper_bound(homeMenus_.begin(), homeMenus_.end(), now);
        target = next == homeMenus_.end() ? now : *next;
    }
    if (moveKey == LeftKey) {
        const auto next = std::lower_bound(homeMenus_.begin(), homeMenus_.end(), now);
        target = next == homeMenus_.begin() ? now : *std::prev(next);
    }
    if (target == now) return std::nullopt;
    return target;
}

void ReplayPace::Wait(double milliseconds) {
    if (stopped_) return;
    if (kind_ == Kind::Recorded) return terminal_.Pause(static_cast<int>(milliseconds));
    WaitWatched(milliseconds);
}

void ReplayPace::Stop(int status) {
    stopped_ = true;
    stopStatus_ = status;
    paused_ = false;
}

// The title says the replay has ended while its last screen waits (a page
// ends the replay there by itself). A move that goes somewhere leaves the
// last screen too; one that goes nowhere leaves it waiting.
void ReplayPace::HoldLastScreen() {
    if (kind_ == Kind::Watched && !controlsGone_ && !stopped_) {
        terminal_.SetTitle("Tender Gamble! " + Where() + ", ended");
        title_.clear();
    }
    while (kind_ == Kind::Watched && !controlsGone_ && !stopped_) {
        const int key = NextKey(-1);
        if (key == Platform::EndOfInput) Stop(terminal_.EndOfInputStatus());
        if (key != Platform::NothingYet && !Move(key)) break;
    }
    if (!stopped_) Stop(0);
}

std::optional<std::size_t> ReplayPace::MoveTo() {
    if (moveTo_) stopped_ = false;
    return std::exchange(moveTo_, std::nullopt);
}

// Whether the key is one of the moves offered; a move that goes somewhere
// ends this run of the replay.
bool ReplayPace::Move(int key) {
    if (!position_ || !IsMoveKey(key)) return false;
    const std::optional<std::size_t> target = position_->Target(key);
    if (!target) return true;
    if (key == '.' || key == ',') paused_ = true;
    moveTo_ = target;
    stopped_ = true;
    return true;
}

// A key the terminal sends as a sequence comes from the decoder as two
// codes: a prefix (224, or 0 for a function key) echoed as the Escape it
// began with, then the scan code.
int ReplayPace::NextKey(int milliseconds) {
    const Key key = keys_.ReadKeyWithin(milliseconds);
    const bool prefix = (key.code == 224 || key.code == 0) && key.echo == EchoText(Escape);
    return prefix ? ExtendedKey + keys_.ReadKey().code : key.code;
}

// The title is set again only when it changes: with a position, at every
// input.
void ReplayPace::ShowState() {
    const std::string title =
        "Tender Gamble! " + Where() + (paused_ ? ", paused" : "") + ", speed " + SpeedText(speed_);
    if (title != title_) terminal_.SetTitle(title);
    title_ = title;
}

void ReplayPace::Obey(int key) {
    switch (key) {
        case ' ': paused_ = !paused_; return ShowState();
        case '+': speed_ = std::min(speed_ * 2, FastestSpeed); return ShowState();
        case '-': speed_ = std::max(speed_ / 2, SlowestSpeed); return ShowState();
        case 'q':
        case 'Q':
        case Escape: return Stop(0);
        case Platform::EndOfInput:
            // No key can come any more: the replay goes on by itself, unless
            // what ended the keys ends the program too.
            if (terminal_.EndOfInputStatus() != 0) return Stop(terminal_.EndOfInputStatus());
            controlsGone_ = true;
            paused_ = false;
            return;
        default: Move(key);
    }
}

void ReplayPace::WaitWatched(double milliseconds) {
    using Clock = std::chrono::steady_clock;
    ShowState();
    double recordedLeft = milliseconds;  // in recorded time
    while ((recordedLeft > 0 || paused_) && !stopped_) {
        if (controlsGone_) return terminal_.Pause(static_cast<int>(recordedLeft / speed_));
        const int slice = paused_ ? -1 : std::max(1, std::min(ControlPoll, static_cast<int>(recordedLeft / speed_)));
        const auto start = Clock::now();
        const int key = NextKey(slice);
        const double waited = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        const bool wasPaused = paused_;
        if (key != Platform::NothingYet) Obey(key);
        if (!wasPaused) recordedLeft -= waited * speed_;
    }
}

}  // namespace tg::journal
