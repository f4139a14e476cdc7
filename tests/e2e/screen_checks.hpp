// Checks of the rendered screen (text, colours, the terminal as it was
// left) and of how the game ended.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "pty_game.hpp"

namespace tg::e2e {

// The number of screen cells a piece of UTF-8 text takes (one per code
// point: the game writes nothing wider).
inline int CellCount(const std::string& text) {
    int cells = 0;
    for (unsigned char byte : text) cells += (byte & 0xC0) != 0x80;
    return cells;
}

// The text stands on the screen starting at the column given, every cell
// of it in the colours given. On success `row` (if given) is where.
inline ::testing::AssertionResult Shows(const PtyGame& game, const std::string& text, int column, int foreground,
                                        int background, int* row = nullptr) {
    const std::optional<ScreenPosition> at = game.Find(text);
    if (!at) return ::testing::AssertionFailure() << "'" << text << "' is not on the screen:\n" << game.ScreenText();
    if (at->column != column) {
        return ::testing::AssertionFailure() << "'" << text << "' stands at column " << at->column << " of row "
                                             << at->row << ", not " << column << ":\n"
                                             << game.ScreenText();
    }
    for (int cell = 0; cell < CellCount(text); ++cell) {
        const int fg = game.Foreground(at->row, column + cell);
        const int bg = game.Background(at->row, column + cell);
        if (fg != foreground || bg != background) {
            return ::testing::AssertionFailure() << "'" << text << "' at row " << at->row << ": cell " << column + cell
                                                 << " is in " << fg << " on " << bg << ", not " << foreground << " on "
                                                 << background;
        }
    }
    if (row) *row = at->row;
    return ::testing::AssertionSuccess();
}

// The cells [from, to) of a row all have this background.
inline ::testing::AssertionResult BackgroundIs(const PtyGame& game, int row, int from, int to, int background) {
    for (int column = from; column < to; ++column) {
        if (game.Background(row, column) != background) {
            return ::testing::AssertionFailure() << "row " << row << " column " << column << " has background "
                                                 << game.Background(row, column) << ", not " << background << ":\n"
                                                 << game.ScreenText();
        }
    }
    return ::testing::AssertionSuccess();
}

// After the game has ended: the terminal is as it was before it started.
inline void ExpectTerminalRestored(const PtyGame& game) {
    EXPECT_TRUE(SameModes(game.ModesAtExit(), game.ModesBefore()))
        << "modes before: " << DescribeModes(game.ModesBefore()) << "\nmodes after:  "
        << DescribeModes(game.ModesAtExit());
    EXPECT_TRUE(game.PenIsDefault()) << "the game left its colours set";
    EXPECT_TRUE(game.CursorVisible()) << "the game left the cursor hidden";
}

inline ::testing::AssertionResult ExitedWith(const std::optional<int>& status, int code) {
    if (!status) return ::testing::AssertionFailure() << "the game did not end";
    if (!WIFEXITED(*status)) {
        return ::testing::AssertionFailure() << "the game did not exit but ended with wait status " << *status
                                             << (WIFSIGNALED(*status) ? " (killed by signal " : " (")
                                             << (WIFSIGNALED(*status) ? WTERMSIG(*status) : 0) << ")";
    }
    if (WEXITSTATUS(*status) != code) {
        return ::testing::AssertionFailure() << "exit status " << WEXITSTATUS(*status) << ", not " << code;
    }
    return ::testing::AssertionSuccess();
}

inline ::testing::AssertionResult KilledBy(const std::optional<int>& status, int signal) {
    if (!status) return ::testing::AssertionFailure() << "the game did not end";
    if (!WIFSIGNALED(*status)) {
        return ::testing::AssertionFailure() << "the game was not killed by a signal; wait status " << *status
                                             << (WIFEXITED(*status) ? ", exit status " : "")
                                             << (WIFEXITED(*status) ? WEXITSTATUS(*status) : 0);
    }
    if (WTERMSIG(*status) != signal) {
        return ::testing::AssertionFailure() << "killed by signal " << WTERMSIG(*status) << ", not " << signal;
    }
    return ::testing::AssertionSuccess();
}

}  // namespace tg::e2e
