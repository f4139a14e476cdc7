// The kept games by number: the most recently played first, whatever their
// names or start times; and the list when there are none.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "journal/games_list.hpp"
#include "shell/play_game.hpp"

namespace tg::journal {
namespace {

namespace fs = std::filesystem;

class StateHome {
public:
    StateHome()
        : path_(fs::temp_directory_path() /
                ("games-list-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "-" +
                 std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()))) {
        fs::create_directories(path_ / "tender-gamble");
    }
    ~StateHome() { fs::remove_all(path_); }

    // A journal last written `minutesAgo` minutes ago.
    void Keep(const std::string& name, int minutesAgo) const {
        const fs::path file = path_ / "tender-gamble" / name;
        std::ofstream(file) << "tender-gamble journal 1\n";
        fs::last_write_time(file, fs::file_time_type::clock::now() - std::chrono::minutes(minutesAgo));
    }
    Environment Variables() const {
        return [this](const char* name) { return std::string(name) == "XDG_STATE_HOME" ? path_.c_str() : nullptr; };
    }
    fs::path Journal(const std::string& name) const { return path_ / "tender-gamble" / name; }

private:
    fs::path path_;
};

TEST(GamesList, ANumberCountsFromTheMostRecentlyPlayed) {
    StateHome home;
    home.Keep("2020-01-01T00-00-00Z-seed-1.journal", 1);  // started first, played last
    home.Keep("2024-01-01T00-00-00Z-seed-2.journal", 60);
    const struct {
        std::string argument;
        std::optional<std::string> journal;
    } cases[] = {
        {"1", home.Journal("2020-01-01T00-00-00Z-seed-1.journal").string()},
        {"2", home.Journal("2024-01-01T00-00-00Z-seed-2.journal").string()},
        {"3", std::nullopt},
        {"0", std::nullopt},
        {"game.journal", "game.journal"},
        {"./2", "./2"},
    };
    for (const auto& [argument, journal] : cases) {
        std::string why;
        EXPECT_EQ(JournalNamed(argument, home.Variables(), why), journal) << argument;
        if (!journal) {
            EXPECT_NE(why.find("no game " + argument), std::string::npos) << why;
        }
    }
}

TEST(GamesList, NoGamesSaysSoAndHowToStartOne) {
    StateHome home;
    const GameRunner run = [](Platform& platform, std::uint32_t seed, GameEvents* events) {
        return PlayGame(platform, seed, events);
    };
    const std::string list = GamesList(run, home.Variables());
    EXPECT_EQ(std::count(list.begin(), list.end(), '\n'), 1) << list;
    EXPECT_NE(list.find("No games"), std::string::npos) << list;
    EXPECT_NE(list.find("'tender-gamble'"), std::string::npos) << list;
}

}  // namespace
}  // namespace tg::journal
