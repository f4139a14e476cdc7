// Replays a journal's inputs into the game and appends the ones read live.
#include "journal/game_journal.hpp"

#include <algorithm>
#include <utility>

#include "journal/journal_format.hpp"

namespace tg::journal {

GameJournal::GameJournal(Opener open)
    : phase_(Phase::Live), open_(std::move(open)), lastInput_(std::chrono::steady_clock::now()) {}

GameJournal::GameJournal(RecordedInputs& inputs, ReplayPace& pace, JournalSink* sink)
    : phase_(Phase::Replaying), inputs_(&inputs), pace_(&pace), sink_(sink) {}

bool GameJournal::Replay(Input& input, std::uint32_t shown) {
    if (phase_ != Phase::Replaying) return false;
    if (!inputs_->HasInput()) {
        RunOut();
        return false;
    }
    const bool waits = !BeforeShownPoint();
    const Record* record =
        input.kind == Input::Kind::Key ? inputs_->NextKey(shown) : inputs_->NextWord(shown);
    if (record == nullptr) {
        Stop();
        return false;
    }
    awaitingInput_ = true;
    if (waits) pace_->Wait(std::min(record->delay, LongestGapMilliseconds));
    awaitingInput_ = false;
    if (pace_->Stopped()) {
        Stop();
        return false;
    }
    input.code = record->code;
    input.text = record->text;
    atLastInput_ = sink_ != nullptr && !inputs_->HasInput() && !inputs_->Divergence();
    return true;
}

// The recorded inputs are used up (or the game strayed from them).
void GameJournal::RunOut() {
    if (inputs_->Divergence()) return Stop();
    ranOut_ = true;
    if (sink_ != nullptr) return GoLive();
    pace_->HoldLastScreen();
    Stop();
}

void GameJournal::HoldLastScreen() {
    if (phase_ == Phase::Replaying) pace_->HoldLastScreen();
}

void GameJournal::TakeBack() {
    takenBack_ = true;
    GoLive();
}

// Goes on in the journal replayed so far; a last input taken back is
// withdrawn first.
void GameJournal::GoLive() {
    phase_ = Phase::Live;
    atLastInput_ = false;
    lastInput_ = std::chrono::steady_clock::now();
    if (!takenBack_) return;
    Record record;
    record.kind = Record::Kind::TakeBack;
    Append(EncodeRecord(record));
}

void GameJournal::Pause(int milliseconds) {
    if (phase_ != Phase::Replaying || UpToShownPoint()) return;
    pace_->Wait(milliseconds);
    if (pace_->Stopped()) Stop();
}

std::uint32_t GameJournal::MillisecondsSinceLastInput() {
    const auto now = std::chrono::steady_clock::now();
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(now - lastInput_).count();
    lastInput_ = now;
    return static_cast<std::uint32_t>(std::min<long long>(elapsed, UINT32_MAX));
}

// The input's check bits are of what was shown before it.
void GameJournal::Keep(const Input& input, std::uint32_t shown) {
    Record record;
    record.kind = input.kind == Input::Kind::Key ? Record::Kind::Key : Record::Kind::Word;
    record.code = input.code;
    record.text = input.text;
    record.check = static_cast<int>(shown & CheckMask);
    record.delay = MillisecondsSinceLastInput();
    Append(EncodeRecord(record));
}

void GameJournal::AtRest(std::uint32_t shown) {
    if (phase_ == Phase::Replaying) {
        if (inputs_->AtRest(shown)) return;
        if (inputs_->Divergence()) return Stop();
        if (sink_ == nullptr) return;  // the journal ends before this home menu
        GoLive();
    }
    if (phase_ != Phase::Live) return;
    Record record;
    record.kind = Record::Kind::Checkpoint;
    record.checksum = shown;
    pending_ += EncodeRecord(record);
    Sync();
}

void GameJournal::Ending() {
    if (phase_ == Phase::Replaying && sink_ != nullptr && !inputs_->HasInput() && !inputs_->Divergence()) GoLive();
    if (phase_ != Phase::Live) return;
    Record record;
    record.kind = Record::Kind::Ending;
    pending_ += EncodeRecord(record);
    Sync();
    if (!problem_ && sink_ != nullptr) sink_->Finished();
}

void GameJournal::Finish(int status) {
    if (phase_ != Phase::Live) return;
    if (status == 0 && !pending_.empty()) Append({});
    Sync();
}

void GameJournal::Append(const std::string& bytes) {
    const std::string records = pending_ + bytes;
    pending_.clear();
    unsynced_ = true;
    if (sink_ == nullptr && open_) sink_ = std::exchange(open_, nullptr)();
    if (sink_ == nullptr) return;
    if (!problem_) problem_ = sink_->Append(records);
}

// Only when something was written since the last time: a sync costs a
// trip to the disk even when there is nothing to write.
void GameJournal::Sync() {
    if (!unsynced_ || sink_ == nullptr) return;
    unsynced_ = false;
    if (!problem_) problem_ = sink_->Sync();
}

}  // namespace tg::journal
