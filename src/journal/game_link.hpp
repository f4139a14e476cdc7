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

// Base64 with the URL-safe alphabet (A-Z a-z 0-9 - _), unpadded: text that
// an address carries unescaped.
std::string EncodeBase64Url(std::string_view bytes);
// Trailing '=' padding is ignored; any other character outside the
// alphabet, a length no encoding has, or stray bits in the last character
// make it a Damaged fault, saying why.
Result<std::string> DecodeBase64Url(std::string_view text);

// The zlib format (deflate with its header and Adler-32 check), as zlib's
// compress2() and a browser's CompressionStream('deflate') write it; at the
// strongest level.
std::string Compress(std::string_view bytes);
// A stream cut short, damaged, failing its check, followed by more bytes,
// or growing beyond what a journal can be, is a Damaged fault, saying why.
Result<std::string> Decompress(std::string_view stream);

}  // namespace tg::journal
