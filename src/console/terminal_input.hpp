// The player's keys and typed name, made of a terminal's bytes.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "console/key_decoder.hpp"
#include "console/line_editor.hpp"
#include "console/platform.hpp"

namespace tg {

// The player's input as the game reads it from a terminal: single keys,
// decoded as a PC console gives them, and for name entry the words of lines
// that are edited and echoed here as they are typed, on every terminal alike.
class TerminalInput : private ByteSource, private EchoSink {
public:
    explicit TerminalInput(Platform& terminal) : terminal_(terminal), decoder_(*this), editor_(*this, *this) {}

    // One key, not echoed: the console echoes it.
    Key ReadKey() { return decoder_.Next(); }
    // One key that begins within the time (-1: no limit); else a key whose
    // code is NothingYet or EndOfInput.
    Key ReadKeyWithin(int milliseconds);

    // The next word typed, taken from the line being typed, or from the
    // next line with a word on it (Enter on an empty line is only echoed).
    // Nothing at the end of input before a word starts.
    std::optional<std::string> ReadWord();

    // Drops the rest of the line the last word came from.
    void DiscardLine() { line_.clear(); }

private:
    int ReadByte() override;
    int ReadByteWithin(int milliseconds) override;
    void Echo(std::string_view text) override { terminal_.Write(text); }
    bool ReadLine();

    Platform& terminal_;
    KeyDecoder decoder_;
    LineEditor editor_;
    Platform::Reading reading_ = Platform::Reading::Keys;
    std::string line_;  // what is left of the line the words are read from
};

}  // namespace tg
