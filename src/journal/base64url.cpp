// Base64 with the URL-safe alphabet: three bytes to four characters, the
// last group cut short instead of padded.
#include "journal/base64url.hpp"

#include <cstdint>

namespace tg::journal {

namespace {

constexpr std::string_view Alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";

// The six bits a character stands for; -1 for one outside the alphabet.
int SixBits(char character) {
    const std::size_t at = Alphabet.find(character);
    return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

}  // namespace

std::string EncodeBase64Url(std::string_view bytes) {
    std::string text;
    text.reserve((bytes.size() * 4 + 2) / 3);
    std::uint32_t bits = 0;
    int held = 0;
    for (const char byte : bytes) {
        bits = (bits << 8) | static_cast<unsigned char>(byte);
        held += 8;
        while (held >= 6) {
            held -= 6;
            text += Alphabet[(bits >> held) & 63];
        }
    }
    if (held > 0) text += Alphabet[(bits << (6 - held)) & 63];
    return text;
}

Result<std::string> DecodeBase64Url(std::string_view text) {
    const auto damaged = [](std::string why) { return Fault{Fault::Kind::Damaged, std::move(why)}; };
    while (!text.empty() && text.back() == '=') text.remove_suffix(1);
    if (text.size() % 4 == 1) return damaged("its length is not one an encoding has");
    std::string bytes;
    bytes.reserve(text.size() * 3 / 4);
    std::uint32_t bits = 0;
    int held = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        const int value = SixBits(text[at]);
        if (value < 0) {
            return damaged("character " + std::to_string(at + 1) + " ('" + std::string(1, text[at]) +
                           "') is not one a link holds");
        }
        bits = (bits << 6) | static_cast<std::uint32_t>(value);
        held += 6;
        if (held >= 8) {
            held -= 8;
            bytes += static_cast<char>((bits >> held) & 0xFF);
        }
    }
    if ((bits & ((1u << held) - 1)) != 0) return damaged("its last character is not one an encoding ends with");
    return bytes;
}

}  // namespace tg::journal
