#include "console/console.hpp"

#include <cstdlib>
#include <optional>

namespace tg {

namespace {
constexpr int KeyZero = '0';
constexpr int EscapeValue = 27 - KeyZero;
constexpr int EndOfInput = -1;
}  // namespace

void Console::ClearScreen() { platform_.Clear(); }

void Console::SetForeground(int colour) {
    foreground_ = colour & 15;
    platform_.SetColours(foreground_, background_);
}

void Console::SetBackground(int colour) {
    background_ = colour & 15;
    platform_.SetColours(foreground_, background_);
}

int Console::GetChoice(int high, int low) {
    int key = platform_.ReadKey().code;
    for (;;) {
        if (key == EndOfInput) EndProgram(0);
        const int value = key - KeyZero;
        if (low <= value && value <= high) return value;
        Write("\nBad Input (" + std::to_string(low) + "-" + std::to_string(high) + "):" +
              std::to_string(value) + "\n");
        key = platform_.ReadKey().code;
        if (key - KeyZero == EscapeValue) EndProgram(0);
    }
}

void Console::PrintHeading(const std::string& text) {
    SetForeground(colour::BrightRed);
    Write("\t\t" + text + "\n");
    SetForeground(colour::Grey);
}

void Console::EndProgram(int status) {
    platform_.Exit(status);
    std::abort();  // a platform's Exit never comes back
}

std::string Console::ReadWord() {
    std::optional<std::string> word = platform_.ReadWord();
    if (!word) EndProgram(0);
    return *word;
}

}  // namespace tg
