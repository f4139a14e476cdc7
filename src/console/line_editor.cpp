// Line editing: printable characters, Backspace, Ctrl-U and Enter.
#include "console/line_editor.hpp"

namespace tg {

namespace {

constexpr int EndOfText = 4, Backspace = 8, Delete = 127, Tab = 9, LineFeed = 10, Return = 13, KillLine = 21,
              Escape = 27;

bool IsContinuationByte(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

}  // namespace

std::optional<std::string> LineEditor::ReadLine() {
    std::string line;
    for (;;) {
        int byte = keys_.ReadByte();
        if (byte == ByteSource::EndOfInput) return line.empty() ? std::nullopt : std::optional<std::string>(line);
        if (byte == EndOfText && line.empty()) return std::nullopt;
        if (byte == Return || byte == LineFeed) {
            endedByReturn_ = byte == Return;
            echo_.Echo("\n");
            return line;
        }
        if (byte == Backspace || byte == Delete) {
            EraseLastCharacter(line);
        } else if (byte == KillLine) {
            while (!line.empty()) EraseLastCharacter(line);
        } else if (byte == Escape) {
            SkipEscapeSequence();
        } else if ((byte >= ' ' || byte == Tab) && line.size() < MaxLength) {
            if (byte == Tab) byte = ' ';  // a word break, one column wide
            const char character = static_cast<char>(byte);
            line.push_back(character);
            echo_.Echo(std::string_view(&character, 1));
        }
    }
}

// Takes back one character (all the bytes of a UTF-8 one) and its column.
void LineEditor::EraseLastCharacter(std::string& line) {
    if (line.empty()) return;
    while (line.size() > 1 && IsContinuationByte(line.back())) line.pop_back();
    line.pop_back();
    echo_.Echo("\b \b");
}

// An escape sequence comes in one piece from the terminal: ESC [ or ESC O,
// parameters, and one final byte.
void LineEditor::SkipEscapeSequence() {
    const int introducer = keys_.ReadByteWithin(KeyDecoder::EscapeWaitMilliseconds);
    if (introducer != '[' && introducer != 'O') return;
    for (;;) {
        const int byte = keys_.ReadByteWithin(KeyDecoder::EscapeWaitMilliseconds);
        if (byte < 0 || (byte >= 0x40 && byte <= 0x7E)) return;
    }
}

}  // namespace tg
