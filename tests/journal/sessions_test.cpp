// The sessions over a journal store: a new game kept in its journal, the
// game gone on with from wherever it stopped, journals refused that cannot
// be gone on with, and replays. The stores are the page's storage (held in
// memory here) and journal files in a temporary folder.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "console/banner_border.hpp"
#include "program/file_store.hpp"
#include "journal/journal_format.hpp"
#include "journal/replay_pace.hpp"
#include "journal/sessions.hpp"
#include "shell/play_game.hpp"
#include "support/scripted_terminal.hpp"

namespace tg::journal {
namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t Seed = 7;
// FreePlay: out to Marmy's Pub, a conversation, a bad key, home, training.
const std::string Keys = "0241" "3333" "9" "3333333333" "0" "1" "1" "0" "0" "2" "0";

const GameRunner Run = [](Platform& platform, std::uint32_t seed, GameEvents* events, InputJournal* journal) {
    return PlayGame(platform, seed, events, journal);
};

// The page's storage: its stored game, a journal file opened on the page to
// be replayed, and how many more bytes it takes.
struct PageStorage {
    std::string stored;
    std::string opened;
    std::size_t room = std::string::npos;
    bool finished = false;
};

// A store over the page's storage.
class PageStore : public JournalStore {
public:
    explicit PageStore(PageStorage& storage) : storage_(storage), journal_(storage) {}

    Result<JournalSink*> Create(const Header& header) override {
        if (std::optional<Fault> fault = journal_.Append(EncodeHeader(header))) return *fault;
        return &journal_;
    }
    Result<std::string> Read() override { return storage_.opened.empty() ? storage_.stored : storage_.opened; }
    Result<JournalSink*> Reopen(std::size_t size) override {
        storage_.stored.resize(std::min(size, storage_.stored.size()));
        return &journal_;
    }

private:
    class Stored : public JournalSink {
    public:
        explicit Stored(PageStorage& storage) : storage_(storage) {}
        std::optional<Fault> Append(std::string_view bytes) override {
            if (bytes.size() > storage_.room) return Fault{Fault::Kind::Unwritable, "the storage is full"};
            if (storage_.room != std::string::npos) storage_.room -= bytes.size();
            storage_.stored += bytes;
            return std::nullopt;
        }
        std::optional<Fault> Sync() override { return std::nullopt; }
        void Finished() override { storage_.finished = true; }

    private:
        PageStorage& storage_;
    };

    PageStorage& storage_;
    Stored journal_;
};

// A terminal that shows the banner's border in another form, as one in a
// locale that is not UTF-8, or a Windows console, does.
class BorderedTerminal : public ScriptedTerminal {
public:
    BorderedTerminal(std::string keys, Border border) : ScriptedTerminal(std::move(keys)), border_(border) {}
    void Write(std::string_view text) override { ScriptedTerminal::Write(WithBorder(text, border_)); }

private:
    Border border_;
};

struct Shown {
    std::string transcript;
    int status = -1;
    std::string problem;  // what went wrong, as the session's fault has it
    std::optional<Fault::Kind> kind;
};

Shown Played(const std::string& transcript, const SessionEnd& end) {
    if (!end.fault) return {transcript, end.status, {}, std::nullopt};
    return {transcript, end.status, end.fault->detail, end.fault->kind};
}

// A new game kept in the store, played until the keys run out, as if the
// terminal had been closed at that prompt; the problem is why it could not
// be kept.
Shown NewGame(JournalStore& store, const std::string& keys, Border border = Border::DoubleLines) {
    const Result<JournalSink*> journal = store.Create(NewHeader(Seed, "test", border, 0));
    BorderedTerminal terminal(keys, border);
    JournalSink* sink = journal ? *journal : nullptr;
    const SessionEnd end = PlayNewGame(Run, terminal, Seed, [sink] { return sink; });
    return journal ? Played(terminal.Transcript(), end)
                   : Shown{terminal.Transcript(), end.status, journal.Error().detail, journal.Error().kind};
}

Shown Continue(JournalStore& store, const std::string& keys) {
    ScriptedTerminal terminal(keys);
    const SessionEnd end = ContinueGame(Run, [&] { return std::make_unique<LentTerminal>(terminal); }, store);
    return Played(terminal.Transcript(), end);
}

Shown Replayed(JournalStore& store) {
    ScriptedTerminal terminal;
    const SessionEnd end =
        WatchReplay(Run, [&] { return std::make_unique<LentTerminal>(terminal); }, store, FastestSpeed);
    return Played(terminal.Transcript(), end);
}

std::string ScreenAtTheEnd(const std::string& transcript) { return transcript.substr(transcript.rfind('\f')); }

// A journal a session must refuse, and the fault it is refused with: its
// kind, and how its particulars start.
struct Refusal {
    std::string bytes;
    Fault::Kind kind;
    std::string says;
};

struct Sessions : ::testing::Test {
    fs::path folder = fs::temp_directory_path() /
                      ("tender-gamble-sessions-" +
                       std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    fs::path path = folder / "game.journal";
    PageStorage page;

    void SetUp() override { fs::create_directories(folder); }
    void TearDown() override { fs::remove_all(folder); }

    // A store of its own for each session, as each run of the game opens:
    // over the page's storage, or the file.
    std::unique_ptr<JournalStore> Store(bool inFile) {
        if (inFile) return std::make_unique<FileStore>(path.string());
        return std::make_unique<PageStore>(page);
    }
    std::string Kept(bool inFile) const {
        if (!inFile) return page.stored;
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    void Put(bool inFile, const std::string& bytes) {
        if (inFile) {
            std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
        } else {
            page.stored = bytes;
        }
    }
    void Forget() {
        page = {};
        fs::remove(path);
    }
};

const char* Where(bool inFile) { return inFile ? "in a file" : "on the page"; }

TEST_F(Sessions, ContinuedAGameShowsTheLastScreenThenPlaysOnAsIfNeverStopped) {
    ScriptedTerminal uninterrupted(Keys);
    (void)PlayGame(uninterrupted, Seed);
    const std::string whole = uninterrupted.Transcript();
    for (const bool inFile : {false, true}) {
        for (const std::size_t cut : {std::size_t{0}, std::size_t{1}, std::size_t{4}, std::size_t{5}, std::size_t{9},
                                      std::size_t{20}, Keys.size() - 3, Keys.size() - 1}) {
            Forget();
            const Shown before = NewGame(*Store(inFile), Keys.substr(0, cut));
            ASSERT_EQ(before.problem, "") << Where(inFile) << " " << cut;
            ASSERT_EQ(whole.substr(0, before.transcript.size()), before.transcript) << cut;
            const Contents kept = Parse(Kept(inFile));
            EXPECT_FALSE(kept.fault) << Where(inFile) << " " << cut;
            EXPECT_EQ(kept.wholeBytes, Kept(inFile).size());

            const Shown after = Continue(*Store(inFile), Keys.substr(cut));
            EXPECT_EQ(after.status, 0);
            EXPECT_EQ(after.problem, "") << Where(inFile) << " " << cut;
            EXPECT_EQ(after.transcript, ScreenAtTheEnd(before.transcript) + whole.substr(before.transcript.size()))
                << Where(inFile) << " " << cut;
        }
    }
}

// Stopped between the two words of the name, the game goes on with the
// screen as it was before the first word: the terminal echoes what comes.
TEST_F(Sessions, ContinuedBetweenTheWordsOfTheNameTheFirstWordIsNotShownAgain) {
    NewGame(*Store(true), "112Ann");
    const Shown after = Continue(*Store(true), "Lee\n0");
    EXPECT_NE(after.transcript.find("(r for random)\nLee\n"), std::string::npos) << after.transcript;
}

TEST_F(Sessions, QuitAndEscapeAreTakenBackAndTheGameGoesOnFromThatPrompt) {
    // Quit at the first home menu; continued, the menu is back, still
    // without the key that quit, and going out works.
    const std::string home = ScreenAtTheEnd(NewGame(*Store(true), "00").transcript);
    const Shown afterQuit = Continue(*Store(true), "2x\x1b");
    EXPECT_EQ(afterQuit.status, 0);
    EXPECT_EQ(afterQuit.problem, "");
    EXPECT_EQ(afterQuit.transcript.substr(0, home.size()), home.substr(0, home.size() - 1) + "2");
    // Escape after a bad key at the place menu: continued, the bad key's
    // line is back and the menu still waits.
    const std::string badKey = "x\nBad Input (0-6):72\n";
    EXPECT_TRUE(afterQuit.transcript.ends_with(badKey + "^[")) << afterQuit.transcript;  // Escape echoes as ^[
    const Shown afterEscape = Continue(*Store(true), "x");
    EXPECT_TRUE(afterEscape.transcript.ends_with(badKey + badKey)) << afterEscape.transcript;
    int takenBack = 0;
    for (const Record& record : Parse(Kept(true)).records) takenBack += record.kind == Record::Kind::TakeBack;
    EXPECT_EQ(takenBack, 2);
}

TEST_F(Sessions, AStoredJournalIsTheJournalFormatAndItsTornRecordIsCutBeforeGoingOn) {
    // Escape after a bad key at the place menu ends the game.
    EXPECT_EQ(NewGame(*Store(false), "02x\x1b").status, 0);
    ASSERT_EQ(page.stored.rfind("tender-gamble journal 1\ngame test\nseed 7\nstarted ", 0), 0u);
    page.stored += "\xFE" "W";
    const std::string badKey = "x\nBad Input (0-6):72\n";
    const Shown after = Continue(*Store(false), "x");
    EXPECT_EQ(after.problem, "");
    EXPECT_TRUE(after.transcript.ends_with(badKey + badKey)) << after.transcript;
    const Contents contents = Parse(page.stored);
    EXPECT_FALSE(contents.fault);
    EXPECT_EQ(contents.wholeBytes, page.stored.size());
    ASSERT_GE(contents.records.size(), 2u);
    EXPECT_EQ(contents.records[contents.records.size() - 2].kind, Record::Kind::TakeBack);
}

TEST_F(Sessions, AJournalThatCannotBeGoneOnWithIsRefusedWithTheStoreLeftAsItWasAndNothingShown) {
    NewGame(*Store(false), Keys.substr(0, 12));
    const std::string played = page.stored;
    std::string otherSeed = played;
    otherSeed.replace(otherSeed.find("seed 7"), 6, "seed 8");
    // The key that went out to Marmy's Pub becomes the University.
    const Contents contents = Parse(played);
    ASSERT_EQ(contents.records[3].code, '4');
    std::string otherKey = played;
    otherKey[contents.offsets[3]] = '2';
    // Satisfaction at the first home menu ends the game.
    page = {};
    NewGame(*Store(false), "05");
    EXPECT_TRUE(page.finished);
    const std::string finished = page.stored;

    const std::vector<Refusal> continues = {
        {otherSeed, Fault::Kind::Strays, "record "},
        {otherKey, Fault::Kind::Strays, "record "},
        {finished, Fault::Kind::Over, ""},
        {"", Fault::Kind::Damaged, "it is empty"},
    };
    const std::vector<Refusal> replays = {
        {otherKey, Fault::Kind::Strays, "record "},
        {"", Fault::Kind::Damaged, "it is empty"},
    };
    for (const bool inFile : {false, true}) {
        for (const Refusal& refusal : continues) {
            Put(inFile, refusal.bytes);
            const Shown shown = Continue(*Store(inFile), "0");
            EXPECT_EQ(shown.status, CouldNotPlay) << refusal.says;
            EXPECT_EQ(shown.kind, refusal.kind) << shown.problem;
            EXPECT_TRUE(shown.problem.starts_with(refusal.says)) << shown.problem;
            EXPECT_EQ(Kept(inFile), refusal.bytes) << refusal.says;
            EXPECT_EQ(shown.transcript, "") << refusal.says;
        }
        // A replay shows the game until it strays from its journal.
        for (const Refusal& refusal : replays) {
            Put(inFile, refusal.bytes);
            const Shown shown = Replayed(*Store(inFile));
            EXPECT_EQ(shown.status, CouldNotPlay) << refusal.says;
            EXPECT_EQ(shown.kind, refusal.kind) << shown.problem;
            EXPECT_TRUE(shown.problem.starts_with(refusal.says)) << shown.problem;
        }
    }
}

TEST_F(Sessions, StorageThatKeepsNothingLeavesTheGameUnrecordedButPlayed) {
    ScriptedTerminal uninterrupted(Keys);
    (void)PlayGame(uninterrupted, Seed);
    // Nothing at all: the game is played without a journal.
    page.room = 0;
    const Shown unkept = NewGame(*Store(false), Keys);
    EXPECT_EQ(unkept.transcript, uninterrupted.Transcript());
    EXPECT_EQ(unkept.status, 0);
    EXPECT_EQ(unkept.problem, "the storage is full");
    EXPECT_EQ(page.stored, "");
    // Only the header: the game plays on, and the session says the rest
    // was not kept.
    page = {};
    page.room = EncodeHeader(NewHeader(Seed, "test", Border::DoubleLines, 0)).size();
    const Shown cut = NewGame(*Store(false), Keys);
    EXPECT_EQ(cut.transcript, uninterrupted.Transcript());
    EXPECT_EQ(cut.status, 0);
    EXPECT_EQ(cut.kind, Fault::Kind::Unwritable) << cut.problem;
    EXPECT_EQ(Parse(page.stored).records.size(), 0u);
}

TEST_F(Sessions, AJournalWhoseHeaderNamesAnotherBorderReplaysAndGoesOnInDoubleLinesOnAUtf8Terminal) {
    EXPECT_EQ(Parse("tender-gamble journal 1\nseed 3\nborder runes\n\n").fault->detail,
              "its banner border \"runes\" is not one this game draws");
    std::string doubleLine;
    for (int i = 0; i < 21; ++i) doubleLine += "\u2550";
    const std::string bannerTop = "\u2554" + doubleLine + "\u2557";
    for (const auto& [border, named] : {std::pair{Border::DoubleLines, ""}, std::pair{Border::Ascii, "border ascii\n"},
                                        std::pair{Border::Cp437, "border cp437\n"}}) {
        page = {};
        const Shown there = NewGame(*Store(false), "0241333", border);
        const std::string stored = page.stored;
        const std::size_t line = stored.find("\nborder ");
        EXPECT_EQ(line == std::string::npos ? "" : stored.substr(line + 1, stored.find('\n', line + 1) - line), named);

        page.opened = stored;
        const Shown replayed = Replayed(*Store(false));
        EXPECT_EQ(replayed.status, 0);
        EXPECT_EQ(replayed.problem, "") << named;
        EXPECT_EQ(replayed.transcript.substr(1, bannerTop.size()), bannerTop) << named;
        EXPECT_EQ(ScreenAtTheEnd(replayed.transcript), ScreenAtTheEnd(there.transcript)) << named;

        page.opened.clear();
        const Shown goneOn = Continue(*Store(false), "2");
        EXPECT_EQ(goneOn.problem, "") << named;
        EXPECT_TRUE(goneOn.transcript.starts_with(ScreenAtTheEnd(there.transcript))) << named;
        EXPECT_GT(goneOn.transcript.size(), ScreenAtTheEnd(there.transcript).size()) << named;
    }
}

}  // namespace
}  // namespace tg::journal
