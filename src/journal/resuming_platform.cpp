#include "journal/resuming_platform.hpp"

namespace tg::journal {

bool ResumingPlatform::LiveNow() {
    if (!isLive_ && !inputs_.HasInput()) GoLive();
    return isLive_;
}

void ResumingPlatform::GoLive() {
    if (!live_) throw ReachedEnd{};
    memory_.Repaint(*live_);
    recorder_->TakeOver(digest_);
    isLive_ = true;
}

// A trial run shows nothing, so it remembers nothing.
void ResumingPlatform::Remember(std::string_view text) {
    if (live_) memory_.Write(text);
}

// A replay of checked inputs sums up only what it shows after the last
// recorded home menu, which the recorder's next checkpoint covers.
void ResumingPlatform::Digest(std::string_view text) {
    if (!inputs_.CheckpointAhead()) digest_.Write(text);
}

Key ResumingPlatform::ReadKey() {
    if (LiveNow()) return recorder_->ReadKey();
    const Record& record = inputs_.NextKey(digest_.Value());
    Remember(record.text);
    Digest(record.text);
    return Key{record.code, record.text};
}

std::optional<std::string> ResumingPlatform::ReadWord() {
    if (LiveNow()) return recorder_->ReadWord();
    return inputs_.NextWord(digest_.Value()).text;
}

void ResumingPlatform::DiscardLine() {
    if (isLive_) recorder_->DiscardLine();
}

void ResumingPlatform::Write(std::string_view text) {
    if (isLive_) return recorder_->Write(text);
    Remember(text);
    Digest(text);
}

void ResumingPlatform::SetColours(int foreground, int background) {
    if (isLive_) return recorder_->SetColours(foreground, background);
    if (live_) memory_.SetColours(foreground, background);
    if (!inputs_.CheckpointAhead()) digest_.SetColours(foreground, background);
}

void ResumingPlatform::Clear() {
    if (isLive_) return recorder_->Clear();
    if (live_) memory_.Clear();
    if (!inputs_.CheckpointAhead()) digest_.Clear();
}

void ResumingPlatform::Pause(int milliseconds) {
    if (isLive_) recorder_->Pause(milliseconds);
}

void ResumingPlatform::AtRest() {
    if (isLive_) return recorder_->AtRest();
    if (inputs_.AtRest(digest_.Value())) {
        digest_.Reset();
        return;
    }
    // The journal ends before this home menu was recorded.
    GoLive();
    recorder_->AtRest();
}

void ResumingPlatform::GameOver() {
    if (LiveNow()) recorder_->GameOver();
}

void ResumingPlatform::Exit(int status) {
    if (isLive_) recorder_->Exit(status);  // never comes back
    throw GameEnded{inputs_.Consumed()};
}

}  // namespace tg::journal
