// Works out what the output terminal can show, and the colour sequences.
#include "console/terminal_capabilities.hpp"

#include <algorithm>
#include <cctype>
#include <initializer_list>

namespace tg {

namespace {

bool IsSet(const char* value) { return value != nullptr && *value != '\0'; }

// The locale's character set, from the variables that decide it in order.
bool LocaleIsUtf8(const Environment& environment) {
    for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const char* value = environment(name);
        if (!IsSet(value)) continue;
        std::string locale(value);
        std::transform(locale.begin(), locale.end(), locale.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        return locale.find("utf-8") != std::string::npos || locale.find("utf8") != std::string::npos;
    }
    return false;
}

// Palette bits are blue, green, red; ANSI's are red, green, blue.
int AnsiHue(int colour) { return ((colour & 1) << 2) | (colour & 2) | ((colour & 4) >> 2); }

}  // namespace

TerminalCapabilities DetectCapabilities(bool outputIsTerminal, const Environment& environment) {
    TerminalCapabilities capabilities;
    capabilities.border = LocaleIsUtf8(environment) ? Border::DoubleLines : Border::Ascii;
    if (!outputIsTerminal) return capabilities;
    const char* term = environment("TERM");
    const bool dumb = IsSet(term) && std::string(term) == "dumb";
    capabilities.pause = true;
    capabilities.clear = !dumb;
    capabilities.colour = !dumb && !IsSet(environment("NO_COLOR"));
    return capabilities;
}

int AnsiForeground(int colour) { return ((colour & 8) ? 90 : 30) + AnsiHue(colour); }
int AnsiBackground(int colour) { return ((colour & 8) ? 100 : 40) + AnsiHue(colour); }

std::string ColourSequence(int emittedForeground, int emittedBackground, int foreground, int background) {
    std::string parameters;
    if (foreground != emittedForeground) parameters = std::to_string(AnsiForeground(foreground));
    if (background != emittedBackground) {
        if (!parameters.empty()) parameters += ';';
        parameters += std::to_string(AnsiBackground(background));
    }
    return parameters.empty() ? parameters : "\x1b[" + parameters + "m";
}

}  // namespace tg
