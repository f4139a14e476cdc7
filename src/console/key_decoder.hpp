// Where key bytes come from, and how terminal bytes become key codes.
#pragma once

#include <string>


namespace tg {

// A key as the game sees it: one code, and the text echoed for it.
struct Key {
    int code = -1;
    std::string echo;
};

// Where key bytes come from: a terminal, a pipe or a test script.
class ByteSource {
public:
    static constexpr int EndOfInput = -1;
    static constexpr int NothingYet = -2;

    virtual ~ByteSource() = default;
    // The next byte (0..255), waiting as long as it takes; EndOfInput at the end.
    virtual int ReadByte() = 0;
    // The next byte if one arrives within the given time, else NothingYet.
    virtual int ReadByteWithin(int milliseconds) = 0;
};

// Turns terminal bytes into the key codes of a PC console: printable keys
// as themselves, navigation and function keys as a prefix code (224 or 0)
// followed by the key's scan code, a lone Escape as 27.
class KeyDecoder {
public:
    // How long to wait after ESC for the rest of an escape sequence.
    static constexpr int EscapeWaitMilliseconds = 50;

    explicit KeyDecoder(ByteSource& source) : source_(source) {}

    Key Next();

    // Bytes the decoder has read ahead but not yet handed out as keys.
    bool HasPending() const { return !pending_.empty(); }
    int TakePendingByte();
    // Hands a byte back, to be read again before any other.
    void PutBack(int byte);

private:
    bool DecodeEscape(Key& key);
    bool DecodeControlSequence(Key& key);
    bool DecodeSingleShift(Key& key);
    void QueueSecondCode(int prefix, int code, Key& key);

    ByteSource& source_;
    std::string pending_;   // bytes read ahead, handed out before new ones
    int queuedCode_ = -1;   // second code of a two-code key
};

// The visible text echoed for a key byte: printable ASCII as itself,
// control codes as ^X, DEL as ^?, bytes above 127 as M- and their low part.
std::string EchoText(int code);

}  // namespace tg
