#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "console/platform.hpp"

namespace tg::journal {

// The title banner's border depends on the terminal the game was played
// on: double lines in UTF-8, ASCII in other locales, the console's code
// page 437 on Windows. The journal's header names it, so that a replay
// anywhere shows the game the checks were taken on.

// The border's name in a header: empty for the UTF-8 double lines, which a
// header without a border line stands for.
std::string BorderName(const BoxCharacters& box);
// The border of that name; nothing for a name this game does not know.
std::optional<BoxCharacters> BorderNamed(std::string_view name);

// The text as a terminal with the `shown` border shows it: the pieces of a
// border that no other text uses (one of non-ASCII characters) become the
// other border's; an ASCII border shows as it is anywhere.
std::string ShownWith(std::string_view text, const BoxCharacters& recorded, const BoxCharacters& shown);

}  // namespace tg::journal
