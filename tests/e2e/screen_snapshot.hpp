// A whole rendered screen kept for comparison with another.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pty_game.hpp"

namespace tg::e2e {

// Everything a player sees on the rendered screen: each cell's glyph and
// colours, and where the cursor stands.
struct ScreenSnapshot {
    std::vector<std::string> rows;           // the glyphs of each row, blanks kept
    std::vector<std::vector<int>> colours;   // per row: foreground, background of each cell
    ScreenPosition cursor;
    std::string text;                        // as PtyGame::ScreenText shows it, for messages
};

inline ScreenSnapshot Snapshot(const PtyGame& game, int rows, int columns) {
    ScreenSnapshot snapshot;
    for (int row = 0; row < rows; ++row) {
        std::string glyphs;
        std::vector<int> colours;
        for (int column = 0; column < columns; ++column) {
            glyphs += game.Glyph(row, column);
            colours.push_back(game.Foreground(row, column));
            colours.push_back(game.Background(row, column));
        }
        snapshot.rows.push_back(std::move(glyphs));
        snapshot.colours.push_back(std::move(colours));
    }
    snapshot.cursor = game.Cursor();
    snapshot.text = game.ScreenText();
    return snapshot;
}

// The same glyphs in the same colours, and the cursor in the same place.
inline ::testing::AssertionResult SameScreen(const ScreenSnapshot& shown, const ScreenSnapshot& expected) {
    for (std::size_t row = 0; row < expected.rows.size() && row < shown.rows.size(); ++row) {
        if (shown.rows[row] != expected.rows[row] || shown.colours[row] != expected.colours[row]) {
            return ::testing::AssertionFailure()
                   << "row " << row << " differs in " << (shown.rows[row] != expected.rows[row] ? "text" : "colours")
                   << "\nshown:\n" << shown.text << "expected:\n" << expected.text;
        }
    }
    if (shown.rows.size() != expected.rows.size()) return ::testing::AssertionFailure() << "different sizes";
    if (shown.cursor.row != expected.cursor.row || shown.cursor.column != expected.cursor.column) {
        return ::testing::AssertionFailure() << "the cursor is at " << shown.cursor.row << "," << shown.cursor.column
                                             << ", not " << expected.cursor.row << "," << expected.cursor.column
                                             << "\n" << shown.text;
    }
    return ::testing::AssertionSuccess();
}

}  // namespace tg::e2e
