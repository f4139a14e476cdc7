// The banner's double-line border as each kind of terminal shows it.

#include <gtest/gtest.h>

#include "console/banner_border.hpp"

namespace tg {
namespace {

TEST(WithBorder, OnlyTheSixBorderCharactersChangeForm) {
    // The corners top left, top right, bottom left, bottom right, then the
    // horizontal and the vertical line, and text that is not border.
    const std::string doubleLines = "\u2554\u2557\u255a\u255d\u2550\u2551";
    const std::string other = " +=|-x \u2500\u00e9 (+10)\n";
    struct Case {
        Border border;
        std::string shown;
    };
    const Case cases[] = {
        {Border::DoubleLines, doubleLines},
        {Border::Ascii, "++++=|"},
        {Border::Cp437, "\xC9\xBB\xC8\xBC\xCD\xBA"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WithBorder(doubleLines + other + doubleLines, c.border), c.shown + other + c.shown)
            << static_cast<int>(c.border);
        EXPECT_EQ(WithBorder(other, c.border), other);
    }
}

}  // namespace
}  // namespace tg
