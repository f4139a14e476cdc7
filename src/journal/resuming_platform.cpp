#include "journal/resuming_platform.hpp"

#include <cstdlib>

#include "journal/banner_border.hpp"

namespace tg::journal {

bool ResumingPlatform::LiveNow() {
    if (!isLive_ && !inputs_.HasInput()) GoLive();
    return isLive_;
}

void ResumingPlatform::GoLive() {
    memory_.Repaint(live_);
    recorder_.TakeOver(digest_, takeBack_);
    isLive_ = true;
}

Key ResumingPlatform::ReadKey() {
    if (LiveNow()) return recorder_.ReadKey();
    const Record& record = inputs_.NextKey(digest_.Value());
    memory_.Write(record.text);
    digest_.Write(record.text);
    return Key{record.code, record.text};
}

std::optional<std::string> ResumingPlatform::ReadWord() {
    if (LiveNow()) return recorder_.ReadWord();
    return inputs_.NextWord(digest_.Value()).text;
}

void ResumingPlatform::DiscardLine() {
    if (isLive_) recorder_.DiscardLine();
}

void ResumingPlatform::Write(std::string_view text) {
    if (isLive_) return recorder_.Write(text);
    memory_.Write(ShownWith(text, box_, live_.Box()));
    digest_.Write(text);
}

void ResumingPlatform::SetColours(int foreground, int background) {
    if (isLive_) return recorder_.SetColours(foreground, background);
    memory_.SetColours(foreground, background);
    digest_.SetColours(foreground, background);
}

void ResumingPlatform::Clear() {
    if (isLive_) return recorder_.Clear();
    memory_.Clear();
    digest_.Clear();
}

void ResumingPlatform::Pause(int milliseconds) {
    if (isLive_) recorder_.Pause(milliseconds);
}

void ResumingPlatform::AtRest() {
    if (isLive_) return recorder_.AtRest();
    if (inputs_.AtRest(digest_.Value())) {
        digest_.Reset();
        return;
    }
    // The journal ends before this home menu was recorded.
    GoLive();
    recorder_.AtRest();
}

void ResumingPlatform::GameOver() {
    if (LiveNow()) recorder_.GameOver();
}

void ResumingPlatform::Exit(int status) {
    if (isLive_) recorder_.Exit(status);  // never comes back
    ended_(inputs_.Consumed());
    std::abort();  // `ended` never comes back
}

}  // namespace tg::journal
