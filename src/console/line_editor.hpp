// One line of typed text, edited and echoed by the game itself.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "console/key_decoder.hpp"

namespace tg {

// Where the edited line is echoed.
class EchoSink {
public:
    virtual ~EchoSink() = default;
    virtual void Echo(std::string_view text) = 0;
};

// One line of typed text, edited the way a terminal's line discipline does
// it, on every terminal alike: printable characters are echoed and kept,
// Backspace takes back the last character, Ctrl-U the whole line, Enter
// ends the line, Ctrl-D on an empty line ends the input. Other control keys
// and escape sequences (arrows, function keys) are dropped.
class LineEditor {
public:
    // As long a line as a terminal keeps; further characters are dropped.
    static constexpr std::size_t MaxLength = 4095;

    LineEditor(ByteSource& keys, EchoSink& echo) : keys_(keys), echo_(echo) {}

    // The line typed, without its Enter; what was typed of it when the
    // keys end first; nothing when they end before anything was typed.
    std::optional<std::string> ReadLine();
    // Whether the last line ended with a carriage return (which a newline
    // may follow, as part of the same Enter).
    bool EndedByReturn() const { return endedByReturn_; }

private:
    void EraseLastCharacter(std::string& line);
    void SkipEscapeSequence();

    ByteSource& keys_;
    EchoSink& echo_;
    bool endedByReturn_ = false;
};

}  // namespace tg
