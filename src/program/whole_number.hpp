// A whole number as the player writes one on the command line: digits only.
#pragma once

#include <charconv>
#include <optional>
#include <string>

namespace tg {

// The number the text is, when it is all digits and fits the type.
template <class Number>
std::optional<Number> WholeNumber(const std::string& text) {
    Number number = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, number);
    if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
    return number;
}

}  // namespace tg
