// Reads the words of a typed name and drops the rest of its line.
#include "console/keyboard_input.hpp"

namespace tg {

namespace {
bool IsBlank(int byte) {
    return byte == ' ' || byte == '\t' || byte == '\n' || byte == '\r' || byte == '\v' || byte == '\f';
}
}  // namespace

int KeyboardInput::NextByte() {
    return decoder_.HasPending() ? decoder_.TakePendingByte() : source_.ReadByte();
}

std::optional<std::string> KeyboardInput::ReadWord() {
    int byte = NextByte();
    while (IsBlank(byte)) byte = NextByte();
    if (byte == ByteSource::EndOfInput) return std::nullopt;
    std::string word;
    while (byte != ByteSource::EndOfInput && !IsBlank(byte)) {
        word.push_back(static_cast<char>(byte));
        byte = NextByte();
    }
    lineEnded_ = EndsLine(byte);
    return word;
}

// Enter ends the line: a newline, or a carriage return where the terminal
// passes Enter on as it is (as for keys typed before the name prompt, read
// while the terminal was in single-key mode). A newline already waiting
// right after the return belongs to the same Enter.
bool KeyboardInput::EndsLine(int byte) {
    if (byte == '\r') {
        const int next = decoder_.HasPending() ? decoder_.TakePendingByte() : source_.ReadByteWithin(0);
        if (next >= 0 && next != '\n') decoder_.PutBack(next);
        return true;
    }
    return byte == '\n' || byte == ByteSource::EndOfInput;
}

void KeyboardInput::DiscardLine() {
    if (!lineEnded_) {
        int byte = NextByte();
        while (!EndsLine(byte)) byte = NextByte();
    }
    lineEnded_ = true;
}

}  // namespace tg
