#include "journal/cast_platform.hpp"

#include <algorithm>
#include <cstdio>

#include "journal/playback.hpp"

namespace tg::journal {

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
void CastPlatform::Flush(double milliseconds) {
    std::string sent;
    for (const char c : output_.Take()) {
        if (c == '\n') sent += '\r';
        sent += c;
    }
    if (!sent.empty()) events_.emplace_back(seconds_, std::move(sent));
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
    output_.Write(record.text);
    digest_.Write(record.text);
    return Key{record.code, record.text};
}

std::optional<std::string> CastPlatform::ReadWord() {
    FinishWhenRecordingEnds();
    const Record& record = inputs_.NextWord(digest_.Value());
    Flush(std::min(record.delay, LongestGapMilliseconds));
    output_.Write((wordShown_ ? " " : "") + record.text);
    wordShown_ = true;
    return record.text;
}

void CastPlatform::DiscardLine() {
    if (wordShown_) output_.Write("\n");
    wordShown_ = false;
}

void CastPlatform::Write(std::string_view text) {
    digest_.Write(text);
    output_.Write(text);
}

void CastPlatform::SetColours(int foreground, int background) {
    digest_.SetColours(foreground, background);
    output_.SetColours(foreground, background);
}

void CastPlatform::Clear() {
    digest_.Clear();
    output_.Clear();
}

void CastPlatform::Pause(int milliseconds) { Flush(milliseconds); }

void CastPlatform::AtRest() {
    inputs_.AtRest(digest_.Value());
    digest_.Reset();
}

void CastPlatform::Exit(int) {
    output_.ResetColours();
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
