// Links that hold a game: a journal goes in and comes out byte for byte, and
// every way a link can be damaged is refused.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "journal/game_link.hpp"
#include "journal/journal_format.hpp"

namespace tg::journal {
namespace {

// Every byte value, a text header, and a run long enough to compress.
const std::string Journal = [] {
    std::string bytes = "tender-gamble journal 1\ngame 1.0.0\nseed 7\nstarted 2026-12-09T14:46:04Z\n\n";
    for (int repeat = 0; repeat < 3; ++repeat) {
        for (int byte = 0; byte < 256; ++byte) bytes += static_cast<char>(byte);
    }
    return bytes;
}();

TEST(GameLink, HoldsTheJournalByteForByteAfterThePagesAddress) {
    const std::string link = MakeLink("https://example.org/play/#old", Journal);
    ASSERT_EQ(link.rfind("https://example.org/play/#game=", 0), 0u) << link;
    EXPECT_EQ(link.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_", 31),
              std::string::npos);
    const Result<LinkedGame> read = ReadLink(link), padded = ReadLink(link + "==");
    ASSERT_TRUE(read && padded) << "padding is ignored";
    EXPECT_EQ(read->journal, Journal);
    EXPECT_EQ(padded->journal, Journal);
    EXPECT_TRUE(IsLink(link));
    EXPECT_FALSE(IsLink("game.journal"));
}

// A game of three keys, to name moments of.
const std::string ThreeKeys = [] {
    Header header;
    header.gameVersion = "1.0.0";
    header.started = "2026-12-09T14:46:04Z";
    std::string bytes = EncodeHeader(header);
    for (const char key : {'0', '2', '4'}) bytes += EncodeRecord(Record{Record::Kind::Key, key, std::string(1, key)});
    return bytes;
}();

TEST(GameLink, AMomentOfTheGameIsNamedAfterIt) {
    const Result<LinkedGame> game = ReadLink(MakeLink("", ThreeKeys, 3));
    ASSERT_TRUE(game) << game.Error().detail;
    EXPECT_EQ(game->at, std::optional<std::size_t>(3));
    EXPECT_EQ(game->journal, ThreeKeys);
}

TEST(GameLink, DamagedLinksAreRefused) {
    const std::string stream = Compress(Journal);
    const auto link = [](const std::string& compressed) { return "http://127.0.0.1:8000/#game=" + EncodeBase64Url(compressed); };
    const auto flipped = [&stream](std::size_t at) {
        std::string altered = stream;
        altered[at] = static_cast<char>(altered[at] ^ 0x20);
        return altered;
    };
    const std::string whole = link(stream);
    const std::size_t middle = whole.size() - 20;
    const std::vector<std::string> damaged = {
        link(stream.substr(0, stream.size() - 5)),                 // cut short inside the stream
        whole.substr(0, whole.size() - 1),                         // cut short by a character
        link(flipped(stream.size() / 2)),                          // the compressed data altered
        link(flipped(stream.size() - 1)),                          // the Adler-32 altered
        link(stream + std::string(3, '\0')),                       // bytes after the stream
        whole.substr(0, middle) + "%" + whole.substr(middle + 1),  // a character no link holds
        whole.substr(0, middle) + "+" + whole.substr(middle + 1),  // standard base64, not URL-safe
        "http://127.0.0.1:8000/#seed=4",                           // not "game="
        "http://127.0.0.1:8000/#x" + whole.substr(whole.find('#')), // only the first '#' counts
        MakeLink("", ThreeKeys, 4),                                 // a moment beyond the game
        MakeLink("", ThreeKeys) + "&at=",                           // a moment with no number
        MakeLink("", ThreeKeys) + "&at=-1",                         // or a number of no inputs
        MakeLink("", ThreeKeys) + "&at=1x",                        // or not only a number
        MakeLink("", ThreeKeys, 1) + "&at=2",                       // two moments
        MakeLink("", ThreeKeys) + "&from=1",                        // something else after the game
    };
    for (const std::string& bad : damaged) {
        const Result<LinkedGame> read = ReadLink(bad);
        ASSERT_FALSE(read) << bad;
        EXPECT_EQ(read.Error().kind, Fault::Kind::Damaged);
        EXPECT_EQ(read.Error().detail.rfind("the link is damaged or cut short: ", 0), 0u) << read.Error().detail;
    }
}

}  // namespace
}  // namespace tg::journal
