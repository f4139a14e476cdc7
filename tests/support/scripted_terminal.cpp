// The scripted terminal: keys from a string, output kept as a transcript.
#include "support/scripted_terminal.hpp"

namespace tg {

ScriptedTerminal::ScriptedTerminal(std::string keys) : keys_(std::move(keys)) {}

int ScriptedTerminal::ReadByte(int, Reading) {
    if (position_ >= keys_.size()) return EndOfInput;
    return static_cast<unsigned char>(keys_[position_++]);
}

void ScriptedTerminal::Write(std::string_view text) {
    if (text.empty() || !recording_) return;
    transcript_ += text;
    if (spans_.empty() || spans_.back().foreground != foreground_ || spans_.back().background != background_) {
        spans_.push_back(Span{foreground_, background_, {}});
    }
    spans_.back().text += text;
}

void ScriptedTerminal::SetColours(int foreground, int background) {
    foreground_ = foreground;
    background_ = background;
}

void ScriptedTerminal::Clear() {
    ++clears_;
    if (!recording_) return;
    transcript_ += '\f';
    spans_.clear();
}

void ScriptedTerminal::Pause(int) { ++pauses_; }

std::string ScriptedTerminal::Screen() const {
    std::string screen;
    for (const Span& span : spans_) screen += span.text;
    return screen;
}

bool ScriptedTerminal::ColoursOf(const std::string& text, int& foreground, int& background) const {
    for (const Span& span : spans_) {
        if (span.text.find(text) != std::string::npos) {
            foreground = span.foreground;
            background = span.background;
            return true;
        }
    }
    return false;
}

}  // namespace tg
