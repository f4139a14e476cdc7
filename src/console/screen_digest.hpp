// A checksum of what the game showed since its last home menu.
#pragma once

#include <cstdint>
#include <string_view>

namespace tg {

// A 32-bit FNV-1a checksum, fed piece by piece.
class Checksum {
public:
    void Add(std::string_view bytes) {
        for (const char byte : bytes) AddByte(static_cast<unsigned char>(byte));
    }
    void AddByte(unsigned char byte) {
        value_ ^= byte;
        value_ *= 16777619u;
    }
    std::uint32_t Value() const { return value_; }
    void Reset() { value_ = Basis; }

private:
    static constexpr std::uint32_t Basis = 2166136261u;
    std::uint32_t value_ = Basis;
};

// A checksum of everything the game showed (text, key echoes, colours and
// clears) since the last home menu. A journal keeps it at each home menu,
// and a replay that shows anything else has drifted from the game that was
// played.
//
// The title banner's border is drawn in whatever the terminal can show
// (double lines in UTF-8, code page 437, or plain + = |); the checksum
// takes each of them as the plain character, so that a game recorded on
// one terminal replays on another.
class ScreenDigest {
public:
    void Write(std::string_view text);
    void SetColours(int foreground, int background) {
        checksum_.AddByte(0x01);
        checksum_.AddByte(static_cast<unsigned char>(foreground));
        checksum_.AddByte(static_cast<unsigned char>(background));
    }
    void Clear() { checksum_.AddByte('\f'); }
    std::uint32_t Value() const { return checksum_.Value(); }
    void Reset() { checksum_.Reset(); }

private:
    Checksum checksum_;
};

}  // namespace tg
