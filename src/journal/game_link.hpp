// A whole game in a web address: the page's address, then "#game=" and the
// journal's bytes compressed (zlib) and written in base64url. The fragment
// never reaches a server, so the link needs none.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "journal/fault.hpp"

namespace tg::journal {

// What marks an argument as a link rather than a file or a number.
inline constexpr std::string_view LinkMark = "#game=";

bool IsLink(std::string_view argument);

// What names a moment of the game, after the journal: "&at=312".
inline constexpr std::string_view MomentMark = "&at=";

// The link to the page at `base` (cut at any '#' it has) that holds the
// journal, and names a moment of its game when `at` is given: the screen
// after that many inputs.
std::string MakeLink(std::string_view base, std::string_view journal, std::optional<std::size_t> at = std::nullopt);

// What a link holds: the journal's bytes, and the moment it names, if any.
struct LinkedGame {
    std::string journal;
    std::optional<std::size_t> at;
};

// The game a link holds, read from what follows its first '#' alone; a
// Damaged fault, saying what is wrong, for a link cut short or altered, or
// one whose moment is not a number of inputs its game has.
Result<LinkedGame> ReadLink(std::string_view link);

}  // namespace tg::journal
