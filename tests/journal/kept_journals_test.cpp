// Journals written by earlier versions of the game, kept as they were made:
// each must replay as the game it records, and go on as it would have,
// whatever state it was left in.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include <unistd.h>

#include "program/file_store.hpp"
#include "journal/replay_pace.hpp"
#include "journal/sessions.hpp"
#include "shell/play_game.hpp"
#include "support/scripted_terminal.hpp"

namespace tg::journal {
namespace {

namespace fs = std::filesystem;

const GameRunner PlayIt = [](Platform& platform, std::uint32_t seed, GameEvents* events, InputJournal* journal) {
    return PlayGame(platform, seed, events, journal);
};

// A kept journal: the seed and keys it was played with, and the keys its
// game has once continued (a Quit or an Escape that left it is taken back);
// nothing for a game that is over.
struct KeptJournal {
    const char* file;
    std::uint32_t seed;
    std::string played;
    std::optional<std::string> goesOnFrom;
};

const KeptJournal Kept[] = {
    {"trophy_named_killed.journal", 7, "121Ann Lee\n01213", "121Ann Lee\n01213"},
    {"trophy_cp437.journal", 7, "121Ann Lee\n01213", "121Ann Lee\n01213"},  // as a Windows console writes it
    {"ascii_border_random_name.journal", 14, "122r\n02", "122r\n02"},
    {"name_cut_off.journal", 16, "121Ann", "121Ann\n"},  // killed between the two words
    {"arrows_and_bad_keys.journal", 15, "0\x1b[Ax\x1bOP2\x1b[5~0", "0\x1b[Ax\x1bOP2\x1b[5~0"},
    {"freeplay_quit.journal", 11, "021x01041100", "021x0104110"},
    {"escaped.journal", 12, "02x\x1b", "02x"},
    {"continued_once.journal", 17, "021230", "021230"},
    {"quit_then_continued.journal", 18, "01021", "01021"},
    {"reunion_lost.journal", 13, "05", std::nullopt},
};

std::string LastScreenOfANewGame(std::uint32_t seed, const std::string& keys) {
    ScriptedTerminal terminal(keys);
    (void)PlayGame(terminal, seed);
    return terminal.Screen();
}

TEST(KeptJournals, ReplayAndGoOnAsTheGamesTheyRecord) {
    const fs::path folder = fs::temp_directory_path() / ("tender-gamble-kept-" + std::to_string(getpid()));
    fs::create_directories(folder);
    for (const KeptJournal& kept : Kept) {
        const fs::path original = fs::path(TENDER_TEST_DATA) / kept.file;
        FileStore watched(original.string());
        ScriptedTerminal screen;
        const SessionEnd replayed =
            WatchReplay(PlayIt, [&] { return std::make_unique<LentTerminal>(screen); }, watched, FastestSpeed);
        EXPECT_FALSE(replayed.fault) << kept.file;
        EXPECT_EQ(screen.Screen(), LastScreenOfANewGame(kept.seed, kept.played)) << kept.file;

        const fs::path copy = folder / kept.file;
        fs::copy_file(original, copy, fs::copy_options::overwrite_existing);
        FileStore goneOn(copy.string());
        ScriptedTerminal terminal("1");
        const SessionEnd continued =
            ContinueGame(PlayIt, [&] { return std::make_unique<LentTerminal>(terminal); }, goneOn);
        if (!kept.goesOnFrom) {
            EXPECT_EQ(continued.status, CouldNotPlay) << kept.file;
            continue;
        }
        EXPECT_FALSE(continued.fault) << kept.file;
        EXPECT_EQ(terminal.Screen(), LastScreenOfANewGame(kept.seed, *kept.goesOnFrom + "1")) << kept.file;
    }
    fs::remove_all(folder);
}

}  // namespace
}  // namespace tg::journal
