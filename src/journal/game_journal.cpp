// Replays a journal's inputs into the game and appends the ones read live.
#include "journal/game_journal.hpp"

#include <algorithm>
#include <utility>

#include "journal/journal_format.hpp"

namespace tg::journal {

namespace {
Record Marked(Record::Kind kind, std::uint32_t checksum = 0) {
    Record record;
    record.kind = kind;
    record.checksum = checksum;
    return record;
}
}  // namespace

GameJournal::GameJournal(JournalOpener open)
    : phase_(Phase::Live), open_(std::move(open)), lastInput_(std::chrono::steady_clock::now()) {}

GameJournal::GameJournal(RecordedInputs& inputs, ReplayPace* pace, JournalSink* sink)
    : phase_(Phase::Replaying), inputs_(&inputs), pace_(pace), sink_(sink) {}

bool GameJournal::Replay(Input& input, std::uint32_t shown) {
    if (phase_ != Phase::Replaying) return false;
    if (!inputs_->HasInput()) {
        RunOut();
        return false;
    }
    const bool waits = pace_ && !BeforeShownPoint();
    const Record::Kind kind = input.kind == Input::Kind::Key ? Record::Kind::Key : Record::Kind::Word;
    const Record* record = inputs_->Next(kind, shown);
    if (record == nullptr) {
        phase_ = Phase::Over;
        return false;
    }
    awaitingInput_ = true;
    if (waits) pace_->Wait(std::min(record->delay, LongestGapMilliseconds));
    awaitingInput_ = false;
    if (pace_ && pace_->Stopped()) {
        phase_ = Phase::Over;
        return false;
    }
    input.code = record->code;
    input.text = record->text;
    atLastInput_ = sink_ != nullptr && !InputsLeft();
    return true;
}

// The recorded inputs are used up (or the game strayed from them).
void GameJournal::RunOut() {
    ranOut_ = !inputs_->Divergence();
    if (ranOut_ && sink_ != nullptr) return GoLive();
    if (ranOut_ && pace_) pace_->HoldLastScreen();
    phase_ = Phase::Over;
}

void GameJournal::HoldLastScreen() {
    if (phase_ == Phase::Replaying && pace_) pace_->HoldLastScreen();
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
    if (takenBack_) Append(EncodeRecord(Marked(Record::Kind::TakeBack)));
}

void GameJournal::Pause(int milliseconds) {
    if (phase_ != Phase::Replaying || !pace_ || UpToShownPoint()) return;
    pace_->Wait(milliseconds);
    if (pace_->Stopped()) phase_ = Phase::Over;
}

std::uint32_t GameJournal::MillisecondsSinceLastInput() {
    const auto now = std::chrono::steady_clock::now();
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(now - lastInput_).count();
    lastInput_ = now;
    return static_cast<std::uint32_t>(std::min<long long>(elapsed, UINT32_MAX));
}

// The input's check bits are of what was shown before it.
void GameJournal::Keep(const Input& input, std::uint32_t shown) {
    Record record = Marked(input.kind == Input::Kind::Key ? Record::Kind::Key : Record::Kind::Word);
    record.code = input.code;
    record.text = input.text;
    record.check = static_cast<int>(shown & CheckMask);
    record.delay = MillisecondsSinceLastInput();
    Append(EncodeRecord(record));
}

// A journal that ends before this home menu ends a replay here, and a game
// being continued goes live.
void GameJournal::AtRest(std::uint32_t shown) {
    if (phase_ == Phase::Replaying) {
        if (inputs_->AtRest(shown)) return;
        if (inputs_->Divergence()) phase_ = Phase::Over;
        if (inputs_->Divergence() || sink_ == nullptr) return;
        GoLive();
    }
    if (phase_ == Phase::Live) Pending(Marked(Record::Kind::Checkpoint, shown));
}

void GameJournal::Ending() {
    if (phase_ == Phase::Replaying && sink_ != nullptr && !InputsLeft()) GoLive();
    if (phase_ != Phase::Live) return;
    Pending(Marked(Record::Kind::Ending));
    if (!problem_ && sink_ != nullptr) sink_->Finished();
}

void GameJournal::Finish(int status) {
    if (phase_ != Phase::Live) return;
    if (status == 0 && !pending_.empty()) Append({});
    Sync();
}

// A record that goes out with the next write; what was written reaches the
// disk now.
void GameJournal::Pending(const Record& record) {
    pending_ += EncodeRecord(record);
    Sync();
}

void GameJournal::Append(const std::string& bytes) {
    const std::string records = std::exchange(pending_, {}) + bytes;
    unsynced_ = true;
    if (sink_ == nullptr && open_) sink_ = std::exchange(open_, nullptr)();
    if (sink_ != nullptr && !problem_) problem_ = sink_->Append(records);
}

// Only when something was written since the last time: a sync costs a
// trip to the disk even when there is nothing to write.
void GameJournal::Sync() {
    if (!unsynced_ || sink_ == nullptr) return;
    unsynced_ = false;
    if (!problem_) problem_ = sink_->Sync();
}

}  // namespace tg::journal
