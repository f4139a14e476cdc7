#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "console/console.hpp"
#include "terminal/scripted_terminal.hpp"
#include "journal/game_sessions.hpp"
#include "journal/journal_file.hpp"
#include "journal/journal_format.hpp"
#include "journal/recording_platform.hpp"
#include "shell/game.hpp"
#include "support/game_watch.hpp"

namespace tg::journal {
namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t Seed = 7;
// FreePlay: out to Marmy's Pub, a conversation, a bad key, home, training.
const std::string Keys = "0241" "3333" "9" "3333333333" "0" "1" "1" "0" "0" "2" "0";

const GameRunner RunGame = [](Platform& platform, std::uint32_t seed) {
    Random random(seed);
    Console console(platform);
    Game game(console, random);
    game.StartGame();
};

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

struct ContinuedGame : ::testing::Test {
    fs::path folder = fs::temp_directory_path() /
                      ("tender-gamble-continue-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    fs::path path = folder / "game.journal";
    const Environment noHome = [](const char*) -> const char* { return nullptr; };

    void SetUp() override {
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    // Plays the keys with a journal; the game ends where the keys run out,
    // as if the terminal had been closed at that prompt.
    std::string PlayRecorded(const std::string& keys) {
        std::string error;
        std::optional<JournalFile> file = fs::exists(path) ? JournalFile::Reopen(path.string(), fs::file_size(path), error)
                                                           : JournalFile::Create(path.string(), error);
        EXPECT_TRUE(file) << error;
        if (fs::file_size(path) == 0) {
            Header header;
            header.gameVersion = "test";
            header.seed = Seed;
            file->Append(EncodeHeader(header));
        }
        ScriptedTerminal terminal(keys);
        RecordingPlatform recorder(terminal, *file);
        try {
            RunGame(recorder, Seed);
        } catch (const ProgramEnded&) {
        }
        return terminal.Transcript();
    }

    // Continues the journal with more keys; the transcript of the terminal
    // it continued on, or the exit status when it could not continue.
    std::string Continue(const std::string& keys, int* status = nullptr) {
        ScriptedTerminal terminal(keys);
        const TerminalOpener open = [&] { return std::make_unique<watch::WatchedTerminal>(terminal); };
        std::string transcript;
        try {
            const int refused = ContinueGame(RunGame, open, path.string(), noHome);
            if (status) *status = refused;
        } catch (const ProgramEnded& ended) {
            if (status) *status = ended.status;
            transcript = terminal.Transcript();
        }
        return transcript;
    }
};

std::string ScreenAtTheEnd(const std::string& transcript) { return transcript.substr(transcript.rfind('\f')); }

TEST_F(ContinuedGame, ShowsTheLastScreenThenPlaysOnAsIfNeverStopped) {
    ScriptedTerminal uninterrupted(Keys);
    try {
        RunGame(uninterrupted, Seed);
    } catch (const ProgramEnded&) {
    }
    for (const std::size_t cut : {std::size_t{1}, std::size_t{5}, std::size_t{9}, std::size_t{20}, Keys.size() - 1}) {
        fs::remove(path);
        const std::string before = PlayRecorded(Keys.substr(0, cut));
        const std::string after = Continue(Keys.substr(cut));
        ASSERT_EQ(uninterrupted.Transcript().substr(0, before.size()), before) << cut;
        EXPECT_EQ(after, ScreenAtTheEnd(before) + uninterrupted.Transcript().substr(before.size())) << cut;
    }
}

TEST_F(ContinuedGame, QuitAndEscapeAreTakenBackAndTheGameGoesOnFromThatPrompt) {
    // Quit at the first home menu; continued, the menu is back, still
    // without the key that quit, and going out works.
    const std::string home = ScreenAtTheEnd(PlayRecorded("00"));
    int status = -1;
    const std::string afterQuit = Continue("2x\x1b", &status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(afterQuit.substr(0, home.size()), home.substr(0, home.size() - 1) + "2");
    // Escape after a bad key at the place menu: continued, the bad key's
    // line is back and the menu still waits.
    const std::string badKey = "x\nBad Input (0-6):72\n";
    EXPECT_EQ(afterQuit.substr(afterQuit.size() - badKey.size() - 2), badKey + "^[");  // Escape echoes as ^[
    const std::string afterEscape = Continue("x");
    EXPECT_EQ(afterEscape.substr(afterEscape.size() - 2 * badKey.size()), badKey + badKey);
    int takenBack = 0;
    for (const Record& record : Parse(ReadFile(path)).records) takenBack += record.kind == Record::Kind::TakeBack;
    EXPECT_EQ(takenBack, 2);
}

TEST_F(ContinuedGame, AJournalThatPlaysAnotherGameIsRefusedAndLeftAsItWas) {
    PlayRecorded(Keys.substr(0, 12));
    const std::string original = ReadFile(path);
    const auto refused = [&](const std::string& bytes) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
        int status = -1;
        Continue("0", &status);
        EXPECT_EQ(ReadFile(path), bytes);
        return status;
    };
    std::string otherSeed = original;
    otherSeed.replace(otherSeed.find("seed 7"), 6, "seed 8");
    EXPECT_EQ(refused(otherSeed), 1);
    // The key that went out to Marmy's Pub becomes the University.
    const Contents contents = Parse(original);
    ASSERT_EQ(contents.records[3].code, '4');
    std::string otherKey = original;
    otherKey[contents.offsets[3]] = '2';
    EXPECT_EQ(refused(otherKey), 1);
    EXPECT_EQ(refused(original + EncodeRecord(Record{Record::Kind::Ending, 0, {}, 0, 0})), 1);
}

}  // namespace
}  // namespace tg::journal
