// Journals that cannot be kept or cannot be trusted, tried on the built
// game: a state folder it cannot write, a journal from a newer game, an
// edited journal, nothing to continue, a journal left empty by a crash, a
// name too long for a careless reader.

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "journal/journal_format.hpp"
#include "journal_on_disk.hpp"
#include "piped_game.hpp"
#include "pty_game.hpp"
#include "screen_checks.hpp"

namespace tg::e2e {
namespace {

namespace fs = std::filesystem;

constexpr char ClearScreen[] = "\x1b[2J";

int Count(const std::string& text, const std::string& part) {
    int count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

// A journal of the keys played through pipes (no sleeping pauses), saved
// where asked.
void SaveGame(const fs::path& file, std::uint32_t seed, const std::string& keys) {
    const PipedResult played = RunPiped({"--seed", std::to_string(seed), "--save", file.string()}, keys);
    ASSERT_TRUE(ExitedWith(played.status, 0)) << played.errors;
    ASSERT_FALSE(journal::Parse(ReadFile(file)).fault);
}

PipedResult Continue(const std::vector<std::string>& arguments, const TemporaryFolder& state) {
    return RunPiped(arguments, "", std::chrono::milliseconds(10'000), {state.StateHome()});
}

// The message names the file and a record as "record N (byte M)", where
// byte M is where record N starts; N is returned, 0 when there is none.
std::size_t NamedRecord(const std::string& message, const fs::path& file, const journal::Contents& contents) {
    EXPECT_NE(message.find(file.string()), std::string::npos) << message;
    std::smatch match;
    if (!std::regex_search(message, match, std::regex("record ([0-9]+) \\(byte ([0-9]+)\\)"))) {
        ADD_FAILURE() << "no record named: " << message;
        return 0;
    }
    const std::size_t record = std::stoul(match[1]);
    EXPECT_TRUE(record >= 1 && record <= contents.offsets.size() &&
                contents.offsets[record - 1] == std::stoul(match[2]))
        << message;
    return record;
}

TEST(JournalFaults, AStateFolderThatCannotBeMadeIsReportedOnceAndTheGamePlaysOn) {
    TemporaryFolder state;
    WriteFile(state.Journals(), "a file where the folder should be");
    PtyGame game(SpawnOptions{{"--seed", "5"}, {state.StateHome()}});
    ASSERT_TRUE(game.WaitForText("will not be saved") && game.WaitUntilReading()) << game.ScreenText();
    EXPECT_EQ(game.Output().find(ClearScreen), std::string::npos) << "the game did not wait for a key to start";
    game.Type(" ");
    ASSERT_TRUE(game.WaitForText("0 - FreePlay Mode")) << game.ScreenText();
    const std::string said = "will not be saved";
    const std::size_t message = game.Output().find(said);
    ASSERT_NE(message, std::string::npos) << game.Output();
    EXPECT_NE(game.Output().find(state.Journals().string(), message), std::string::npos) << game.Output();
    EXPECT_LT(message, game.Output().find(ClearScreen)) << "said after the banner was drawn";
    game.Type("x");
    ASSERT_TRUE(game.WaitForText("Bad Input (0-2):72")) << game.ScreenText();
    game.Type("\x1b");
    EXPECT_TRUE(ExitedWith(game.WaitForExit(), 0));
    EXPECT_EQ(Count(game.Output(), said), 1);
    ExpectTerminalRestored(game);
}

TEST(JournalFaults, AJournalOfANewerFormatIsRefusedAndLeftAsItIs) {
    TemporaryFolder state;
    const fs::path file = state.Journals() / "newer.journal";
    fs::create_directories(state.Journals());
    SaveGame(file, 4, "0190");
    std::string bytes = ReadFile(file);
    bytes.replace(0, bytes.find('\n'), std::string(journal::FormatName) + " 2");
    WriteFile(file, bytes);

    for (const std::vector<std::string>& arguments : {std::vector<std::string>{"--continue", file.string()},
                                                      std::vector<std::string>{"--continue"},
                                                      std::vector<std::string>{"--replay", file.string()}}) {
        const PipedResult refused = Continue(arguments, state);
        EXPECT_TRUE(ExitedWith(refused.status, 1)) << arguments.front();
        EXPECT_NE(refused.errors.find(file.string()), std::string::npos) << refused.errors;
        EXPECT_NE(refused.errors.find("format 2"), std::string::npos) << refused.errors;
        EXPECT_NE(refused.errors.find("newer version"), std::string::npos) << refused.errors;
        EXPECT_EQ(refused.output, "") << "a game was shown";
        EXPECT_EQ(ReadFile(file), bytes) << "the journal was changed";
    }
}

// FreePlay, then a look at the people at a place (they are made from the
// seed), back home and some training.
const std::string MeetingKeys = "0" "24" "0" "190";

// The 1-based number of the journal's n-th home menu.
std::size_t HomeMenuRecord(const journal::Contents& contents, int n) {
    for (std::size_t k = 0; k < contents.records.size(); ++k) {
        if (contents.records[k].kind == journal::Record::Kind::Checkpoint && --n == 0) return k + 1;
    }
    return 0;
}

TEST(JournalFaults, AJournalWithAnEditedSeedIsRefusedNamingTheFileAndTheRecord) {
    TemporaryFolder state;
    const fs::path file = state.Path() / "edited.journal";
    SaveGame(file, 4, MeetingKeys);
    std::string bytes = ReadFile(file);
    bytes.replace(bytes.find("\nseed 4\n"), 8, "\nseed 7\n");
    WriteFile(file, bytes);
    const journal::Contents contents = journal::Parse(bytes);

    for (const char* option : {"--continue", "--replay"}) {
        const PipedResult refused = Continue({option, file.string()}, state);
        EXPECT_TRUE(ExitedWith(refused.status, 1)) << option;
        // The first home menu shows nothing made from the seed; the people
        // seen before the second one are others, so the replay is stopped
        // after the first home menu and by the second at the latest.
        const std::size_t named = NamedRecord(refused.errors, file, contents);
        EXPECT_GT(named, HomeMenuRecord(contents, 1)) << refused.errors;
        EXPECT_LE(named, HomeMenuRecord(contents, 2)) << refused.errors;
        EXPECT_EQ(ReadFile(file), bytes) << "the journal was changed";
    }
}

TEST(JournalFaults, AJournalWithAnEditedKeyIsRefusedNamingTheFileAndTheRecord) {
    TemporaryFolder state;
    const fs::path file = state.Path() / "edited.journal";
    SaveGame(file, 4, "0" "19520" "30");
    std::string bytes = ReadFile(file);
    const journal::Contents original = journal::Parse(bytes);
    // The fourth key trains intelligence (5); make it train sex appeal (3).
    std::size_t edited = 0;
    int keys = 0;
    for (std::size_t k = 0; k < original.records.size() && keys < 4; ++k) {
        if (original.records[k].kind == journal::Record::Kind::Key && ++keys == 4) edited = k;
    }
    ASSERT_EQ(original.records[edited].code, '5');
    bytes[original.offsets[edited]] = '3';
    WriteFile(file, bytes);
    const journal::Contents contents = journal::Parse(bytes);
    std::size_t nextHomeMenu = edited;
    while (contents.records[nextHomeMenu].kind != journal::Record::Kind::Checkpoint) ++nextHomeMenu;

    for (const char* option : {"--continue", "--replay"}) {
        const PipedResult refused = Continue({option, file.string()}, state);
        EXPECT_TRUE(ExitedWith(refused.status, 1)) << option;
        const std::size_t record = NamedRecord(refused.errors, file, contents);
        EXPECT_GT(record, edited) << refused.errors;
        EXPECT_LE(record, nextHomeMenu + 1) << refused.errors;
        EXPECT_EQ(ReadFile(file), bytes) << "the journal was changed";
    }
}

TEST(JournalFaults, NothingToContinueIsSaidWithStatusOne) {
    TemporaryFolder state;
    const PipedResult noFolder = Continue({"--continue"}, state);
    EXPECT_TRUE(ExitedWith(noFolder.status, 1));
    EXPECT_NE(noFolder.errors.find("no unfinished game to continue"), std::string::npos) << noFolder.errors;

    // Finished games only: one that reached its ending.
    fs::create_directories(state.Journals());
    SaveGame(state.Journals() / "finished.journal", 4, "050");
    const PipedResult onlyFinished = Continue({"--continue"}, state);
    EXPECT_TRUE(ExitedWith(onlyFinished.status, 1));
    EXPECT_NE(onlyFinished.errors.find("no unfinished game to continue"), std::string::npos) << onlyFinished.errors;
    EXPECT_EQ(onlyFinished.output, "");
}

// A crash between making a journal and writing its first line leaves an
// empty file; --continue goes on with the game before it.
TEST(JournalFaults, AnEmptyJournalLeftByACrashIsPassedOver) {
    TemporaryFolder state;
    fs::create_directories(state.Journals());
    const fs::path earlier = state.Journals() / "earlier.journal";
    SaveGame(earlier, 4, "019");
    const fs::path empty = state.Journals() / "later.journal";
    WriteFile(empty, "");
    fs::last_write_time(empty, fs::last_write_time(earlier) + std::chrono::seconds(5));

    const PipedResult continued = Continue({"--continue"}, state);
    EXPECT_TRUE(ExitedWith(continued.status, 0)) << continued.errors;
    EXPECT_NE(continued.output.find("9 - Train power"), std::string::npos) << continued.output;
}

// A name line keeps what a terminal's line keeps (4095 characters), from a
// pipe too, even one a megabyte long; its journal must replay.
TEST(JournalFaults, ANameOverAMegabyteIsCutAsATerminalCutsItAndItsJournalReplays) {
    TemporaryFolder state;
    const fs::path file = state.Path() / "long-name.journal";
    const std::string first((1 << 20) + 100, 'A');
    SaveGame(file, 4, "111" + first + "\nLee\n" "01" "19");
    const journal::Contents contents = journal::Parse(ReadFile(file));
    ASSERT_GE(contents.records.size(), 5u);
    EXPECT_EQ(contents.records[3].text, first.substr(0, 4095));
    EXPECT_EQ(contents.records[4].text, "Lee");

    const fs::path cast = state.Path() / "long-name.cast";
    const PipedResult replayed = Continue({"--replay", file.string(), "--cast", cast.string()}, state);
    EXPECT_TRUE(ExitedWith(replayed.status, 0)) << replayed.errors;
    EXPECT_NE(ReadFile(cast).find("9 - Train power"), std::string::npos);
}

}  // namespace
}  // namespace tg::e2e
