// A whole number as a player or a journal writes one: digits only (the
// command line's numbers, a journal's header, a link's moment).
#pragma once

#include <charconv>
#include <optional>
#include <string_view>

namespace tg {

// The number the text is, when it is all digits and fits the type.
template <class Number>
std::optional<Number> WholeNumber(std::string_view text) {
    Number number = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, number);
    if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
    return number;
}

}  // namespace tg
