// The title banner's double-line border, which the game always writes in
// UTF-8, and the forms a terminal that cannot show those characters turns
// it into on output.
#pragma once

#include <string>
#include <string_view>

namespace tg {

enum class Border {
    DoubleLines,  // as the game writes it (UTF-8)
    Ascii,        // + = | in a locale that is not UTF-8
    Cp437,        // the double lines of code page 437, the Windows console's own
};

// The text as a terminal showing this border shows it. Only the six
// border characters change; they are found by their UTF-8 bytes.
std::string WithBorder(std::string_view text, Border border);

}  // namespace tg
