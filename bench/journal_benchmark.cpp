// Resuming a long game and moving through its replay. A journal of 10,000
// inputs, recorded while the scripted player played, is continued the way
// --continue does it (read, parsed, tried out of sight, replayed and its
// last screen repainted) on an in-memory terminal that has no keys, so the
// resumed game ends at its first prompt; and its replay is moved through as
// a watched replay answers the viewer's moves. The journal lives in
// /dev/shm where there is one, so that the figure is the game's own work
// and not the disk's.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include "console/banner_border.hpp"
#include "program/file_store.hpp"
#include "journal/game_journal.hpp"
#include "journal/journal_format.hpp"
#include "journal/recorded_inputs.hpp"
#include "journal/replay_pace.hpp"
#include "journal/sessions.hpp"
#include "program/build_info.hpp"
#include "scripted_games.hpp"
#include "shell/play_game.hpp"
#include "support/scripted_terminal.hpp"

namespace {

constexpr std::size_t Inputs = 10'000;

tg::GameEnd RunGame(tg::Platform& platform, std::uint32_t seed, tg::GameEvents* events, tg::InputJournal* journal) {
    return tg::PlayGame(platform, seed, events, journal);
}

// The journal as the game left it if it was killed after `inputs` inputs.
std::string CutAfterInputs(std::string bytes, std::size_t inputs) {
    const tg::journal::Contents contents = tg::journal::Parse(bytes);
    std::size_t seen = 0;
    for (std::size_t k = 0; k < contents.records.size(); ++k) {
        const auto kind = contents.records[k].kind;
        if (kind != tg::journal::Record::Kind::Key && kind != tg::journal::Record::Kind::Word) continue;
        if (seen++ == inputs) {
            bytes.resize(contents.offsets[k]);
            break;
        }
    }
    return bytes;
}

struct LongJournal {
    std::string path;
    std::string bytes;
    std::string problem;  // why there is none
};

std::filesystem::path ScratchFolder() {
    std::error_code failure;
    if (std::filesystem::is_directory("/dev/shm", failure)) return "/dev/shm";
    return std::filesystem::temp_directory_path();
}

// Records the first Inputs inputs of a scripted game long enough to have them.
LongJournal Record() {
    LongJournal journal;
    tg::bench::GameScript script;
    for (std::uint32_t seed = 1; seed < 60 && script.keyCodes < static_cast<int>(Inputs) + 100; ++seed) {
        script = tg::bench::PlayScriptedGame(seed, static_cast<int>(Inputs) + 200);
    }
    journal.path = (ScratchFolder() / ("tender-bench-" + std::to_string(getpid()) + ".journal")).string();
    std::remove(journal.path.c_str());
    {
        tg::FileStore store(journal.path);
        const tg::journal::Result<tg::journal::JournalSink*> created = store.Create(tg::journal::NewHeader(
            script.seed, std::string(tg::BuildVersion), tg::Border::DoubleLines, std::time(nullptr)));
        if (!created) {
            journal.problem = created.Error().detail;
            return journal;
        }
        tg::journal::JournalSink* sink = *created;
        tg::ScriptedTerminal terminal(script.Keys());
        terminal.SetRecording(false);
        const tg::journal::SessionEnd end = tg::journal::PlayNewGame(RunGame, terminal, script.seed, [sink] { return sink; });
        if (end.fault) {
            journal.problem = end.fault->detail;
            return journal;
        }
    }
    std::ifstream in(journal.path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    journal.bytes = CutAfterInputs(std::move(bytes).str(), Inputs);
    const tg::journal::Contents contents = tg::journal::Parse(journal.bytes);
    if (tg::journal::RecordedInputs(contents).InputCount() != Inputs) {
        journal.problem = "the scripted game gave " +
                          std::to_string(tg::journal::RecordedInputs(contents).InputCount()) + " inputs";
    }
    return journal;
}

void BM_ResumeTenThousandInputs(benchmark::State& state) {
    static const LongJournal journal = Record();
    if (!journal.problem.empty()) {
        state.SkipWithError(journal.problem.c_str());
        return;
    }
    const tg::journal::TerminalOpener open = [] {
        auto terminal = std::make_unique<tg::ScriptedTerminal>();
        terminal->SetRecording(false);
        return std::unique_ptr<tg::Platform>(std::move(terminal));
    };
    for (auto _ : state) {
        state.PauseTiming();
        std::ofstream(journal.path, std::ios::binary | std::ios::trunc) << journal.bytes;
        state.ResumeTiming();
        tg::FileStore store(journal.path);
        const tg::journal::SessionEnd end = tg::journal::ContinueGame(RunGame, open, store);
        // Continued, the game finds no keys at its first prompt and ends
        // with status 0; a refusal says why.
        if (end.status != 0 || end.fault) {
            state.SkipWithError(("the journal was not continued, status " + std::to_string(end.status) + ": " +
                                 (end.fault ? end.fault->detail : std::string())).c_str());
            return;
        }
    }
    state.counters["inputs"] = static_cast<double>(Inputs);
    state.counters["journal_bytes"] = static_cast<double>(journal.bytes.size());
}

// One move through a watched replay, as the session answers it: the game
// run again from its start, silently, up to `target` inputs, its screen
// drawn once; the viewer's `q` then ends the replay there.
void SeekTo(const tg::journal::Contents& contents, std::size_t target) {
    tg::ScriptedTerminal terminal("q");
    terminal.SetRecording(false);
    tg::journal::RecordedInputs inputs(contents);
    tg::journal::ReplayPace pace(tg::journal::ReplayPace::Kind::Watched, terminal);
    pace.SetPaused(true);
    tg::journal::GameJournal journal(inputs, &pace);
    journal.ShowFrom(target);
    (void)RunGame(terminal, contents.header.seed, nullptr, &journal);
}

double MillisecondsToSeek(const tg::journal::Contents& contents, std::size_t target) {
    const auto start = std::chrono::steady_clock::now();
    SeekTo(contents, target);
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// Moves through the replay of a 10,000-input game: each iteration seeks to
// 20 random points (the same ones every time) and steps back one input from
// the last screen; the counters are the median seek and the step back.
void BM_SeekInTenThousandInputs(benchmark::State& state) {
    static const LongJournal journal = Record();
    if (!journal.problem.empty()) {
        state.SkipWithError(journal.problem.c_str());
        return;
    }
    const tg::journal::Contents contents = tg::journal::Parse(journal.bytes);
    std::mt19937 random(25);
    std::vector<std::size_t> points(20);
    for (std::size_t& point : points) point = std::uniform_int_distribution<std::size_t>(0, Inputs)(random);
    std::vector<double> seeks;
    std::vector<double> stepsBack;
    for (auto _ : state) {
        for (const std::size_t point : points) seeks.push_back(MillisecondsToSeek(contents, point));
        stepsBack.push_back(MillisecondsToSeek(contents, Inputs - 1));
    }
    std::sort(seeks.begin(), seeks.end());
    std::sort(stepsBack.begin(), stepsBack.end());
    state.counters["seek_median_ms"] = seeks[seeks.size() / 2];
    state.counters["seek_max_ms"] = seeks.back();
    state.counters["step_back_at_end_ms"] = stepsBack[stepsBack.size() / 2];
}

}  // namespace

BENCHMARK(BM_ResumeTenThousandInputs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SeekInTenThousandInputs)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
