// Moving through a watched replay: each key shows the screen after the
// input it goes to, the same screen the game showed after those inputs.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "program/file_store.hpp"
#include "journal/sessions.hpp"
#include "shell/play_game.hpp"
#include "support/scripted_terminal.hpp"

namespace tg::journal {
namespace {

constexpr std::uint32_t Seed = 7;
// FreePlay: the home menu after the first key, out to Marmy's Pub, a
// conversation with a bad key in it, home again after the 24th key, then
// out again.
const std::string Keys = "0241" "3333" "9" "3333333333" "0" "1" "1" "0" "0" "2" "0";
constexpr std::size_t Total = 26;
constexpr std::size_t LastHomeMenu = 24;

const GameRunner Play = [](Platform& platform, std::uint32_t seed, GameEvents* events, InputJournal* journal) {
    return PlayGame(platform, seed, events, journal);
};

// A terminal that notes, when the viewer's keys run out, the screen and the
// window's title.
class Viewer : public ScriptedTerminal {
public:
    using ScriptedTerminal::ScriptedTerminal;
    int ReadByte(int milliseconds, Reading reading) override {
        if (!KeysLeft() && !seen) seen = Seen{Screen(), title_};
        return ScriptedTerminal::ReadByte(milliseconds, reading);
    }
    void SetTitle(std::string_view title) override { title_ = title; }
    struct Seen {
        std::string screen, title;
    };
    std::optional<Seen> seen;

private:
    std::string title_;
};

std::string ScreenAfter(std::size_t inputs) {
    ScriptedTerminal game(Keys.substr(0, inputs));
    (void)PlayGame(game, Seed);
    return game.Screen();
}

struct Move {
    std::size_t at;
    std::string keys;
    std::size_t shown;
};

TEST(ReplaySeek, EachMoveShowsTheScreenAfterTheInputItGoesTo) {
    const std::string path = testing::TempDir() + "replay-seek.journal";
    std::remove(path.c_str());
    {
        FileStore store(path);
        ScriptedTerminal player(Keys);
        const Result<JournalSink*> sink = store.Create(NewHeader(Seed, "test", Border::DoubleLines, 0));
        ASSERT_TRUE(sink);
        ASSERT_FALSE(PlayNewGame(Play, player, Seed, [&] { return *sink; }).fault);
    }
    const std::string right = "\x1b[C", left = "\x1b[D", home = "\x1b[H", end = "\x1b[F";
    const std::vector<Move> moves = {
        {0, ".", 1},         {0, "...,", 2},          {5, ",", 4},         {0, ",", 0},
        {0, end, Total},     {Total, home, 0},        {Total, ",", Total - 1}, {0, "5", Total / 2},
        {0, "9", 23},        {0, right, 1},           {0, right + right, LastHomeMenu},
        {Total, left, LastHomeMenu}, {LastHomeMenu, left, 1}, {3, "0", 0},
    };
    for (const Move& move : moves) {
        Viewer viewer(move.keys);
        FileStore store(path);
        const SessionEnd end = WatchReplay(Play, [&] { return std::make_unique<LentTerminal>(viewer); }, store,
                                           1, move.at);
        ASSERT_FALSE(end.fault);
        ASSERT_TRUE(viewer.seen) << move.keys;
        const std::string where = "replay " + std::to_string(move.shown) + "/" + std::to_string(Total);
        EXPECT_NE(viewer.seen->title.find(where), std::string::npos) << move.keys << ": " << viewer.seen->title;
        EXPECT_EQ(viewer.seen->screen, ScreenAfter(move.shown)) << move.keys;
        if (move.shown == LastHomeMenu) {
            EXPECT_NE(viewer.seen->title.find(", Day 1, "), std::string::npos) << viewer.seen->title;
        }
    }
    std::remove(path.c_str());
}

}  // namespace
}  // namespace tg::journal
