// Single keys and the words of a typed name, from one stream of bytes.
#pragma once

#include <optional>
#include <string>

#include "console/key_decoder.hpp"

namespace tg {

// The player's input as the game reads it: single keys, and for name entry
// whitespace-delimited words from the same stream of bytes.
class KeyboardInput {
public:
    explicit KeyboardInput(ByteSource& source) : source_(source), decoder_(source) {}

    Key ReadKey() { return decoder_.Next(); }

    // Skips leading whitespace (newlines included) and reads up to the next
    // whitespace byte. Nothing at the end of input before a word starts.
    std::optional<std::string> ReadWord();

    // Drops the rest of the line the last word ended on.
    void DiscardLine();

private:
    int NextByte();
    bool EndsLine(int byte);

    ByteSource& source_;
    KeyDecoder decoder_;
    bool lineEnded_ = true;
};

}  // namespace tg
