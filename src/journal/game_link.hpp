// A whole game in a web address: the page's address, then "#game=" and the
// journal's bytes compressed (zlib) and written in base64url. The fragment
// never reaches a server, so the link needs none.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tg::journal {

// What marks an argument as a link rather than a file or a number.
inline constexpr std::string_view LinkMark = "#game=";

bool IsLink(std::string_view argument);

// The link to the page at `base` (cut at any '#' it has) that holds the
// journal.
std::string MakeLink(std::string_view base, std::string_view journal);

// The journal's bytes a link holds, read from what follows its first '#'
// alone; nothing, with what is wrong, for a link cut short or altered.
std::optional<std::string> ReadLink(std::string_view link, std::string& why);

}  // namespace tg::journal
