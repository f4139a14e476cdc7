// The text --version prints, with the commit when it is known.
#include "program/version_text.hpp"

namespace tg {

std::string VersionText(std::string_view version, std::string_view commit) {
    std::string text = "tender-gamble ";
    text += version;
    if (!commit.empty()) {
        text += " (commit ";
        text += commit;
        text += ")";
    }
    return text + "\n";
}

}  // namespace tg
