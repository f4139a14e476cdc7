// Links that hold a game: written from a journal's bytes, read back into
// them, every step checked (the alphabet, the compressed stream, its
// Adler-32), so that a damaged link is refused rather than half read.
#include "journal/game_link.hpp"

#include "journal/base64url.hpp"
#include "journal/zlib_stream.hpp"

namespace tg::journal {

namespace {

constexpr std::string_view FragmentName = "game=";

std::optional<std::string> Damaged(std::string& why, const std::string& what) {
    why = "the link is damaged or cut short: " + what;
    return std::nullopt;
}

}  // namespace

bool IsLink(std::string_view argument) { return argument.find(LinkMark) != std::string_view::npos; }

std::string MakeLink(std::string_view base, std::string_view journal) {
    return std::string(base.substr(0, base.find('#'))) + std::string(LinkMark) + EncodeBase64Url(Compress(journal));
}

std::optional<std::string> ReadLink(std::string_view link, std::string& why) {
    const std::size_t hash = link.find('#');
    const std::string_view fragment = hash == std::string_view::npos ? std::string_view{} : link.substr(hash + 1);
    if (fragment.substr(0, FragmentName.size()) != FragmentName) {
        return Damaged(why, "what follows its '#' does not start with \"game=\"");
    }
    std::string what;
    const std::optional<std::string> compressed = DecodeBase64Url(fragment.substr(FragmentName.size()), what);
    if (!compressed) return Damaged(why, what);
    std::optional<std::string> journal = Decompress(*compressed, what);
    if (!journal) return Damaged(why, what);
    return journal;
}

}  // namespace tg::journal
