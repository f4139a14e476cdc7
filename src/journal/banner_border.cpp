#include "journal/banner_border.hpp"

#include <array>

#include "console/terminal_capabilities.hpp"

namespace tg::journal {

namespace {

using Pieces = std::array<std::string_view, 6>;

Pieces PiecesOf(const BoxCharacters& box) {
    return {box.topLeft, box.horizontal, box.topRight, box.vertical, box.bottomLeft, box.bottomRight};
}

bool Same(const BoxCharacters& a, const BoxCharacters& b) { return PiecesOf(a) == PiecesOf(b); }

bool AllBeyondAscii(const BoxCharacters& box) {
    for (const std::string_view piece : PiecesOf(box)) {
        if (piece.empty() || static_cast<unsigned char>(piece.front()) < 0x80) return false;
    }
    return true;
}

}  // namespace

std::string BorderName(const BoxCharacters& box) {
    if (Same(box, BoxFor(false))) return "ascii";
    if (Same(box, Cp437Box())) return "cp437";
    return "";
}

std::optional<BoxCharacters> BorderNamed(std::string_view name) {
    if (name.empty()) return BoxCharacters{};
    if (name == "ascii") return BoxFor(false);
    if (name == "cp437") return Cp437Box();
    return std::nullopt;
}

std::string ShownWith(std::string_view text, const BoxCharacters& recorded, const BoxCharacters& shown) {
    if (Same(recorded, shown) || !AllBeyondAscii(recorded)) return std::string(text);
    const Pieces from = PiecesOf(recorded), to = PiecesOf(shown);
    std::string result;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t piece = 0;
        while (piece < from.size() && text.substr(at, from[piece].size()) != from[piece]) ++piece;
        if (piece == from.size()) {
            result += text[at++];
        } else {
            result += to[piece];
            at += from[piece].size();
        }
    }
    return result;
}

}  // namespace tg::journal
