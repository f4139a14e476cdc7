// Keys decoded from a terminal's bytes, and a name's words from the lines
// edited as they are typed.
#include "console/terminal_input.hpp"

namespace tg {

namespace {
bool IsBlank(char byte) { return byte == ' ' || byte == '\t' || byte == '\v' || byte == '\f'; }
}  // namespace

// Bytes the decoder read ahead (after an Escape, or after the return that
// ended a line) come before new ones.
int TerminalInput::ReadByte() {
    return decoder_.HasPending() ? decoder_.TakePendingByte() : terminal_.ReadByte(-1, reading_);
}

int TerminalInput::ReadByteWithin(int milliseconds) {
    return decoder_.HasPending() ? decoder_.TakePendingByte() : terminal_.ReadByte(milliseconds, reading_);
}

Key TerminalInput::ReadKeyWithin(int milliseconds) {
    if (!decoder_.HasPending()) {
        const int first = terminal_.ReadByte(milliseconds, Platform::Reading::Keys);
        if (first < 0) return Key{first, {}};
        decoder_.PutBack(first);
    }
    return decoder_.Next();
}

std::optional<std::string> TerminalInput::ReadWord() {
    for (;;) {
        std::size_t start = 0;
        while (start < line_.size() && IsBlank(line_[start])) ++start;
        if (start < line_.size()) {
            std::size_t end = start;
            while (end < line_.size() && !IsBlank(line_[end])) ++end;
            std::string word = line_.substr(start, end - start);
            line_.erase(0, end);
            return word;
        }
        if (!ReadLine()) return std::nullopt;
    }
}

// A line cut short by the end of input still counts, unless what ended the
// input (Ctrl-C on a page) ends the game. A newline already waiting right
// after a carriage return belongs to the same Enter; any other byte is the
// next key.
bool TerminalInput::ReadLine() {
    reading_ = Platform::Reading::Line;
    std::optional<std::string> line = editor_.ReadLine();
    reading_ = Platform::Reading::Keys;
    if (!line || terminal_.EndOfInputStatus() != 0) return false;
    line_ = std::move(*line);
    if (editor_.EndedByReturn()) {
        const int next = ReadByteWithin(0);
        if (next >= 0 && next != '\n') decoder_.PutBack(next);
    }
    return true;
}

}  // namespace tg
