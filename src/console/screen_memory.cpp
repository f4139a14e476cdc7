// Remembers the screen since its last clear and draws it again.
#include "console/screen_memory.hpp"

namespace tg {

void ScreenMemory::Write(std::string_view text) {
    if (text.empty()) return;
    if (spans_.empty() || spans_.back().foreground != foreground_ || spans_.back().background != background_) {
        spans_.push_back(Span{foreground_, background_, {}});
    }
    spans_.back().text += text;
    size_ += text.size();
    if (size_ > TextLimit) DropOldest();
}

void ScreenMemory::DropOldest() {
    std::size_t excess = size_ - TextLimit / 2;
    std::size_t whole = 0;
    while (whole < spans_.size() && spans_[whole].text.size() <= excess) {
        excess -= spans_[whole].text.size();
        size_ -= spans_[whole].text.size();
        ++whole;
    }
    spans_.erase(spans_.begin(), spans_.begin() + static_cast<std::ptrdiff_t>(whole));
    if (!spans_.empty() && excess > 0) {
        spans_.front().text.erase(0, excess);
        size_ -= excess;
    }
}

void ScreenMemory::SetColours(int foreground, int background) {
    foreground_ = foreground;
    background_ = background;
}

void ScreenMemory::Clear() {
    clearForeground_ = foreground_;
    clearBackground_ = background_;
    spans_.clear();
    size_ = 0;
}

void ScreenMemory::Repaint(Platform& platform) const {
    platform.SetColours(clearForeground_, clearBackground_);
    platform.Clear();
    Print(platform);
}

void ScreenMemory::Print(Platform& platform) const {
    for (const Span& span : spans_) {
        platform.SetColours(span.foreground, span.background);
        platform.Write(span.text);
    }
    platform.SetColours(foreground_, background_);
}

std::string ScreenMemory::Text() const {
    std::string text;
    for (const Span& span : spans_) text += span.text;
    return text;
}

}  // namespace tg
