// The ANSI colours for the game's palette, and the shortest sequence between two colour pairs.
#include <gtest/gtest.h>

#include "console/terminal_capabilities.hpp"

namespace tg {
namespace {

TEST(AnsiColours, PaletteNumbersMapToTheMatchingAnsiColours) {
    // Palette: bit 0 blue, bit 1 green, bit 2 red, bit 3 bright.
    EXPECT_EQ(AnsiForeground(0), 30);   // black
    EXPECT_EQ(AnsiForeground(1), 34);   // blue
    EXPECT_EQ(AnsiForeground(2), 32);   // green
    EXPECT_EQ(AnsiForeground(4), 31);   // red
    EXPECT_EQ(AnsiForeground(6), 33);   // brown/yellow
    EXPECT_EQ(AnsiForeground(7), 37);   // light grey
    EXPECT_EQ(AnsiForeground(12), 91);  // bright red
    EXPECT_EQ(AnsiForeground(15), 97);  // bright white
    EXPECT_EQ(AnsiBackground(0), 40);
    EXPECT_EQ(AnsiBackground(4), 41);
    EXPECT_EQ(AnsiBackground(9), 104);
}

TEST(ColourSequence, SendsOnlyWhatChanged) {
    EXPECT_EQ(ColourSequence(-1, -1, 12, 4), "\x1b[91;41m");
    EXPECT_EQ(ColourSequence(12, 4, 12, 0), "\x1b[40m");
    EXPECT_EQ(ColourSequence(12, 0, 7, 0), "\x1b[37m");
    EXPECT_EQ(ColourSequence(7, 0, 7, 0), "");
}

}  // namespace
}  // namespace tg
