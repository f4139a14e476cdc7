// The viewer's keys during a replay, made of the terminal's bytes.
#include "journal/replay_keys.hpp"

namespace tg::journal {

namespace {
constexpr int Escape = 27;
constexpr int ExtendedPrefix = 224;
constexpr int FunctionPrefix = 0;

// The decoder gives a key sent as a sequence as two codes: a prefix echoed
// as the Escape it began with, then the scan code.
bool IsPrefix(const Key& key) {
    return (key.code == ExtendedPrefix || key.code == FunctionPrefix) && key.echo == EchoText(Escape);
}
}  // namespace

bool IsMoveKey(int key) {
    switch (key) {
        case '.':
        case ',':
        case RightKey:
        case LeftKey:
        case HomeKey:
        case EndKey: return true;
        default: return key >= '0' && key <= '9';
    }
}

int ReplayKeys::Next(int milliseconds) {
    if (!decoder_.HasPending()) {
        const int first = terminal_->ReadByte(milliseconds, Platform::Reading::Keys);
        if (first < 0) return first;
        decoder_.PutBack(first);
    }
    const Key key = decoder_.Next();
    if (!IsPrefix(key)) return key.code;
    return ExtendedKey + decoder_.Next().code;
}

int ReplayKeys::ReadByte() { return terminal_->ReadByte(-1, Platform::Reading::Keys); }

int ReplayKeys::ReadByteWithin(int milliseconds) {
    return terminal_->ReadByte(milliseconds, Platform::Reading::Keys);
}

}  // namespace tg::journal
