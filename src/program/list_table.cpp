// Rows of cells in aligned columns, each line cut to the terminal's width
// with an ellipsis rather than wrapped onto the next.
#include "program/list_table.hpp"

#include <algorithm>

namespace tg {

namespace {

bool ContinuesACharacter(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

std::string Padded(const std::string& cell, std::size_t width) {
    return cell + std::string(width - std::min(width, Columns(cell)), ' ');
}

// The widest cell of each column but the rows' last ones.
std::vector<std::size_t> ColumnWidths(const std::vector<TableRow>& rows) {
    std::vector<std::size_t> widths;
    for (const TableRow& row : rows) {
        if (widths.size() < row.size()) widths.resize(row.size());
        for (std::size_t column = 0; column + 1 < row.size(); ++column) {
            widths[column] = std::max(widths[column], Columns(row[column]));
        }
    }
    return widths;
}

}  // namespace

std::size_t Columns(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char byte) {
        return !ContinuesACharacter(byte);
    }));
}

std::string Shortened(const std::string& text, std::size_t width) {
    if (Columns(text) <= width) return text;
    if (width == 0) return {};
    std::size_t end = 0;
    for (std::size_t kept = 0; kept + 1 < width; ++kept) {
        do ++end;
        while (end < text.size() && ContinuesACharacter(text[end]));
    }
    while (end > 0 && text[end - 1] == ' ') --end;
    return text.substr(0, end) + "\u2026";
}

std::string Table(const std::vector<TableRow>& rows, std::size_t width) {
    const std::vector<std::size_t> widths = ColumnWidths(rows);
    std::string text;
    for (const TableRow& row : rows) {
        if (row.empty()) continue;
        std::string line = std::string(widths[0] - std::min(widths[0], Columns(row[0])), ' ') + row[0];
        for (std::size_t column = 1; column < row.size(); ++column) {
            line += "  " + (column + 1 == row.size() ? row[column] : Padded(row[column], widths[column]));
        }
        while (!line.empty() && line.back() == ' ') line.pop_back();
        text += Shortened(line, width) + "\n";
    }
    return text;
}

}  // namespace tg
