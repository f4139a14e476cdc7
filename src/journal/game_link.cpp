// Links that hold a game: written from a journal's bytes, read back into
// them, every step checked (the alphabet, the compressed stream, its
// Adler-32), so that a damaged link is refused rather than half read.
#include "journal/game_link.hpp"

#include <charconv>
#include <utility>

#include "journal/base64url.hpp"
#include "journal/journal_format.hpp"
#include "journal/recorded_inputs.hpp"
#include "journal/zlib_stream.hpp"

namespace tg::journal {

namespace {

constexpr std::string_view FragmentName = "game=";

std::nullopt_t Damaged(std::string& why, const std::string& what) {
    why = "the link is damaged or cut short: " + what;
    return std::nullopt;
}

// The moment's number of inputs, written in plain digits.
std::optional<std::size_t> MomentNumber(std::string_view text) {
    std::size_t at = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, at);
    if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
    return at;
}

// What is wrong with a moment the journal's game does not reach; a journal
// that does not read is refused when it is read.
std::string BeyondTheGame(const std::string& journal, std::size_t at) {
    const Contents contents = Parse(journal);
    if (contents.fault) return {};
    const std::size_t inputs = RecordedInputs(contents).InputCount();
    if (at <= inputs) return {};
    return "it names input " + std::to_string(at) + " of a game of " + std::to_string(inputs) + " inputs";
}

}  // namespace

bool IsLink(std::string_view argument) { return argument.find(LinkMark) != std::string_view::npos; }

std::string MakeLink(std::string_view base, std::string_view journal, std::optional<std::size_t> at) {
    return std::string(base.substr(0, base.find('#'))) + std::string(LinkMark) + EncodeBase64Url(Compress(journal)) +
           (at ? std::string(MomentMark) + std::to_string(*at) : std::string());
}

std::optional<LinkedGame> ReadLink(std::string_view link, std::string& why) {
    const std::size_t hash = link.find('#');
    const std::string_view fragment = hash == std::string_view::npos ? std::string_view{} : link.substr(hash + 1);
    if (fragment.substr(0, FragmentName.size()) != FragmentName) {
        return Damaged(why, "what follows its '#' does not start with \"game=\"");
    }
    const std::size_t amp = fragment.find('&');
    const std::string_view data = fragment.substr(FragmentName.size(), amp - FragmentName.size());
    std::optional<std::size_t> at;
    if (amp != std::string_view::npos) {
        const std::string_view moment = fragment.substr(amp);
        if (moment.substr(0, MomentMark.size()) != MomentMark) {
            return Damaged(why, "what follows the game is not \"&at=\" and a number");
        }
        at = MomentNumber(moment.substr(MomentMark.size()));
        if (!at) return Damaged(why, "its moment is not a number of inputs");
    }
    std::string what;
    const std::optional<std::string> compressed = DecodeBase64Url(data, what);
    if (!compressed) return Damaged(why, what);
    std::optional<std::string> journal = Decompress(*compressed, what);
    if (!journal) return Damaged(why, what);
    if (at && !(what = BeyondTheGame(*journal, *at)).empty()) return Damaged(why, what);
    return LinkedGame{std::move(*journal), at};
}

}  // namespace tg::journal
