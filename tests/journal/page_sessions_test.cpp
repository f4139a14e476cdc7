// The game on a web page keeps its journal in the page's storage: the same
// bytes as a journal file, continued and replayed from memory, whatever
// terminal the journal was recorded on.

#include <gtest/gtest.h>

#include "terminal/scripted_terminal.hpp"
#include "console/terminal_capabilities.hpp"
#include "journal/banner_border.hpp"
#include "journal/journal_format.hpp"
#include "journal/page_sessions.hpp"
#include "journal/playback.hpp"
#include "shell/play_game.hpp"

namespace tg::journal {
namespace {

// The page's storage for one journal, and what the page was told.
class MemoryJournal : public PageJournal {
public:
    std::string bytes;
    std::string opened;  // a journal file opened on the page, when not the stored one
    std::vector<std::string> reports;
    bool finished = false;
    bool full = false;  // storage that takes nothing more

    std::string Chosen() override { return opened.empty() ? bytes : opened; }
    bool CutAt(std::size_t size) override {
        bytes.resize(std::min(size, bytes.size()));
        return true;
    }
    void Report(const std::string& message) override { reports.push_back(message); }
    bool Append(std::string_view more) override {
        if (!full) bytes += more;
        return !full;
    }
    bool Sync() override { return true; }
    void Finished() override { finished = true; }
    const std::string& Path() const override { return name_; }
    const std::string& Error() const override { return name_; }

private:
    std::string name_ = "the page's storage";
};

constexpr std::uint32_t Seed = 7;
// FreePlay: out to Marmy's Pub, a conversation, a bad key, home, training.
const std::string Keys = "0241" "3333" "9" "3333333333" "0" "1" "1" "0" "0" "2" "0";

struct Shown {
    std::string transcript;
    int status = -1;
};

// A terminal whose banner border is this one.
class BorderedTerminal : public ScriptedTerminal {
public:
    BorderedTerminal(std::string keys, BoxCharacters box) : ScriptedTerminal(std::move(keys)), box_(box) {}
    BoxCharacters Box() const override { return box_; }

private:
    BoxCharacters box_;
};

template <typename Start>
Shown OnTerminal(const std::string& keys, Start start, BoxCharacters box = {}) {
    BorderedTerminal terminal(keys, box);
    Shown shown;
    try {
        start(static_cast<Platform&>(terminal));
    } catch (const ProgramEnded& ended) {
        shown.status = ended.status;
    }
    shown.transcript = terminal.Transcript();
    return shown;
}

Shown NewGame(MemoryJournal& journal, const std::string& keys) {
    return OnTerminal(keys, [&](Platform& terminal) { PlayNewPageGame(PlayGame, terminal, Seed, "test", journal); });
}

Shown Continue(MemoryJournal& journal, const std::string& keys) {
    return OnTerminal(keys, [&](Platform& terminal) { ContinuePageGame(PlayGame, terminal, journal); });
}

std::string ScreenAtTheEnd(const std::string& transcript) { return transcript.substr(transcript.rfind('\f')); }

TEST(PageGame, ContinuedFromStorageItShowsTheLastScreenAndPlaysOnAsIfNeverStopped) {
    const Shown uninterrupted = OnTerminal(Keys, [](Platform& terminal) { PlayGame(terminal, Seed); });
    for (const std::size_t cut : {std::size_t{0}, std::size_t{4}, std::size_t{9}, Keys.size() - 3}) {
        MemoryJournal journal;
        const Shown before = NewGame(journal, Keys.substr(0, cut));
        const Contents stored = Parse(journal.bytes);
        ASSERT_EQ(stored.error, "") << cut;
        EXPECT_EQ(stored.wholeBytes, journal.bytes.size());
        const Shown after = Continue(journal, Keys.substr(cut));
        EXPECT_EQ(after.transcript, ScreenAtTheEnd(before.transcript) + uninterrupted.transcript.substr(before.transcript.size()))
            << cut;
        EXPECT_EQ(journal.reports, std::vector<std::string>{});
    }
    // Storage that keeps nothing leaves the game as it is, unrecorded.
    MemoryJournal full;
    full.full = true;
    EXPECT_EQ(NewGame(full, Keys).transcript, uninterrupted.transcript);
}

TEST(PageGame, AStoredJournalIsTheJournalFormatAndTakesBackTheKeyThatLeftTheGame) {
    MemoryJournal journal;
    // Escape after a bad key at the place menu ends the game.
    EXPECT_EQ(NewGame(journal, "02x\x1b").status, 0);
    ASSERT_EQ(journal.bytes.rfind("tender-gamble journal 1\ngame test\nseed 7\nstarted ", 0), 0u);
    // A torn record at the end is cut off before the game goes on.
    journal.bytes += "\xFE" "W";
    const std::string badKey = "x\nBad Input (0-6):72\n";
    const Shown after = Continue(journal, "x");
    EXPECT_EQ(after.transcript.substr(after.transcript.size() - 2 * badKey.size()), badKey + badKey);
    const Contents contents = Parse(journal.bytes);
    EXPECT_EQ(contents.wholeBytes, journal.bytes.size());
    ASSERT_GE(contents.records.size(), 2u);
    EXPECT_EQ(contents.records[contents.records.size() - 2].kind, Record::Kind::TakeBack);
}

TEST(PageGame, AFinishedOrAlteredGameIsRefusedWithTheStorageLeftAsItWas) {
    const auto refusal = [](MemoryJournal& journal) {
        const std::string kept = journal.bytes;
        const Shown shown = Continue(journal, "0");
        EXPECT_EQ(shown.status, 1);
        EXPECT_EQ(journal.bytes, kept);
        EXPECT_EQ(shown.transcript.find("Pick a Play Mode"), std::string::npos) << "the refused game was shown";
        return journal.reports.empty() ? std::string() : journal.reports.back();
    };
    // Satisfaction at the first home menu ends the game.
    MemoryJournal finished;
    NewGame(finished, "05");
    EXPECT_TRUE(finished.finished);
    EXPECT_EQ(refusal(finished), "The saved game is over: it can only be replayed.");

    MemoryJournal altered;
    NewGame(altered, "0241");
    altered.bytes.replace(altered.bytes.find("seed 7"), 6, "seed 8");
    EXPECT_NE(refusal(altered).find("The saved game cannot be continued: record "), std::string::npos);

    MemoryJournal empty;
    EXPECT_EQ(refusal(empty), "The saved game cannot be continued: it is empty.");
}

TEST(PageGame, AJournalPlayedWithAnotherBannerBorderReplaysAndGoesOnOnAUtf8Terminal) {
    EXPECT_EQ(Parse("tender-gamble journal 1\nseed 3\nborder runes\n\n").error,
              "its banner border \"runes\" is not one this game draws");
    // '+', '=' and '|' are ordinary text too: an ASCII border shows as it is.
    EXPECT_EQ(ShownWith("+=+ (+10)", BoxFor(false), BoxCharacters{}), "+=+ (+10)");
    for (const BoxCharacters& played : {BoxCharacters{}, BoxFor(false), Cp437Box()}) {
        MemoryJournal journal;
        const Shown there = OnTerminal(
            "0241333", [&](Platform& terminal) { PlayNewPageGame(PlayGame, terminal, Seed, "test", journal); }, played);
        EXPECT_EQ(Parse(journal.bytes).header.border, BorderName(played));
        MemoryJournal page;
        page.opened = journal.bytes;
        // The last screen stays until a key is pressed.
        const Shown replayed = OnTerminal(
            "q", [&](Platform& terminal) { ReplayOnPage(PlayGame, terminal, page, "game.journal", 1024); });
        EXPECT_EQ(replayed.status, 0);
        EXPECT_EQ(ScreenAtTheEnd(replayed.transcript), ScreenAtTheEnd(there.transcript)) << BorderName(played);
        // Code page 437's double lines, which nothing else uses, in UTF-8.
        EXPECT_EQ(replayed.transcript.find("\u2554\u2550") != std::string::npos, BorderName(played) != "ascii");
        const Shown goneOn = Continue(journal, "2");
        EXPECT_EQ(goneOn.transcript.substr(0, ScreenAtTheEnd(there.transcript).size()), ScreenAtTheEnd(there.transcript));
        EXPECT_EQ(page.reports, std::vector<std::string>{});
        EXPECT_EQ(journal.reports, std::vector<std::string>{});
    }
}

}  // namespace
}  // namespace tg::journal
