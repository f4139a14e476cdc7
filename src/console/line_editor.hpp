// One line of typed text, edited where no terminal does it (a web page).
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
// it where there is none (a terminal on a web page): printable characters
// are echoed and kept, Backspace takes back the last character, Ctrl-U the
// whole line, Enter ends the line. Other control keys and escape sequences
// (arrows, function keys) are dropped.
class LineEditor {
public:
    // As long a line as a terminal keeps; further characters are dropped.
    static constexpr std::size_t MaxLength = 4095;

    LineEditor(ByteSource& keys, EchoSink& echo) : keys_(keys), echo_(echo) {}

    // The line typed, without its Enter; nothing when the keys end first.
    std::optional<std::string> ReadLine();

private:
    void EraseLastCharacter(std::string& line);
    void SkipEscapeSequence();

    ByteSource& keys_;
    EchoSink& echo_;
};

}  // namespace tg
