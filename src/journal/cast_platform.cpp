#include "journal/cast_platform.hpp"

#include <algorithm>
#include <cstdio>

#include "console/terminal_capabilities.hpp"
#include "journal/banner_border.hpp"
#include "journal/playback.hpp"

namespace tg::journal {

namespace {
constexpr char ClearSequence[] = "\x1b[H\x1b[2J";
constexpr char ResetColours[] = "\x1b[0m";
}  // namespace

std::string JsonString(std::string_view text) {
    std::string json = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            json += '\\';
            json += c;
        } else if (byte < 0x20 || byte == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            json += escaped;
        } else {
            json += c;
        }
    }
    return json + "\"";
}

// A terminal in the game's key mode turns each newline into a carriage
// return and a newline.
void CastPlatform::Send(std::string_view bytes) {
    for (const char c : bytes) {
        if (c == '\n') pending_ += '\r';
        pending_ += c;
    }
}

void CastPlatform::EmitColours() {
    pending_ += ColourSequence(emittedForeground_, emittedBackground_, foreground_, background_);
    emittedForeground_ = foreground_;
    emittedBackground_ = background_;
}

void CastPlatform::Flush(double milliseconds) {
    if (!pending_.empty()) events_.emplace_back(seconds_, std::move(pending_));
    pending_.clear();
    seconds_ += milliseconds / speed_ / 1000;
}

void CastPlatform::FinishWhenRecordingEnds() {
    if (inputs_.HasInput()) return;
    Flush(0);
    throw Finished{};
}

Key CastPlatform::ReadKey() {
    FinishWhenRecordingEnds();
    const Record& record = inputs_.NextKey(digest_.Value());
    Flush(std::min(record.delay, LongestGapMilliseconds));
    EmitColours();
    Send(record.text);
    digest_.Write(record.text);
    return Key{record.code, record.text};
}

std::optional<std::string> CastPlatform::ReadWord() {
    FinishWhenRecordingEnds();
    const Record& record = inputs_.NextWord(digest_.Value());
    Flush(std::min(record.delay, LongestGapMilliseconds));
    Send((wordShown_ ? " " : "") + record.text);
    wordShown_ = true;
    return record.text;
}

void CastPlatform::DiscardLine() {
    if (wordShown_) Send("\n");
    wordShown_ = false;
}

void CastPlatform::Write(std::string_view text) {
    if (text.empty()) return;
    digest_.Write(text);
    EmitColours();
    Send(ShownWith(text, inputs_.Border(), BoxCharacters{}));
}

void CastPlatform::SetColours(int foreground, int background) {
    digest_.SetColours(foreground, background);
    foreground_ = foreground;
    background_ = background;
}

void CastPlatform::Clear() {
    digest_.Clear();
    EmitColours();  // the screen is blanked in the current background
    pending_ += ClearSequence;
}

void CastPlatform::Pause(int milliseconds) { Flush(milliseconds); }

void CastPlatform::AtRest() {
    inputs_.AtRest(digest_.Value());
    digest_.Reset();
}

void CastPlatform::Exit(int) {
    pending_ += ResetColours;
    Flush(0);
    throw Finished{};
}

std::string CastPlatform::Recording(const std::string& title) const {
    std::string cast = "{\"version\": 2, \"width\": " + std::to_string(Width) + ", \"height\": " +
                       std::to_string(Height) + ", \"title\": " + JsonString(title) +
                       ", \"env\": {\"TERM\": \"xterm-256color\"}}\n";
    for (const auto& [seconds, text] : events_) {
        char time[32];
        std::snprintf(time, sizeof time, "%.6f", seconds);
        cast += "[" + std::string(time) + ", \"o\", " + JsonString(text) + "]\n";
    }
    return cast;
}

}  // namespace tg::journal
