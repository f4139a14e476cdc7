// Rows of cells in aligned columns that fit a terminal's width, for the
// list of kept games.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tg {

using TableRow = std::vector<std::string>;

// The columns a UTF-8 text takes: one a character.
std::size_t Columns(std::string_view text);

// The text cut to `width` columns, its last one an ellipsis, when it is
// wider.
std::string Shortened(const std::string& text, std::size_t width);

// The rows in columns two spaces apart, the first aligned to the right; a
// row's last cell is not padded and does not widen its column. A line wider
// than `width` is shortened.
std::string Table(const std::vector<TableRow>& rows, std::size_t width);

}  // namespace tg
