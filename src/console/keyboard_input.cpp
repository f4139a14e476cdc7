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
    lineEnded_ = byte == '\n' || byte == ByteSource::EndOfInput;
    return word;
}

void KeyboardInput::DiscardLine() {
    if (!lineEnded_) {
        int byte = NextByte();
        while (byte != '\n' && byte != ByteSource::EndOfInput) byte = NextByte();
    }
    lineEnded_ = true;
}

}  // namespace tg
