// Games kept in journals, played in a pseudo-terminal: two at once, a game
// left with Quit and continued, a replay stopped by the viewer, the list of
// kept games and a game chosen from it.

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <sched.h>
#include <sys/mount.h>
#include <sstream>
#include <thread>
#include <string>
#include <vector>

#include "child_environment.hpp"
#include "journal/journal_format.hpp"
#include "journal_on_disk.hpp"
#include "piped_game.hpp"
#include "pty_game.hpp"
#include "screen_checks.hpp"
#include "screen_snapshot.hpp"
#include "script_finder.hpp"

namespace tg::e2e {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool Sanitized = true;
#else
constexpr bool Sanitized = false;
#endif

namespace fs = std::filesystem;

constexpr int Rows = 25;
constexpr int Columns = 80;

std::vector<std::string> Records(const fs::path& file) { return RecordsWithoutTiming(journal::Parse(ReadFile(file))); }

// A journal of keys played through pipes, where nights pass without pauses.
fs::path SaveGame(const TemporaryFolder& state, const std::string& name, const std::string& keys) {
    fs::create_directories(state.Journals());
    const fs::path file = state.Journals() / name;
    const PipedResult played = RunPiped({"--seed", "4", "--save", file.string()}, keys);
    EXPECT_TRUE(ExitedWith(played.status, 0)) << played.errors;
    return file;
}

TEST(JournalSessions, TwoGamesAtOnceEachKeepTheirOwnJournal) {
    TemporaryFolder state;
    PtyGame first(SpawnOptions{{"--seed", "9"}, {state.StateHome()}});
    PtyGame second(SpawnOptions{{"--seed", "9"}, {state.StateHome()}});
    ASSERT_TRUE(first.WaitForText("0 - FreePlay Mode"));
    ASSERT_TRUE(second.WaitForText("0 - FreePlay Mode"));
    first.Type("1");
    ASSERT_TRUE(first.WaitForText("1 - Female")) << first.ScreenText();
    second.Type("x");
    ASSERT_TRUE(second.WaitForText("Bad Input")) << second.ScreenText();

    const std::vector<fs::path> journals = JournalsIn(state.Journals());
    ASSERT_EQ(journals.size(), 2u);
    const bool firstIsFirst = Records(journals[0]).front() == "key 49 1";
    const fs::path firstJournal = journals[firstIsFirst ? 0 : 1];
    const fs::path secondJournal = journals[firstIsFirst ? 1 : 0];
    EXPECT_EQ(Records(firstJournal), std::vector<std::string>{"key 49 1"});
    EXPECT_EQ(Records(secondJournal), std::vector<std::string>{"key 120 x"});

    // While both play, neither journal is there to continue.
    const std::string secondBytes = ReadFile(secondJournal);
    for (const std::vector<std::string>& arguments : {std::vector<std::string>{"--continue"},
                                                      std::vector<std::string>{"--continue", secondJournal.string()}}) {
        const PipedResult refused = RunPiped(arguments, "", std::chrono::milliseconds(10'000), {state.StateHome()});
        EXPECT_TRUE(ExitedWith(refused.status, 1)) << refused.errors;
        EXPECT_EQ(refused.output, "");
        EXPECT_EQ(ReadFile(secondJournal), secondBytes);
    }

    // The first dies; the second, written last, plays on.
    first.Signal(SIGKILL);
    ASSERT_TRUE(KilledBy(first.WaitForExit(), SIGKILL));
    second.Type("0");
    ASSERT_TRUE(second.WaitForText("Sleeping...")) << second.ScreenText();
    PtyGame continued(SpawnOptions{{"--continue"}, {state.StateHome()}});
    ASSERT_TRUE(continued.WaitForText("1 - Female")) << continued.ScreenText();
    continued.Type("2");
    ASSERT_TRUE(continued.WaitForText("2 - Males")) << continued.ScreenText();
    EXPECT_EQ(Records(firstJournal), (std::vector<std::string>{"key 49 1", "key 50 2"}));
    EXPECT_EQ(Records(secondJournal), (std::vector<std::string>{"key 120 x", "key 48 0"}));
}

// Quit, however often, goes back to the home menu it was pressed at.
TEST(JournalSessions, QuitThenContinueResumesAtTheHomeMenu) {
    TemporaryFolder state;
    // The same game twice: once left at the home menu by the end of its
    // input, once by Quit.
    const fs::path left = SaveGame(state, "left.journal", "0190");
    const fs::path quit = SaveGame(state, "quit.journal", "0190" "0");
    PtyGame expected(SpawnOptions{{"--continue", left.string()}, {state.StateHome()}, Rows, Columns});
    ASSERT_TRUE(expected.WaitForText("0 - Quit")) << expected.ScreenText();
    ASSERT_TRUE(expected.WaitUntilReading());
    const ScreenSnapshot homeMenu = Snapshot(expected, Rows, Columns);

    for (int time = 1; time <= 2; ++time) {
        PtyGame continued(SpawnOptions{{"--continue"}, {state.StateHome()}, Rows, Columns});
        ASSERT_TRUE(continued.WaitForText("0 - Quit")) << continued.ScreenText();
        ASSERT_TRUE(continued.WaitUntilReading());
        EXPECT_TRUE(SameScreen(Snapshot(continued, Rows, Columns), homeMenu)) << "continued " << time << " times";
        continued.Type(time == 1 ? "0" : "1");
        if (time == 1) {
            EXPECT_TRUE(ExitedWith(continued.WaitForExit(), 0));
            ExpectTerminalRestored(continued);
        } else {
            EXPECT_TRUE(continued.WaitForText("9 - Train power")) << continued.ScreenText();
        }
    }
    const std::vector<std::string> records = Records(quit);
    ASSERT_GE(records.size(), 5u);
    EXPECT_EQ(std::vector<std::string>(records.end() - 5, records.end()),
              (std::vector<std::string>{"key 48 0", "take back", "key 48 0", "take back", "key 49 1"}));
}

// At every key the game writes once to the terminal (at the prompt that
// follows) and once to the journal (the key, before its effect), home
// menus included.
TEST(JournalSessions, EveryKeyTakesOneJournalWriteAndOneTerminalWrite) {
    TemporaryFolder state;
    const fs::path file = SaveGame(state, "home.journal", "0");
    PtyGame game(SpawnOptions{{"--continue", file.string()}, {state.StateHome()}});
    ASSERT_TRUE(game.WaitUntilReading()) << game.ScreenText();
    // Training and back home, a bad key, an empty book and back home.
    const std::string typed = "190" "10" "x" "30";
    for (std::size_t k = 0; k < typed.size(); ++k) {
        const std::optional<long long> before = game.WriteCalls();
        game.Type(typed.substr(k, 1));
        ASSERT_TRUE(game.WaitUntilReading()) << game.ScreenText();
        const std::optional<long long> after = game.WriteCalls();
        ASSERT_TRUE(before && after);
        // UndefinedBehaviorSanitizer checks each new pair of static and
        // dynamic type once, reading the vtable through a pipe of its own:
        // in a sanitized build the first key after going live counts those
        // writes too.
        if (k == 0 && Sanitized) continue;
        EXPECT_EQ(*after - *before, 2) << "writes for the key " << typed[k];
    }
    // Every key is there; the home menu the game waits at now goes out
    // with the next key.
    int keys = 0, homeMenus = 0;
    for (const std::string& record : Records(file)) {
        keys += record.rfind("key ", 0) == 0;
        homeMenus += record.rfind("home menu ", 0) == 0;
    }
    EXPECT_EQ(keys, 9);
    EXPECT_EQ(homeMenus, 3);
}

// The banner's border is drawn in what the terminal can show; a game goes
// on, and is cast, whatever the terminal it was started on.
class OtherTerminal : public ::testing::TestWithParam<std::pair<const char*, const char*>> {};

TEST_P(OtherTerminal, ContinuesAndCastsTheGame) {
    const auto [startedIn, continuedIn] = GetParam();
    TemporaryFolder state;
    const fs::path file = state.Path() / "game.journal";
    const PipedResult played = RunPiped({"--seed", "4", "--save", file.string()}, "0190",
                                        std::chrono::milliseconds(10'000), {std::string("LANG=") + startedIn});
    ASSERT_TRUE(ExitedWith(played.status, 0)) << played.errors;
    const std::vector<std::string> there = {state.StateHome(), std::string("LANG=") + continuedIn};
    const PipedResult continued = RunPiped({"--continue", file.string()}, "", std::chrono::milliseconds(10'000), there);
    EXPECT_TRUE(ExitedWith(continued.status, 0)) << continued.errors;
    EXPECT_NE(continued.output.find("What would you like to do?"), std::string::npos) << continued.output;
    const fs::path cast = state.Path() / "game.cast";
    const PipedResult casting = RunPiped({"--replay", file.string(), "--cast", cast.string()}, "",
                                       std::chrono::milliseconds(10'000), there);
    EXPECT_TRUE(ExitedWith(casting.status, 0)) << casting.errors;
}

INSTANTIATE_TEST_SUITE_P(JournalSessions, OtherTerminal,
                         ::testing::Values(std::pair{"C", "C.UTF-8"}, std::pair{"C.UTF-8", "C"}),
                         [](const auto& info) {
                             return std::string(info.param.first[1] ? "FromUtf8ToPlain" : "FromPlainToUtf8");
                         });

// The line of the --games list numbered `number`, or "" when there is none.
std::string ListedLine(const std::string& list, int number) {
    std::istringstream lines(list);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind(std::to_string(number) + "  ", 0) == 0) return line;
    }
    return "";
}

TEST(JournalSessions, GamesListsEveryKeptGameAndContinueTakesItsNumber) {
    TemporaryFolder state;
    const std::vector<std::string> there = {state.StateHome()};
    const auto games = [&] { return RunPiped({"--games"}, "", std::chrono::milliseconds(10'000), there); };
    const std::string none = games().output;
    const bool saysHowToStart = none.find("'" + GameBinary() + "'") != std::string::npos;
    EXPECT_TRUE(std::count(none.begin(), none.end(), '\n') == 1 && saysHowToStart)
        << "one line, and how to start a game: " << none;
    PtyGame playing(SpawnOptions{{"--seed", "9"}, there});
    ASSERT_TRUE(playing.WaitForText("0 - FreePlay Mode"));
    playing.Type("0");
    ASSERT_TRUE(playing.WaitForText("0 - Quit")) << playing.ScreenText();
    const PipedResult allOpen = RunPiped({"--continue"}, "", std::chrono::milliseconds(10'000), there);
    EXPECT_TRUE(ExitedWith(allOpen.status, 1));
    EXPECT_NE(allOpen.errors.find("another window"), std::string::npos) << allOpen.errors;
    EXPECT_NE(ListedLine(games().output, 1).find("in another window"), std::string::npos);
    playing.Signal(SIGKILL);
    ASSERT_TRUE(KilledBy(playing.WaitForExit(), SIGKILL));

    // Then, in this order: a game left with Quit, one won, a damaged journal,
    // each written a clock tick of the file system after the one before.
    const auto nextTick = [] { std::this_thread::sleep_for(std::chrono::milliseconds(50)); };
    SaveGame(state, "quit.journal", "0190" "0");
    nextTick();
    const std::optional<Script> won = FindSuccessScript();
    ASSERT_TRUE(won);
    const fs::path wonJournal = state.Journals() / "won.journal";
    const PipedResult winning =
        RunPiped({"--seed", std::to_string(won->seed), "--save", wonJournal.string()}, won->keys);
    ASSERT_TRUE(ExitedWith(winning.status, 0)) << winning.errors;
    const std::string damaged = "tender-gamble journal 1\ngame 1.0.0\nseed 4\n\n\xff";
    nextTick();
    WriteFile(state.Journals() / "damaged.journal", damaged);

    const PipedResult list = games();
    ASSERT_TRUE(ExitedWith(list.status, 0)) << list.errors;
    const std::pair<int, const char*> standings[] = {
        {1, "damaged"}, {2, "reunion won"}, {3, "left: Quit"}, {4, "unfinished"}};
    for (const auto& [number, standing] : standings) {
        EXPECT_NE(ListedLine(list.output, number).find(standing), std::string::npos) << standing << " in\n"
                                                                                     << list.output;
    }
    EXPECT_NE(ListedLine(list.output, 4).find("FreePlay"), std::string::npos) << list.output;
    EXPECT_EQ(ReadFile(state.Journals() / "damaged.journal"), damaged);

    PtyGame continued(SpawnOptions{{"--continue", "3"}, there});
    ASSERT_TRUE(continued.WaitForText("0 - Quit")) << continued.ScreenText();
    EXPECT_NE(ListedLine(games().output, 1).find("in another window"), std::string::npos)
        << "continuing makes it the most recently played";
    const PipedResult notListed = RunPiped({"--replay", "5"}, "", std::chrono::milliseconds(10'000), there);
    EXPECT_TRUE(ExitedWith(notListed.status, 1));
    EXPECT_NE(notListed.errors.find("no game 5"), std::string::npos) << notListed.errors;
}

// A folder on a read-only file system that only this test and the games it
// starts see; nothing where the system lets no test mount one.
std::optional<fs::path> ReadOnlyFolder(const fs::path& folder) {
    fs::create_directories(folder);
    if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        mount("tmpfs", folder.c_str(), "tmpfs", MS_RDONLY, nullptr) != 0) return std::nullopt;
    return folder;
}

// The list has one line a game in 80 columns however long a name; the hints
// name the command the game was started with; the state folder's warning
// says why it cannot be used. Each row's texts are shown on one screen row.
TEST(JournalSessions, WhatThePlayerReadsFitsTheTerminalAndNamesWhatIsTrue) {
    TemporaryFolder state;
    SaveGame(state, "long.journal", "111" "Bartholomew-Maximilian Featherstonehaughington-Smythe\n" "01");
    WriteFile(state.Journals() / "tender-gamble", "");
    const std::optional<fs::path> readOnly = ReadOnlyFolder(state.Path() / "read-only");
    struct Case { std::vector<std::string> arguments; fs::path home; int columns; std::vector<std::string> shown; };
    const std::vector<Case> cases = {
        {{"--games"}, state.Path(), Columns, {"\u2026", "unfinished"}},
        {{"--games"}, state.Path(), 200, {"game N: " + GameBinary() + " --continue N"}},
        {{"--seed", "5"}, state.Path() / "new", 200, {"to go on with it: " + GameBinary() + " --continue"}},
        {{"--seed", "5"}, state.Journals(), 200, {"is not a folder"}},
        {{"--seed", "5"}, readOnly.value_or(""), 200, {"Read-only file system"}}};
    for (const Case& row : cases) {
        if (row.home.empty()) continue;  // no read-only file system here
        PtyGame game(SpawnOptions{row.arguments, {"XDG_STATE_HOME=" + row.home.string()}, Rows, row.columns});
        std::string screens;  // each screen the game waits at, then the one it leaves
        for (const char key : std::string(" x\x1b")) {
            game.WaitUntilReading();
            screens += game.ScreenText() + "\n";
            game.Type(std::string(1, key));
        }
        EXPECT_TRUE(ExitedWith(game.WaitForExit(), 0));
        std::istringstream rows(screens + game.ScreenText());
        std::string shows;
        while (std::getline(rows, shows) && !std::all_of(row.shown.begin(), row.shown.end(), [&](const auto& text) {
                   return shows.find(text) != std::string::npos;
               })) {}
        EXPECT_FALSE(rows.fail()) << row.shown.front() << " in\n" << screens << game.ScreenText();
    }
    if (readOnly) umount2(readOnly->c_str(), MNT_DETACH);
}

class ReplayStop : public ::testing::TestWithParam<const char*> {};

// A replay of a FreePlay game is stopped in the sleeping pause of its
// first night.
TEST_P(ReplayStop, EndsTheReplayAtOnceAndRestoresTheTerminal) {
    TemporaryFolder state;
    const fs::path file = SaveGame(state, "watched.journal", "0190");
    PtyGame replay(SpawnOptions{{"--replay", file.string()}, {state.StateHome()}});
    ASSERT_TRUE(replay.WaitForText("Sleeping...")) << replay.ScreenText();
    replay.Type(GetParam());
    EXPECT_TRUE(ExitedWith(replay.WaitForExit(std::chrono::milliseconds(1000)), 0));
    EXPECT_EQ(replay.ScreenText().find("What would you like to do?"), std::string::npos) << replay.ScreenText();
    ExpectTerminalRestored(replay);
}

INSTANTIATE_TEST_SUITE_P(JournalSessions, ReplayStop, ::testing::Values("q", "\x1b"),
                         [](const auto& info) { return std::string(info.param[0] == 'q' ? "Q" : "Escape"); });

}  // namespace
}  // namespace tg::e2e
