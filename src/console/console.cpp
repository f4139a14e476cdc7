// Colours, clearing, one-key choices with their "Bad Input" answer, and
// headings.
#include "console/console.hpp"

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

std::optional<int> Console::GetChoice(int high, int low) {
    int key = platform_.ReadKey().code;
    for (;;) {
        if (key == EndOfInput) {
            InputEnded();
            return std::nullopt;
        }
        const int value = key - KeyZero;
        if (low <= value && value <= high) return value;
        Write("\nBad Input (" + std::to_string(low) + "-" + std::to_string(high) + "):" +
              std::to_string(value) + "\n");
        key = platform_.ReadKey().code;
        if (key - KeyZero == EscapeValue) {
            end_.escaped = true;
            return std::nullopt;
        }
    }
}

void Console::PrintHeading(const std::string& text) {
    SetForeground(colour::BrightRed);
    Write("\t\t" + text + "\n");
    SetForeground(colour::Grey);
}

std::optional<std::string> Console::ReadWord() {
    std::optional<std::string> word = platform_.ReadWord();
    if (!word) InputEnded();
    return word;
}

void Console::AtRest(const RestSummary& summary) {
    if (events_) events_->AtRest(summary);
}

void Console::Ending(bool won) {
    end_.ending = true;
    end_.won = won;
    if (events_) events_->Ending();
}

}  // namespace tg
