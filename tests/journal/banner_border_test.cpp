// A journal names the banner border its game was shown with, so that it
// replays and goes on anywhere: a game played in an ASCII locale or on a
// Windows console, replayed or continued on a UTF-8 terminal (or the page).

#include <gtest/gtest.h>

#include "console/scripted_terminal.hpp"
#include "console/terminal_capabilities.hpp"
#include "journal/banner_border.hpp"
#include "journal/journal_format.hpp"
#include "journal/page_sessions.hpp"
#include "journal/playback.hpp"
#include "shell/play_game.hpp"

namespace tg::journal {
namespace {

class BorderedTerminal : public ScriptedTerminal {
public:
    BorderedTerminal(std::string keys, BoxCharacters box) : ScriptedTerminal(std::move(keys)), box_(box) {}
    BoxCharacters Box() const override { return box_; }

private:
    BoxCharacters box_;
};

class MemoryJournal : public PageJournal {
public:
    std::string bytes;
    std::string Chosen() override { return bytes; }
    bool CutAt(std::size_t size) override {
        bytes.resize(size);
        return true;
    }
    void Report(const std::string& message) override { ADD_FAILURE() << message; }
    bool Append(std::string_view more) override {
        bytes += more;
        return true;
    }
    bool Sync() override { return true; }
    const std::string& Path() const override { return name_; }
    const std::string& Error() const override { return name_; }

private:
    std::string name_ = "memory";
};

// Runs to the game's end; what the terminal showed.
template <typename Start>
std::string Shown(BorderedTerminal& terminal, Start start) {
    try {
        start(terminal);
    } catch (const ProgramEnded&) {
    }
    return terminal.Transcript();
}

TEST(BannerBorder, TheHeaderNamesABorderOtherThanUtf8AndRefusesOneItDoesNotKnow) {
    Header header;
    header.seed = 3;
    EXPECT_EQ(EncodeHeader(header).find("border"), std::string::npos);
    for (const BoxCharacters& box : {BoxFor(false), Cp437Box(), BoxCharacters{}}) {
        header.border = BorderName(box);
        EXPECT_EQ(Parse(EncodeHeader(header)).header.border, header.border);
        EXPECT_EQ(BorderName(*BorderNamed(header.border)), header.border);
    }
    EXPECT_EQ(Parse("tender-gamble journal 1\nseed 3\nborder ascii\n\n").header.border, "ascii");
    EXPECT_EQ(Parse("tender-gamble journal 1\nseed 3\nborder runes\n\n").error,
              "its banner border \"runes\" is not one this game draws");
}

TEST(BannerBorder, OnlyABorderNoOtherTextUsesIsShownInAnother) {
    const std::string cp437Line = "\xC9\xCD\xCD\xBB (+10) |";
    EXPECT_EQ(ShownWith(cp437Line, Cp437Box(), BoxCharacters{}), "\u2554\u2550\u2550\u2557 (+10) |");
    EXPECT_EQ(ShownWith("\u255a\u2550\u255d", BoxCharacters{}, BoxFor(false)), "+=+");
    // '+', '=' and '|' are ordinary text too: an ASCII border stays as it is.
    EXPECT_EQ(ShownWith("+=+ (+10)", BoxFor(false), BoxCharacters{}), "+=+ (+10)");
}

TEST(BannerBorder, GamesPlayedWithAnotherBorderReplayAndGoOnOnAUtf8Terminal) {
    const std::string keys = "0241333";
    for (const BoxCharacters& played : {BoxFor(false), Cp437Box()}) {
        MemoryJournal journal;
        BorderedTerminal there(keys, played);
        const std::string shownThere =
            Shown(there, [&](Platform& terminal) { PlayNewPageGame(PlayGame, terminal, 7, "test", journal); });
        const std::string lastScreen = shownThere.substr(shownThere.rfind('\f'));

        BorderedTerminal replayed("q", BoxCharacters{});
        const std::string replay = Shown(replayed, [&](Platform& terminal) {
            PlayBack(PlayGame, terminal, Parse(journal.bytes), 1024);
        });
        EXPECT_EQ(replay.substr(replay.rfind('\f')), lastScreen) << BorderName(played);
        // The title in the terminal's own double lines where the border was
        // of characters nothing else uses; ASCII as it was.
        const bool doubleLines = replay.find("\u2554\u2550") != std::string::npos;
        EXPECT_EQ(doubleLines, BorderName(played) == "cp437");
        EXPECT_EQ(replay.find('\xC9'), std::string::npos);

        BorderedTerminal continued("2", BoxCharacters{});
        const std::string goneOn =
            Shown(continued, [&](Platform& terminal) { ContinuePageGame(PlayGame, terminal, journal); });
        EXPECT_EQ(goneOn.substr(0, lastScreen.size()), lastScreen) << BorderName(played);
        EXPECT_EQ(Parse(journal.bytes).records.back().code, '2');
    }
}

}  // namespace
}  // namespace tg::journal
