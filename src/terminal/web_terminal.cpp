// Keys from the web page decoded as on a terminal; output handed to the
// page each time the game blocks; name entry edited here.
#include "terminal/web_terminal.hpp"

#include <utility>

namespace tg {

WebTerminal::WebTerminal(WebPage& page)
    : page_(page), rawKeys_(*this), input_(*this), editor_(rawKeys_, *this), output_(true, true) {}

Key WebTerminal::ReadKey() {
    Key key = input_.ReadKey();
    Write(key.echo);
    return key;
}

std::optional<std::string> WebTerminal::ReadWord() {
    lineMode_ = true;
    return input_.ReadWord();
}

void WebTerminal::DiscardLine() {
    input_.DiscardLine();
    lineMode_ = false;
    line_.clear();
    linePosition_ = 0;
}

void WebTerminal::Pause(int milliseconds) {
    Flush();
    page_.Sleep(milliseconds);
}

// A control key of a replay, read as typed: no decoding, no echo.
int WebTerminal::KeyWithin(int milliseconds) {
    const int byte = NextKeyByte(milliseconds);
    return byte == NothingYet ? NoKeyYet : byte == EndOfInput ? -1 : byte;
}

WebTerminal::~WebTerminal() {
    output_.ResetColours();
    Flush();
}

void WebTerminal::Flush() {
    if (!output_.Pending().empty()) page_.Show(output_.Take());
}

// In name entry a whole line is edited first, then read word by word,
// with the Enter that ended it as a newline.
int WebTerminal::ReadByte() {
    if (!lineMode_) return NextKeyByte(-1);
    if (linePosition_ >= line_.size()) {
        page_.EditingLine(true);
        std::optional<std::string> line = editor_.ReadLine();
        page_.EditingLine(false);
        if (!line) return EndOfInput;
        line_ = std::move(*line) + "\n";
        linePosition_ = 0;
    }
    return static_cast<unsigned char>(line_[linePosition_++]);
}

int WebTerminal::ReadByteWithin(int milliseconds) {
    if (!lineMode_) return NextKeyByte(milliseconds);
    if (linePosition_ >= line_.size()) return NothingYet;
    return static_cast<unsigned char>(line_[linePosition_++]);
}

int WebTerminal::NextKeyByte(int timeoutMilliseconds) {
    if (interrupted_) return EndOfInput;
    if (keyPosition_ >= keys_.size() && !FillKeys(timeoutMilliseconds)) return NothingYet;
    const int byte = static_cast<unsigned char>(keys_[keyPosition_++]);
    if (byte != Interrupt) return byte;
    interrupted_ = true;
    return EndOfInput;
}

// Hands over what was written so far, then takes the keys the page has
// (up to a chunk), waiting for them when none are there yet.
bool WebTerminal::FillKeys(int timeoutMilliseconds) {
    Flush();
    keys_ = page_.TakeKeys(InputChunk);
    while (keys_.empty() && timeoutMilliseconds != 0) {
        page_.WaitForKeys(timeoutMilliseconds);
        keys_ = page_.TakeKeys(InputChunk);
        if (timeoutMilliseconds > 0) break;
    }
    keyPosition_ = 0;
    return !keys_.empty();
}

}  // namespace tg
