// Bytes in the zlib format (deflate with its header and Adler-32 check),
// as zlib's compress2() and a browser's CompressionStream('deflate') write.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "journal/fault.hpp"

namespace tg::journal {

// The bytes compressed at the strongest level.
std::string Compress(std::string_view bytes);

// The bytes a whole zlib stream holds. A stream cut short, damaged, failing
// its check, followed by more bytes, or growing beyond what a journal can
// be, is a Damaged fault, saying why.
Result<std::string> Decompress(std::string_view stream);

}  // namespace tg::journal
