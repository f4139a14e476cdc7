// The text --version prints.
#pragma once

#include <string>
#include <string_view>

namespace tg {

// What --version prints: "tender-gamble 1.0.0 (commit abc1234)", or
// "tender-gamble 1.0.0" when the commit is not known, and a newline.
std::string VersionText(std::string_view version, std::string_view commit);

}  // namespace tg
