// The web terminal's keys: taken from the page a chunk at a time, Ctrl-C as the end.
#include "terminal/web_terminal.hpp"

namespace tg {

// The page hears when a line starts being typed, before its keys are
// waited for, and that it is over before the next single key.
int WebTerminal::ReadByte(int milliseconds, Reading reading) {
    if (EndOfInputStatus() != 0) return EndOfInput;
    const bool editing = reading == Reading::Line;
    if (editing != editingLine_) page_.EditingLine(editing);
    editingLine_ = editing;
    if (keyPosition_ >= keys_.size() && !FillKeys(milliseconds)) return NothingYet;
    const int byte = static_cast<unsigned char>(keys_[keyPosition_++]);
    if (byte != Interrupt) return byte;
    CutOffInput(InterruptedStatus);
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
