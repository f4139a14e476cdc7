// The game on a web page keeps its journal in the page's storage: the same
// bytes as a journal file, continued and replayed from memory.

#include <gtest/gtest.h>

#include "console/scripted_terminal.hpp"
#include "journal/journal_format.hpp"
#include "journal/page_sessions.hpp"
#include "shell/play_game.hpp"

namespace tg::journal {
namespace {

constexpr std::uint32_t Seed = 7;
// FreePlay: out to Marmy's Pub, a conversation, a bad key, home, training.
const std::string Keys = "0241" "3333" "9" "3333333333" "0" "1" "1" "0" "0" "2" "0";

// The page's storage for one journal, and what the page was told.
class StoredJournal : public PageJournal {
public:
    std::string bytes;
    std::string chosen;  // a journal file opened on the page, when not the stored one
    std::vector<std::string> reports;
    bool finished = false;
    bool full = false;  // storage that takes nothing more

    std::string Chosen() override { return chosen.empty() ? bytes : chosen; }
    bool CutAt(std::size_t size) override {
        bytes.resize(std::min(size, bytes.size()));
        return true;
    }
    void Report(const std::string& message) override { reports.push_back(message); }
    bool Append(std::string_view more) override {
        if (full) return false;
        bytes += more;
        return true;
    }
    bool Sync() override { return true; }
    void Finished() override { finished = true; }
    const std::string& Path() const override { return path_; }
    const std::string& Error() const override { return error_; }

private:
    std::string path_ = "the page's storage";
    std::string error_ = "the storage is full";
};

// What a whole run shows on its terminal, and how it ended.
struct Outcome {
    std::string transcript;
    int status = -1;
};

template <typename Start>
Outcome OnTerminal(const std::string& keys, Start start) {
    ScriptedTerminal terminal(keys);
    Outcome run;
    try {
        start(static_cast<Platform&>(terminal));
    } catch (const ProgramEnded& ended) {
        run.status = ended.status;
    }
    run.transcript = terminal.Transcript();
    return run;
}

Outcome NewGame(StoredJournal& journal, const std::string& keys) {
    return OnTerminal(keys, [&](Platform& terminal) { PlayNewPageGame(PlayGame, terminal, Seed, "test", journal); });
}

Outcome Continue(StoredJournal& journal, const std::string& keys) {
    return OnTerminal(keys, [&](Platform& terminal) { ContinuePageGame(PlayGame, terminal, journal); });
}

std::string ScreenAtTheEnd(const std::string& transcript) { return transcript.substr(transcript.rfind('\f')); }

TEST(PageGame, ContinuedFromStorageItShowsTheLastScreenAndPlaysOnAsIfNeverStopped) {
    const Outcome uninterrupted = OnTerminal(Keys, [](Platform& terminal) { PlayGame(terminal, Seed); });
    for (const std::size_t cut : {std::size_t{0}, std::size_t{4}, std::size_t{9}, Keys.size() - 3}) {
        StoredJournal journal;
        const Outcome before = NewGame(journal, Keys.substr(0, cut));
        const Contents stored = Parse(journal.bytes);
        ASSERT_EQ(stored.error, "") << cut;
        EXPECT_EQ(stored.header.seed, Seed);
        EXPECT_EQ(stored.wholeBytes, journal.bytes.size());
        const Outcome after = Continue(journal, Keys.substr(cut));
        EXPECT_EQ(after.transcript, ScreenAtTheEnd(before.transcript) + uninterrupted.transcript.substr(before.transcript.size()))
            << cut;
        EXPECT_EQ(journal.reports, std::vector<std::string>{});
    }
}

TEST(PageGame, AStoredJournalIsTheJournalFormatAndTakesBackTheKeyThatLeftTheGame) {
    StoredJournal journal;
    // Escape after a bad key at the place menu ends the game.
    const Outcome left = NewGame(journal, "02x\x1b");
    EXPECT_EQ(left.status, 0);
    ASSERT_EQ(journal.bytes.rfind("tender-gamble journal 1\ngame test\nseed 7\nstarted ", 0), 0u);
    // A torn record at the end is cut off before the game goes on.
    journal.bytes += "\xFE" "W";
    const std::string badKey = "x\nBad Input (0-6):72\n";
    const Outcome after = Continue(journal, "x");
    EXPECT_EQ(after.transcript.substr(after.transcript.size() - 2 * badKey.size()), badKey + badKey);
    const Contents contents = Parse(journal.bytes);
    EXPECT_EQ(contents.wholeBytes, journal.bytes.size());
    ASSERT_GE(contents.records.size(), 2u);
    EXPECT_EQ(contents.records[contents.records.size() - 2].kind, Record::Kind::TakeBack);
}

TEST(PageGame, TheEndingIsMarkedAndAFinishedOrAlteredGameIsRefusedWithTheStorageLeftAsItWas) {
    const auto refusal = [](StoredJournal& journal) {
        const std::string kept = journal.bytes;
        const Outcome run = Continue(journal, "0");
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(journal.bytes, kept);
        EXPECT_EQ(run.transcript.find("Pick a Play Mode"), std::string::npos) << "the refused game was shown";
        return journal.reports.empty() ? std::string() : journal.reports.back();
    };
    // Satisfaction at the first home menu ends the game.
    StoredJournal finished;
    NewGame(finished, "05");
    EXPECT_TRUE(finished.finished);
    EXPECT_TRUE(Finished(Parse(finished.bytes)));
    EXPECT_EQ(refusal(finished), "The saved game is over: it can only be replayed.");

    StoredJournal altered;
    NewGame(altered, "0241");
    altered.bytes.replace(altered.bytes.find("seed 7"), 6, "seed 8");
    EXPECT_NE(refusal(altered).find("The saved game cannot be continued: record "), std::string::npos);

    StoredJournal empty;
    EXPECT_EQ(refusal(empty), "The saved game cannot be continued: it is empty.");
}

TEST(PageGame, StorageThatCannotKeepTheGameLeavesItPlayable) {
    StoredJournal full;
    full.full = true;
    const Outcome unrecorded = NewGame(full, "0241");
    const Outcome plain = OnTerminal("0241", [](Platform& terminal) { PlayGame(terminal, Seed); });
    EXPECT_EQ(unrecorded.transcript, plain.transcript);
    EXPECT_EQ(full.bytes, "");
}

TEST(PageGame, AnOpenedJournalIsReplayedAndOneThatIsNoJournalIsSaidToBeSo) {
    StoredJournal recorded;
    const Outcome played = NewGame(recorded, "0241333");
    StoredJournal page;
    page.chosen = recorded.bytes;
    // The last screen stays until a key is pressed.
    const Outcome replayed = OnTerminal("q", [&](Platform& terminal) { ReplayOnPage(PlayGame, terminal, page, "game.journal", 1024); });
    EXPECT_EQ(replayed.status, 0);
    EXPECT_EQ(ScreenAtTheEnd(replayed.transcript), ScreenAtTheEnd(played.transcript));

    page.chosen = "GIF89a";
    const Outcome refused = OnTerminal("q", [&](Platform& terminal) { ReplayOnPage(PlayGame, terminal, page, "cat.gif", 1); });
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(page.reports, std::vector<std::string>{"cat.gif cannot be replayed: it is not a journal of this game."});
    EXPECT_EQ(page.bytes, "");
}

}  // namespace
}  // namespace tg::journal
