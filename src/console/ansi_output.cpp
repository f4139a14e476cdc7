// ANSI output gathered in memory, with only the colour changes text needs.
#include "console/ansi_output.hpp"

#include <utility>

#include "console/terminal_capabilities.hpp"

namespace tg {

namespace {
constexpr char ClearSequence[] = "\x1b[H\x1b[2J";
constexpr char EraseScrollback[] = "\x1b[3J";
constexpr char ResetSequence[] = "\x1b[0m";
}  // namespace

void AnsiOutput::Write(std::string_view text) {
    if (text.empty()) return;
    EmitColours();
    pending_ += text;
}

void AnsiOutput::SetColours(int foreground, int background) {
    foreground_ = foreground;
    background_ = background;
}

void AnsiOutput::EmitColours() {
    if (!colour_) return;
    pending_ += ColourSequence(emittedForeground_, emittedBackground_, foreground_, background_);
    emittedForeground_ = foreground_;
    emittedBackground_ = background_;
}

void AnsiOutput::Clear() {
    if (!clear_) return;
    EmitColours();  // the screen is blanked in the current background
    pending_ += ClearSequence;
    if (!keepScrollback_) pending_ += EraseScrollback;
}

void AnsiOutput::ResetColours() {
    if (!colour_) return;
    pending_ += ResetSequence;
    ForgetEmittedColours();
}

std::string AnsiOutput::Take() { return std::exchange(pending_, {}); }

}  // namespace tg
