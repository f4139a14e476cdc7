// Turns the banner's double lines into the border a terminal can show.
#include "console/banner_border.hpp"

#include <array>

namespace tg {

namespace {

struct Piece {
    std::string_view doubleLines;
    std::string_view ascii;
    std::string_view cp437;
};

// Top left, horizontal, top right, vertical, bottom left, bottom right.
constexpr std::array<Piece, 6> Pieces = {{
    {"\u2554", "+", "\xC9"},
    {"\u2550", "=", "\xCD"},
    {"\u2557", "+", "\xBB"},
    {"\u2551", "|", "\xBA"},
    {"\u255a", "+", "\xC8"},
    {"\u255d", "+", "\xBC"},
}};

// Every piece is three bytes starting with this one.
constexpr char Lead = '\xE2';

}  // namespace

std::string WithBorder(std::string_view text, Border border) {
    if (border == Border::DoubleLines || text.find(Lead) == std::string_view::npos) return std::string(text);
    std::string shown;
    shown.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const Piece* found = nullptr;
        for (const Piece& piece : Pieces) {
            if (text.substr(at, piece.doubleLines.size()) == piece.doubleLines) found = &piece;
        }
        if (found == nullptr) {
            shown += text[at++];
            continue;
        }
        shown += border == Border::Ascii ? found->ascii : found->cp437;
        at += found->doubleLines.size();
    }
    return shown;
}

}  // namespace tg
