// The asciicast recording of a replayed game: its events and their JSON.
#include "terminal/cast_recorder.hpp"

#include <algorithm>
#include <cstdio>

namespace tg {

namespace {

// The length of the UTF-8 sequence at the start of the text, or 0 when it
// is not one (a stray or cut-off byte, an overlong form, a surrogate).
std::size_t Utf8Length(std::string_view text) {
    const auto byte = [&text](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(0);
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    if (lead < 0xC2 || lead > 0xF4 || text.size() < length) return 0;
    // The second byte's range rules out the overlong forms, the surrogates
    // and what lies past U+10FFFF.
    const unsigned char low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
    const unsigned char high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
    if (byte(1) < low || byte(1) > high) return 0;
    for (std::size_t k = 2; k < length; ++k) {
        if (byte(k) < 0x80 || byte(k) > 0xBF) return 0;
    }
    return length;
}

// A JSON string literal of the text. Bytes that are not UTF-8 (a name typed
// in another encoding) become U+FFFD, as a UTF-8 terminal shows them: JSON
// text is UTF-8 throughout.
std::string JsonString(std::string_view text) {
    std::string json = "\"";
    for (std::size_t at = 0; at < text.size();) {
        const char c = text[at];
        const auto byte = static_cast<unsigned char>(c);
        const std::size_t length = byte < 0x80 ? 1 : Utf8Length(text.substr(at));
        if (c == '"' || c == '\\') {
            json += {'\\', c};
        } else if (byte < 0x20 || byte == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            json += escaped;
        } else if (length > 0) {
            json.append(text.substr(at, length));
        } else {
            json += "\\ufffd";
        }
        at += std::max<std::size_t>(length, 1);
    }
    return json + "\"";
}

}  // namespace

// A terminal in the game's key mode turns each newline into a carriage
// return and a newline.
void CastRecorder::Flush(double milliseconds) {
    std::string sent;
    for (const char c : output_.Take()) {
        if (c == '\n') sent += '\r';
        sent += c;
    }
    if (!sent.empty()) events_.emplace_back(seconds_, std::move(sent));
    seconds_ += milliseconds / speed_ / 1000;
}

std::string CastRecorder::Recording(const std::string& title) const {
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

}  // namespace tg
