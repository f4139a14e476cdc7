// Terminal bytes to PC console key codes: escape sequences, paste markers
// and the echo of each key.
#include "console/key_decoder.hpp"

#include <string>

namespace tg {

namespace {

constexpr int Escape = 27;
constexpr int ExtendedPrefix = 224;  // arrows, Home/End, Insert/Delete, pages, F11/F12
constexpr int FunctionPrefix = 0;    // F1 to F10
constexpr int LongestSequence = 32;  // longer junk is cut off, not buffered
constexpr int NotAKey = -2;          // a sequence that carries no key (paste markers)

// Scan codes of the PC keyboard for the keys terminals send as sequences.
constexpr int Up = 72, Down = 80, Right = 77, Left = 75, Home = 71, End = 79;
constexpr int Insert = 82, Delete = 83, PageUp = 73, PageDown = 81;
constexpr int F1 = 59, F11 = 133, F12 = 134;

bool IsFinalByte(int byte) { return byte >= 0x40 && byte <= 0x7E; }

int LetterKey(int letter) {
    switch (letter) {
        case 'A': return Up;
        case 'B': return Down;
        case 'C': return Right;
        case 'D': return Left;
        case 'H': return Home;
        case 'F': return End;
        default: return -1;
    }
}

// ESC [ n ~ keys; the prefix is set to FunctionPrefix for F1..F10.
int TildeKey(int number, int& prefix) {
    prefix = ExtendedPrefix;
    switch (number) {
        case 1: case 7: return Home;
        case 2: return Insert;
        case 3: return Delete;
        case 4: case 8: return End;
        case 5: return PageUp;
        case 6: return PageDown;
        case 23: return F11;
        case 24: return F12;
        default: break;
    }
    prefix = FunctionPrefix;
    switch (number) {
        case 11: case 12: case 13: case 14: case 15: return F1 + number - 11;
        case 17: case 18: case 19: case 20: case 21: return F1 + number - 12;
        default: return -1;
    }
}

}  // namespace

std::string EchoText(int code) {
    if (code < 0) return {};
    if (code >= 128) return "M-" + EchoText(code - 128);
    if (code == 127) return "^?";
    if (code < 32) return std::string{'^', static_cast<char>(code + 64)};
    return std::string(1, static_cast<char>(code));
}

void KeyDecoder::PutBack(int byte) { pending_.insert(pending_.begin(), static_cast<char>(byte)); }

int KeyDecoder::TakePendingByte() {
    const int byte = static_cast<unsigned char>(pending_.front());
    pending_.erase(0, 1);
    return byte;
}

Key KeyDecoder::Next() {
    Key key;
    if (queuedCode_ >= 0) {  // second code of a two-code key: never echoed
        key.code = queuedCode_;
        queuedCode_ = -1;
        return key;
    }
    for (;;) {
        const int byte = HasPending() ? TakePendingByte() : source_.ReadByte();
        if (byte == ByteSource::EndOfInput) return key;
        if (byte == Escape && DecodeEscape(key)) {
            if (key.code != NotAKey) return key;
            key = Key{};  // a sequence that is no key at all: on to the next byte
            continue;
        }
        key.code = byte;
        key.echo = EchoText(byte);
        return key;
    }
}

void KeyDecoder::QueueSecondCode(int prefix, int code, Key& key) {
    key.code = prefix;
    key.echo = EchoText(Escape);
    queuedCode_ = code;
}

// After an ESC: a sequence introducer within the wait makes it a navigation
// or function key; anything else leaves a lone Escape (false).
bool KeyDecoder::DecodeEscape(Key& key) {
    const int next = HasPending() ? TakePendingByte() : source_.ReadByteWithin(EscapeWaitMilliseconds);
    if (next == '[') return DecodeControlSequence(key);
    if (next == 'O') return DecodeSingleShift(key);
    if (next >= 0) pending_.insert(pending_.begin(), static_cast<char>(next));
    return false;
}

bool KeyDecoder::DecodeControlSequence(Key& key) {
    std::string parameters;
    int final = ByteSource::EndOfInput;
    for (int length = 0; length < LongestSequence; ++length) {
        const int byte = source_.ReadByteWithin(EscapeWaitMilliseconds);
        if (byte < 0 || IsFinalByte(byte)) {
            final = byte;
            break;
        }
        parameters.push_back(static_cast<char>(byte));
    }
    // Bracketed-paste markers carry no key: the pasted bytes follow as keys.
    if (final == '~' && (parameters == "200" || parameters == "201")) {
        key.code = NotAKey;
        return true;
    }
    int prefix = ExtendedPrefix;
    int scan = -1;
    if (final == '~') {
        int number = 0;
        for (char c : parameters) {
            if (c < '0' || c > '9') break;  // ";modifier" follows
            number = number * 10 + (c - '0');
            if (number > 1000) break;
        }
        scan = TildeKey(number, prefix);
    } else if (final >= 'P' && final <= 'S') {
        prefix = FunctionPrefix;
        scan = F1 + final - 'P';
    } else if (final >= 0) {
        scan = LetterKey(final);
    }
    // An unknown or cut-off sequence still counts as one two-code key, so
    // it can never be taken for the Escape key.
    QueueSecondCode(prefix, scan < 0 ? 0 : scan, key);
    return true;
}

bool KeyDecoder::DecodeSingleShift(Key& key) {
    const int final = source_.ReadByteWithin(EscapeWaitMilliseconds);
    if (final >= 'P' && final <= 'S') {
        QueueSecondCode(FunctionPrefix, F1 + final - 'P', key);
        return true;
    }
    const int scan = final < 0 ? 0 : LetterKey(final);
    QueueSecondCode(ExtendedPrefix, scan < 0 ? 0 : scan, key);
    return true;
}

}  // namespace tg
