// Long runs of random keys through whole games, game after game, with the
// game's rules checked before every key. The keys are drawn for the prompt
// on screen, so that games go deep (people met, numbers given, calls and
// dates) instead of ending at the first stray 0 on the home menu.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "console/game_events.hpp"
#include "people/random.hpp"
#include "shell/game.hpp"
#include "shell/play_game.hpp"
#include "support/game_watch.hpp"
#include "support/scripted_terminal.hpp"

namespace tg {
namespace {

using watch::InvariantChecker;
using watch::WatchedTerminal;

constexpr int KeysPerMode = 200'000;

// Draws keys the way a restless player would: mostly the menu's own keys,
// now and then anything at all.
class RandomPlayer {
public:
    RandomPlayer(std::uint32_t seed, int playMode) : random_(seed), playMode_(playMode) {}

    // The bytes of the next key for the prompt that the screen ends with.
    std::string NextKey(const WatchedTerminal& screen) {
        if (screen.TailEndsWith("\t0 - FreePlay Mode\n")) return PlayModeKey();
        if (screen.TailEndsWith("\t\t0 - Quit\n")) return HomeMenuKey();
        if (screen.TailEndsWith("\t\t0 - Return Home\n")) return Weighted(85, '1', '8', 10);
        if (screen.TailEndsWith("embarassing.\n")) return PlayersMoveKey();
        if (screen.TailEndsWith("from the conversation\n")) return OpinionKey();
        if (screen.TailEndsWith("\t\t0 - Forget Calling...\n")) return BookKey(screen.Tail());
        if (screen.TailEndsWith("\t\t0 - Accept Character\n")) return Weighted(75, '1', '2', 20);
        if (screen.TailEndsWith("\t\t0 - Back") && screen.Tail().find("\tTraining\n") != std::string::npos) {
            return TrainingKey();
        }
        return Weighted(80, '1', '9', 12);
    }

    // A line for name entry: a first and last name, one word, or r.
    std::string NameLine() {
        switch (random_.Below(5)) {
            case 0: return "r\n";
            case 1: return "Ann\n";
            case 2: return "  Kim   Cho  and more\n";
            case 3: return "R\n";
            default: return "Tad Lee\n";
        }
    }

    int Below(int n) { return random_.Below(n); }

private:
    // inMenu percent: a digit from first to last; zero percent: '0'; the
    // rest: anything else (stray bytes, escape sequences, a lone Escape).
    std::string Weighted(int inMenu, char first, char last, int zero) {
        const int roll = random_.Below(100);
        if (roll < inMenu) return std::string(1, static_cast<char>(first + random_.Below(last - first + 1)));
        if (roll < inMenu + zero) return "0";
        return Noise();
    }

    std::string Noise() {
        switch (random_.Below(12)) {
            case 0: return "\x1b[A";      // arrow key: two key codes
            case 1: return "\x1b[15~";    // F5: prefix 0 and a scan code
            case 2: return "\x1bOP";      // F1
            case 3: return ":";           // 10: the tenth book slot
            case 4: return "\n";
            case 5: return random_.Below(4) == 0 ? "\x1b" : "7";  // Escape after a bad key ends the game
            default: {
                char byte = static_cast<char>(random_.Below(256));
                if (byte == '\x1b') byte = 'x';
                return std::string(1, byte);
            }
        }
    }

    std::string PlayModeKey() {
        if (random_.Below(20) == 0) return Noise();
        if (playMode_ == mode::FreePlay) return "0";
        return random_.Below(2) == 0 ? "1" : "2";
    }

    // Going out most of the time; the game ends now and then through
    // Satisfaction or Quit, so that many games are played.
    std::string HomeMenuKey() {
        const int roll = random_.Below(1000);
        if (roll < 4) return "5";
        if (roll < 8) return "0";
        if (roll < 40) return Noise();
        if (roll < 500) return "2";
        if (roll < 650) return "1";
        if (roll < 850) return "3";
        return "4";
    }

    // Mostly someone the list shows (the right stage for a call or a date),
    // sometimes any slot number.
    std::string BookKey(const std::string& tail) {
        std::vector<std::string> listed;
        const std::size_t menuStart = tail.rfind(" <key>");
        for (std::size_t at = tail.find("\t\t", menuStart); at != std::string::npos; at = tail.find("\t\t", at + 2)) {
            int slot = 0;
            std::size_t end = at + 2;
            while (end < tail.size() && tail[end] >= '0' && tail[end] <= '9') slot = slot * 10 + (tail[end++] - '0');
            if (slot >= 1 && slot <= BookSize && tail.compare(end, 3, " - ") == 0) {
                listed.emplace_back(1, static_cast<char>('0' + slot));
            }
        }
        if (!listed.empty() && random_.Below(10) < 8) return listed[random_.Below(static_cast<int>(listed.size()))];
        return Weighted(70, '1', ':', 20);
    }

    // A neutral answer pleases most people a little; the others are a gamble.
    std::string OpinionKey() {
        if (random_.Below(100) < 50) return "3";
        return Weighted(92, '1', '5', 3);
    }

    // Training mostly one stat, so that some games reach its ceiling.
    std::string TrainingKey() {
        if (random_.Below(100) < 60) return "9";
        return Weighted(80, '1', '9', 15);
    }

    // Asking to take things further is what moves a relationship on.
    std::string PlayersMoveKey() {
        if (random_.Below(10) < 4) return "5";
        return Weighted(95, '1', '6', 0);
    }

    Random random_;
    int playMode_;
};

struct SoakTotals {
    int games = 0;
    long keys = 0;
    int mostContacts = 0;
    int highestStage = 0;
    int highestStat = 0;
    int longestGameKeys = 0;
    int endings = 0;
};

// Checks the rules of one game and keeps the totals, before every read and
// at an ending (the state the game ends in; the game is gone once PlayGame
// returns).
class GameCheck : public GameEvents {
public:
    explicit GameCheck(SoakTotals& totals) : totals_(totals) {}

    // Before the first screen, with the game about to be played.
    void Start(const Game& game) {
        game_ = &game;
        checker_.emplace(game);
    }

    void Check() {
        if (checker_ && broken_.empty()) broken_ = checker_->Check();
        if (game_ == nullptr) return;
        totals_.mostContacts = std::max(totals_.mostContacts, game_->contactCount);
        for (int k = 0; k < game_->contactCount; ++k) {
            totals_.highestStage = std::max(totals_.highestStage, game_->contacts[k].stage);
        }
        for (int value : game_->player.stat) totals_.highestStat = std::max(totals_.highestStat, value);
    }

    void Ending() override { Check(); }

    // Empty while every rule holds; what broke first otherwise.
    const std::string& Broken() const { return broken_; }
    bool Started() const { return checker_.has_value(); }

private:
    SoakTotals& totals_;
    const Game* game_ = nullptr;
    std::optional<InvariantChecker> checker_;
    std::string broken_;
};

// Plays games with the given mode's opening key until KeysPerMode keys have
// been read, failing on the first broken rule.
SoakTotals Soak(int playMode, std::uint32_t seed) {
    SoakTotals totals;
    RandomPlayer player(seed, playMode);
    while (totals.keys < KeysPerMode) {
        WatchedTerminal screen;
        ScriptedTerminal& terminal = screen;
        GameCheck check(totals);
        screen.SetBeforeRead([&](WatchedTerminal::Read read) {
            check.Check();
            if (terminal.KeysLeft()) return;
            if (read == WatchedTerminal::Read::Word) {
                terminal.Type(player.NameLine());
            } else {
                terminal.Type(player.NextKey(screen));
            }
        });

        const std::uint32_t gameSeed =
            static_cast<std::uint32_t>(player.Below(32768)) << 8 | static_cast<std::uint32_t>(totals.games);
        const GameEnd end = PlayGame(screen, gameSeed, &check, nullptr, [&](const Game& game) { check.Start(game); });
        EXPECT_TRUE(check.Started()) << "the game was not shown to the checker";
        EXPECT_EQ(end.status, 0) << "game " << totals.games;
        EXPECT_EQ(check.Broken(), "") << "game " << totals.games << " after " << terminal.BytesRead() << " keys";
        if (!check.Started() || !check.Broken().empty() || end.status != 0) break;

        totals.games += 1;
        totals.keys += terminal.BytesRead();
        totals.longestGameKeys = std::max(totals.longestGameKeys, terminal.BytesRead());
        if (end.ending) totals.endings += 1;
    }
    return totals;
}

void ExpectDeepPlay(const SoakTotals& totals) {
    EXPECT_GE(totals.keys, KeysPerMode);
    // The random player must get past the opening, fill the book and go
    // steady with someone, or the run proves little about the encounter,
    // the full book and the calls and dates.
    EXPECT_GE(totals.games, 20);
    EXPECT_EQ(totals.mostContacts, BookSize);
    EXPECT_GE(totals.highestStage, stage::GoingSteady);
    EXPECT_GE(totals.endings, 1);
    EXPECT_EQ(totals.highestStat, InvariantChecker::TrainingCeiling);
    ::testing::Test::RecordProperty("games", totals.games);
    ::testing::Test::RecordProperty("keys", static_cast<int>(totals.keys));
    std::printf("%d games, %ld keys, longest game %d keys, most contacts %d, highest stage %d, highest stat %d, "
                "%d endings\n",
                totals.games, totals.keys, totals.longestGameKeys, totals.mostContacts, totals.highestStage,
                totals.highestStat, totals.endings);
}

TEST(Soak, FreePlayGamesKeepTheirRulesOverManyRandomKeys) { ExpectDeepPlay(Soak(mode::FreePlay, 20240601)); }

TEST(Soak, TrophyGamesKeepTheirRulesOverManyRandomKeys) { ExpectDeepPlay(Soak(mode::Trophy, 19990101)); }

}  // namespace
}  // namespace tg
