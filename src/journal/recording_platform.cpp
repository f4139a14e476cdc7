// Appends a game's inputs, checkpoints and ending to its journal.
#include "journal/recording_platform.hpp"

#include <algorithm>

#include "journal/journal_format.hpp"

namespace tg::journal {

RecordingPlatform::RecordingPlatform(Platform& live, JournalSink& journal)
    : ForwardingPlatform(live), journal_(journal), lastInput_(std::chrono::steady_clock::now()) {}

void RecordingPlatform::Finish(int status) {
    if (status == 0 && !pending_.empty()) Append({});
    Sync();
}

std::uint32_t RecordingPlatform::MillisecondsSinceLastInput() {
    const auto now = std::chrono::steady_clock::now();
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(now - lastInput_).count();
    lastInput_ = now;
    return static_cast<std::uint32_t>(std::min<long long>(elapsed, UINT32_MAX));
}

// The input's check bits are of what was shown before it.
void RecordingPlatform::AppendInput(Record record) {
    record.check = static_cast<int>(digest_.Value() & CheckMask);
    record.delay = MillisecondsSinceLastInput();
    Append(EncodeRecord(record));
}

Key RecordingPlatform::ReadKey() {
    Key key = Inner().ReadKey();
    if (key.code < 0) return key;  // the end of input ends the game: nothing to keep
    Record record;
    record.kind = Record::Kind::Key;
    record.code = key.code;
    record.text = key.echo;
    AppendInput(std::move(record));
    digest_.Write(key.echo);
    return key;
}

std::optional<std::string> RecordingPlatform::ReadWord() {
    std::optional<std::string> word = Inner().ReadWord();
    if (!word) return word;
    Record record;
    record.kind = Record::Kind::Word;
    record.text = *word;
    AppendInput(std::move(record));
    return word;
}

void RecordingPlatform::Write(std::string_view text) {
    digest_.Write(text);
    Inner().Write(text);
}

void RecordingPlatform::SetColours(int foreground, int background) {
    digest_.SetColours(foreground, background);
    Inner().SetColours(foreground, background);
}

void RecordingPlatform::Clear() {
    digest_.Clear();
    Inner().Clear();
}

void RecordingPlatform::AtRest(const RestSummary& /*summary*/) {
    Record record;
    record.kind = Record::Kind::Checkpoint;
    record.checksum = digest_.Value();
    digest_.Reset();
    pending_ += EncodeRecord(record);
    Sync();
}

void RecordingPlatform::Ending() {
    Record record;
    record.kind = Record::Kind::Ending;
    pending_ += EncodeRecord(record);
    Sync();
    if (problem_.empty()) journal_.Finished();
}

void RecordingPlatform::TakeOver(const ScreenDigest& digest, bool takeBack) {
    if (takeBack) {
        Record record;
        record.kind = Record::Kind::TakeBack;
        Append(EncodeRecord(record));
    }
    digest_ = digest;
    lastInput_ = std::chrono::steady_clock::now();
}

void RecordingPlatform::Append(const std::string& bytes) {
    const std::string records = pending_ + bytes;
    pending_.clear();
    unsynced_ = true;
    if (problem_.empty() && !journal_.Append(records)) Fail();
}

// Only when something was written since the last time: a sync costs a
// trip to the disk even when there is nothing to write.
void RecordingPlatform::Sync() {
    if (!unsynced_) return;
    unsynced_ = false;
    if (problem_.empty() && !journal_.Sync()) Fail();
}

void RecordingPlatform::Fail() {
    problem_ = "the journal " + journal_.Path() + " could not be written (" + journal_.Error() +
               "); the rest of the game was not saved";
}

}  // namespace tg::journal
