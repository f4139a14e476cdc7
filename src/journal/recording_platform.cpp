#include "journal/recording_platform.hpp"

#include <cstdio>
#include <cstdlib>

#include "journal/journal_format.hpp"

namespace tg::journal {

namespace {

// Never destroyed: it is read by a handler that runs at exit, after the
// destructors of statics made later than the handler was registered.
std::string& PendingReport() {
    static std::string* const report = new std::string;
    return *report;
}

void PrintReport() {
    if (!PendingReport().empty()) std::fputs(PendingReport().c_str(), stderr);
}

}  // namespace

void ReportAtExit(const std::string& message) {
    // The report exists before the handler is registered, so that at exit
    // it is destroyed only after the handler has printed it.
    std::string& report = PendingReport();
    static const bool registered = std::atexit(PrintReport) == 0;
    (void)registered;
    report += "tender-gamble: " + message + "\n";
}

RecordingPlatform::RecordingPlatform(Platform& live, JournalSink& journal)
    : live_(live), journal_(journal), lastInput_(std::chrono::steady_clock::now()) {
    live_.SyncOnExit(journal_.Handle());
}

std::uint32_t RecordingPlatform::MillisecondsSinceLastInput() {
    const auto now = std::chrono::steady_clock::now();
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(now - lastInput_).count();
    lastInput_ = now;
    return static_cast<std::uint32_t>(std::min<long long>(elapsed, UINT32_MAX));
}

Key RecordingPlatform::ReadKey() {
    Key key = live_.ReadKey();
    if (key.code < 0) return key;  // the end of input ends the game: nothing to keep
    Record record;
    record.kind = Record::Kind::Key;
    record.check = static_cast<int>(digest_.Value() & CheckMask);
    record.code = key.code;
    record.text = key.echo;
    record.delay = MillisecondsSinceLastInput();
    Append(EncodeRecord(record));
    digest_.Write(key.echo);
    return key;
}

std::optional<std::string> RecordingPlatform::ReadWord() {
    std::optional<std::string> word = live_.ReadWord();
    if (!word) return word;
    Record record;
    record.kind = Record::Kind::Word;
    record.check = static_cast<int>(digest_.Value() & CheckMask);
    record.text = *word;
    record.delay = MillisecondsSinceLastInput();
    Append(EncodeRecord(record));
    return word;
}

void RecordingPlatform::Write(std::string_view text) {
    digest_.Write(text);
    live_.Write(text);
}

void RecordingPlatform::SetColours(int foreground, int background) {
    digest_.SetColours(foreground, background);
    live_.SetColours(foreground, background);
}

void RecordingPlatform::Clear() {
    digest_.Clear();
    live_.Clear();
}

void RecordingPlatform::AtRest() {
    Record record;
    record.kind = Record::Kind::Checkpoint;
    record.checksum = digest_.Value();
    digest_.Reset();
    pending_ += EncodeRecord(record);
    Sync();
}

void RecordingPlatform::GameOver() {
    Record record;
    record.kind = Record::Kind::Ending;
    pending_ += EncodeRecord(record);
    Sync();
    if (!failed_) journal_.Finished();
}

void RecordingPlatform::Exit(int status) {
    if (!pending_.empty()) Append({});
    Sync();
    live_.Exit(status);
    std::abort();  // a platform's Exit never comes back
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
    if (!failed_ && !journal_.Append(records)) Fail();
}

// Only when something was written since the last time: a sync costs a
// trip to the disk even when there is nothing to write.
void RecordingPlatform::Sync() {
    if (!unsynced_) return;
    unsynced_ = false;
    if (!failed_ && !journal_.Sync()) Fail();
}

void RecordingPlatform::Fail() {
    failed_ = true;
    live_.SyncOnExit(-1);
    ReportAtExit("the journal " + journal_.Path() + " could not be written (" + journal_.Error() +
                 "); the rest of the game was not saved");
}

}  // namespace tg::journal
