// What a terminal can be sent (colours, clearing, pauses, the banner
// border), decided from the environment, and the ANSI colour sequences.
#pragma once

#include <functional>
#include <string>

#include "console/banner_border.hpp"

namespace tg {

// What the output terminal can be sent, decided once at start-up.
struct TerminalCapabilities {
    bool colour = false;  // colour escape sequences
    bool clear = false;   // clearing the screen
    bool pause = false;   // the half-second sleeping frames
    Border border = Border::Ascii;  // the banner border it can show
};

using Environment = std::function<const char*(const char*)>;

// Redirected output gets a plain transcript; TERM=dumb gets no escape
// sequences at all; a non-empty NO_COLOR keeps everything but the colours.
TerminalCapabilities DetectCapabilities(bool outputIsTerminal, const Environment& environment);

// ANSI SGR parameters for a palette colour (bit 0 blue, 1 green, 2 red, 3 bright).
int AnsiForeground(int colour);
int AnsiBackground(int colour);

// The shortest escape sequence that takes the terminal from the emitted
// colours to the wanted ones; empty when nothing changes. An emitted value
// of -1 means unknown.
std::string ColourSequence(int emittedForeground, int emittedBackground, int foreground, int background);

}  // namespace tg
