// The checksum of what the game showed, with every form of the banner's
// border taken as its plain character.
#include "console/screen_digest.hpp"

#include <cstdint>
#include <cstring>

namespace tg {

namespace {

struct BorderCharacter {
    std::string_view shown;
    char plain;
};

// The border characters of the three kinds of banner, and what they stand for.
constexpr BorderCharacter BorderCharacters[] = {
    {"\u2554", '+'}, {"\u2550", '='}, {"\u2557", '+'}, {"\u2551", '|'}, {"\u255a", '+'}, {"\u255d", '+'},
    {"\xC9", '+'},   {"\xCD", '='},   {"\xBB", '+'},   {"\xBA", '|'},   {"\xC8", '+'},   {"\xBC", '+'},
};

// The plain character a border character at the start of the text stands
// for, and its length; 0 when none starts there.
char PlainBorder(std::string_view text, std::size_t& length) {
    for (const BorderCharacter& border : BorderCharacters) {
        if (text.substr(0, border.shown.size()) == border.shown) {
            length = border.shown.size();
            return border.plain;
        }
    }
    return 0;
}

// Where the next byte above 127 is (no border character is ASCII), eight
// bytes at a time: most of what the game writes is ASCII.
std::size_t NextHighByte(std::string_view text, std::size_t at) {
    for (; at + 8 <= text.size(); at += 8) {
        std::uint64_t eight;
        std::memcpy(&eight, text.data() + at, 8);
        if (eight & 0x8080808080808080ull) break;
    }
    while (at < text.size() && static_cast<unsigned char>(text[at]) < 0x80) ++at;
    return at;
}

}  // namespace

void ScreenDigest::Write(std::string_view text) {
    std::size_t plainFrom = 0;
    for (std::size_t at = NextHighByte(text, 0); at < text.size(); at = NextHighByte(text, at + 1)) {
        std::size_t length = 0;
        const char plain = PlainBorder(text.substr(at), length);
        if (plain == 0) continue;
        checksum_.Add(text.substr(plainFrom, at - plainFrom));
        checksum_.AddByte(static_cast<unsigned char>(plain));
        at += length - 1;
        plainFrom = at + 1;
    }
    checksum_.Add(text.substr(plainFrom));
}

}  // namespace tg
