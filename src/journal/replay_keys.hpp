// The keys a viewer presses during a replay, decoded from the terminal's
// bytes: the arrows and Home/End come as escape sequences.
#pragma once

#include "console/key_decoder.hpp"
#include "console/platform.hpp"

namespace tg::journal {

// A key that a terminal sends as a sequence: ExtendedKey plus the PC
// keyboard's scan code.
inline constexpr int ExtendedKey = 0x100;
inline constexpr int RightKey = ExtendedKey + 77;
inline constexpr int LeftKey = ExtendedKey + 75;
inline constexpr int HomeKey = ExtendedKey + 71;
inline constexpr int EndKey = ExtendedKey + 79;

// Whether the key moves through the replay: a step (`.` `,`), the next or
// previous home menu (Right, Left), a tenth of the way (`0` to `9`), the
// start or the last screen (Home, End).
bool IsMoveKey(int key);

// Reads the viewer's keys one at a time, each as one code: a byte's own
// code, or ExtendedKey plus a scan code.
class ReplayKeys : private ByteSource {
public:
    explicit ReplayKeys(Platform* terminal) : terminal_(terminal), decoder_(*this) {}

    // The next key, waiting up to the time (-1: no limit); NothingYet or
    // EndOfInput when there is none.
    int Next(int milliseconds);

private:
    int ReadByte() override;
    int ReadByteWithin(int milliseconds) override;

    Platform* terminal_;
    KeyDecoder decoder_;
};

}  // namespace tg::journal
