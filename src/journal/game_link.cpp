// Links that hold a game: written from a journal's bytes, read back into
// them, every step checked (the alphabet, the compressed stream through zlib
// itself, its Adler-32), so that a damaged link is refused rather than half
// read.
#include "journal/game_link.hpp"

#include <zlib.h>

#include <climits>
#include <cstdint>
#include <utility>

#include "journal/journal_format.hpp"
#include "journal/recorded_inputs.hpp"
#include "journal/whole_number.hpp"

namespace tg::journal {

namespace {

constexpr std::string_view FragmentName = "game=";

Fault Damaged(const std::string& what) { return Fault{Fault::Kind::Damaged, "the link is damaged or cut short: " + what}; }

// What is wrong with a moment the journal's game does not reach; a journal
// that does not read is refused when it is read.
std::string BeyondTheGame(const std::string& journal, std::size_t at) {
    const Contents contents = Parse(journal);
    if (contents.fault) return {};
    const std::size_t inputs = RecordedInputs(contents).InputCount();
    if (at <= inputs) return {};
    return "it names input " + std::to_string(at) + " of a game of " + std::to_string(inputs) + " inputs";
}

constexpr std::string_view Alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";

// The six bits a character stands for; -1 for one outside the alphabet.
int SixBits(char character) {
    const std::size_t at = Alphabet.find(character);
    return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

// No journal comes near this; a stream that inflates beyond it is refused
// before it fills the memory.
constexpr std::size_t LargestJournal = std::size_t{64} << 20;

Bytef* In(std::string_view bytes) { return reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data())); }

// Inflates the whole stream into `out`; zlib's last result.
int InflateAll(z_stream& stream, std::string& out) {
    char chunk[16384];
    int result = Z_OK;
    while (result == Z_OK) {
        stream.next_out = reinterpret_cast<Bytef*>(chunk);
        stream.avail_out = sizeof chunk;
        result = inflate(&stream, Z_NO_FLUSH);
        out.append(chunk, sizeof chunk - stream.avail_out);
        if (out.size() > LargestJournal) return Z_MEM_ERROR;
        // With room to write, Z_BUF_ERROR means the input ran out first.
    }
    return result;
}

std::string Failure(int result, const z_stream& stream) {
    switch (result) {
        case Z_BUF_ERROR: return "its compressed journal is cut short";
        case Z_MEM_ERROR: return "its compressed journal is larger than any journal";
        case Z_DATA_ERROR:
            return std::string("its compressed journal is damaged (") + (stream.msg ? stream.msg : "bad data") + ")";
        default: return "its compressed journal cannot be read";
    }
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
        at = WholeNumber<std::size_t>(moment.substr(MomentMark.size()));
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

std::string EncodeBase64Url(std::string_view bytes) {
    std::string text;
    text.reserve((bytes.size() * 4 + 2) / 3);
    std::uint32_t bits = 0;
    int held = 0;
    for (const char byte : bytes) {
        bits = (bits << 8) | static_cast<unsigned char>(byte);
        held += 8;
        while (held >= 6) {
            held -= 6;
            text += Alphabet[(bits >> held) & 63];
        }
    }
    if (held > 0) text += Alphabet[(bits << (6 - held)) & 63];
    return text;
}

Result<std::string> DecodeBase64Url(std::string_view text) {
    const auto damaged = [](std::string why) { return Fault{Fault::Kind::Damaged, std::move(why)}; };
    while (!text.empty() && text.back() == '=') text.remove_suffix(1);
    if (text.size() % 4 == 1) return damaged("its length is not one an encoding has");
    std::string bytes;
    bytes.reserve(text.size() * 3 / 4);
    std::uint32_t bits = 0;
    int held = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        const int value = SixBits(text[at]);
        if (value < 0) {
            return damaged("character " + std::to_string(at + 1) + " ('" + std::string(1, text[at]) +
                           "') is not one a link holds");
        }
        bits = (bits << 6) | static_cast<std::uint32_t>(value);
        held += 6;
        if (held >= 8) {
            held -= 8;
            bytes += static_cast<char>((bits >> held) & 0xFF);
        }
    }
    if ((bits & ((1u << held) - 1)) != 0) return damaged("its last character is not one an encoding ends with");
    return bytes;
}

std::string Compress(std::string_view bytes) {
    uLongf size = compressBound(static_cast<uLong>(bytes.size()));
    std::string out(size, '\0');
    compress2(reinterpret_cast<Bytef*>(out.data()), &size, In(bytes), static_cast<uLong>(bytes.size()), 9);
    out.resize(size);
    return out;
}

Result<std::string> Decompress(std::string_view compressed) {
    const auto damaged = [](std::string why) { return Fault{Fault::Kind::Damaged, std::move(why)}; };
    if (compressed.size() > UINT_MAX) return damaged("its compressed journal is larger than any journal");
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK) return damaged("no memory to read it");
    stream.next_in = In(compressed);
    stream.avail_in = static_cast<uInt>(compressed.size());
    std::string out;
    const int result = InflateAll(stream, out);
    const std::size_t left = stream.avail_in;
    const std::string failure = result != Z_STREAM_END ? Failure(result, stream) : std::string();
    inflateEnd(&stream);
    if (result != Z_STREAM_END) return damaged(failure);
    if (left != 0) return damaged("its compressed journal is followed by " + std::to_string(left) + " more bytes");
    return out;
}

}  // namespace tg::journal
