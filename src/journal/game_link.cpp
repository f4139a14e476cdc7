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

Fault Damaged(const std::string& what) { return Fault{Fault::Kind::Damaged, "the link is damaged or cut short: " + what}; }

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

Result<LinkedGame> ReadLink(std::string_view link) {
    const std::size_t hash = link.find('#');
    const std::string_view fragment = hash == std::string_view::npos ? std::string_view{} : link.substr(hash + 1);
    if (fragment.substr(0, FragmentName.size()) != FragmentName) {
        return Damaged("what follows its '#' does not start with \"game=\"");
    }
    const std::size_t amp = fragment.find('&');
    const std::string_view data = fragment.substr(FragmentName.size(), amp - FragmentName.size());
    std::optional<std::size_t> at;
    if (amp != std::string_view::npos) {
        const std::string_view moment = fragment.substr(amp);
        if (moment.substr(0, MomentMark.size()) != MomentMark) {
            return Damaged("what follows the game is not \"&at=\" and a number");
        }
        at = MomentNumber(moment.substr(MomentMark.size()));
        if (!at) return Damaged("its moment is not a number of inputs");
    }
    const Result<std::string> compressed = DecodeBase64Url(data);
    if (!compressed) return Damaged(compressed.Error().detail);
    Result<std::string> journal = Decompress(*compressed);
    if (!journal) return Damaged(journal.Error().detail);
    if (const std::string beyond = at ? BeyondTheGame(*journal, *at) : std::string(); !beyond.empty()) {
        return Damaged(beyond);
    }
    return LinkedGame{std::move(*journal), at};
}

}  // namespace tg::journal
