// Engine throughput: whole scripted games replayed through the in-memory
// terminal with recording off, counted in key codes read per second. The
// console path alone (the same keys read through GetChoice with no game
// around it) is the baseline.
#include <benchmark/benchmark.h>

#include <optional>
#include <string>
#include <vector>

#include "console/console.hpp"
#include "scripted_games.hpp"
#include "shell/play_game.hpp"
#include "support/scripted_terminal.hpp"

namespace {

constexpr int GameCount = 24;
constexpr int KeyBudget = 1500;

struct ReadyGame {
    std::uint32_t seed;
    std::string keys;
    int keyCodes;
};

const std::vector<ReadyGame>& Games() {
    static const std::vector<ReadyGame> games = [] {
        std::vector<ReadyGame> ready;
        for (const tg::bench::GameScript& script : tg::bench::PlayScriptedGames(1, GameCount, KeyBudget)) {
            ready.push_back({script.seed, script.Keys(), script.keyCodes});
        }
        return ready;
    }();
    return games;
}

// Plays one game to its end; the number of key codes read.
int Replay(const ReadyGame& script, bool recording) {
    tg::ScriptedTerminal terminal(script.keys);
    terminal.SetRecording(recording);
    (void)tg::PlayGame(terminal, script.seed);
    return terminal.BytesRead();
}

void WholeGames(benchmark::State& state, bool recording) {
    const std::vector<ReadyGame>& games = Games();
    long long keys = 0;
    for (auto _ : state) {
        for (const ReadyGame& script : games) {
            const int read = Replay(script, recording);
            if (read != script.keyCodes) {
                state.SkipWithError("a replayed game read a different number of keys than when it was scripted");
                return;
            }
            keys += read;
        }
    }
    state.counters["keys/s"] = benchmark::Counter(static_cast<double>(keys), benchmark::Counter::kIsRate);
    state.counters["keys/game"] = static_cast<double>(keys) / static_cast<double>(state.iterations() * games.size());
}

void BM_WholeGames(benchmark::State& state) { WholeGames(state, false); }
void BM_WholeGamesRecorded(benchmark::State& state) { WholeGames(state, true); }

// The same key bytes through the console alone: every code accepted.
void BM_ConsoleKeysOnly(benchmark::State& state) {
    const std::vector<ReadyGame>& games = Games();
    long long keys = 0;
    for (auto _ : state) {
        for (const ReadyGame& script : games) {
            tg::ScriptedTerminal terminal(script.keys);
            terminal.SetRecording(false);
            tg::Console console(terminal);
            for (;;) {
                const std::optional<int> choice = console.GetChoice(1000, -1000);
                if (!choice) break;
                benchmark::DoNotOptimize(*choice);
            }
            keys += terminal.BytesRead();
        }
    }
    state.counters["keys/s"] = benchmark::Counter(static_cast<double>(keys), benchmark::Counter::kIsRate);
}

}  // namespace

BENCHMARK(BM_WholeGames)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WholeGamesRecorded)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConsoleKeysOnly)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
