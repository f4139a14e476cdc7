// Bytes as text that an address carries unescaped: base64 with the URL-safe
// alphabet (A-Z a-z 0-9 - _), unpadded.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "journal/fault.hpp"

namespace tg::journal {

std::string EncodeBase64Url(std::string_view bytes);

// The bytes the text stands for. Trailing '=' padding is ignored; any other
// character outside the alphabet, a length no encoding has, or stray bits
// in the last character make it a Damaged fault, saying why.
Result<std::string> DecodeBase64Url(std::string_view text);

}  // namespace tg::journal
