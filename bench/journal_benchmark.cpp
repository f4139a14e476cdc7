// Resuming a long game: a journal of 10,000 inputs, recorded while the
// scripted player played, is continued the way --continue does it (read,
// parsed, tried out of sight, replayed and its last screen repainted) on an
// in-memory terminal that has no keys, so the resumed game ends at its
// first prompt. The journal lives in /dev/shm where there is one, so that
// the figure is the game's own work and not the disk's.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "console/console.hpp"
#include "terminal/scripted_terminal.hpp"
#include "program/build_info.hpp"
#include "journal/game_sessions.hpp"
#include "journal/journal_file.hpp"
#include "journal/journal_format.hpp"
#include "journal/recorded_inputs.hpp"
#include "journal/recording_platform.hpp"
#include "journal/state_folder.hpp"
#include "scripted_games.hpp"
#include "shell/game.hpp"
#include "people/random.hpp"

namespace {

constexpr std::size_t Inputs = 10'000;

void Play(tg::Platform& platform, std::uint32_t seed) {
    tg::Random random(seed);
    tg::Console console(platform);
    tg::Game game(console, random);
    game.StartGame();
}

// A scripted terminal whose input ends after a number of keys and words.
class ShortenedTerminal : public tg::ScriptedTerminal {
public:
    ShortenedTerminal(std::string keys, std::size_t inputs) : ScriptedTerminal(std::move(keys)), left_(inputs) {
        SetRecording(false);
    }
    tg::Key ReadKey() override { return left_-- > 0 ? ScriptedTerminal::ReadKey() : tg::Key{}; }
    std::optional<std::string> ReadWord() override {
        return left_-- > 0 ? ScriptedTerminal::ReadWord() : std::nullopt;
    }

private:
    std::size_t left_;
};

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
    std::string error;
    std::optional<tg::journal::JournalFile> file = tg::journal::JournalFile::Create(journal.path, error);
    if (!file) {
        journal.problem = journal.path + ": " + error;
        return journal;
    }
    tg::journal::Header header;
    header.gameVersion = std::string(tg::BuildVersion);
    header.seed = script.seed;
    header.started = tg::journal::UtcText(std::time(nullptr));
    file->Append(tg::journal::EncodeHeader(header));
    ShortenedTerminal terminal(script.Keys(), Inputs);
    tg::journal::RecordingPlatform recorder(terminal, *file);
    try {
        Play(recorder, script.seed);
    } catch (const tg::ProgramEnded&) {
    }
    std::ifstream in(journal.path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    journal.bytes = std::move(bytes).str();
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
    const tg::journal::GameRunner run = Play;
    const tg::journal::TerminalOpener open = [] {
        auto terminal = std::make_unique<tg::ScriptedTerminal>();
        terminal->SetRecording(false);
        return std::unique_ptr<tg::Platform>(std::move(terminal));
    };
    const tg::Environment environment = [](const char*) -> const char* { return nullptr; };
    for (auto _ : state) {
        state.PauseTiming();
        std::ofstream(journal.path, std::ios::binary | std::ios::trunc) << journal.bytes;
        state.ResumeTiming();
        try {
            const int status = tg::journal::ContinueGame(run, open, journal.path, environment);
            state.SkipWithError(("the journal was not continued, status " + std::to_string(status)).c_str());
            return;
        } catch (const tg::ProgramEnded&) {
            // The resumed game found no keys at its first prompt.
        }
    }
    state.counters["inputs"] = static_cast<double>(Inputs);
    state.counters["journal_bytes"] = static_cast<double>(journal.bytes.size());
}

}  // namespace

BENCHMARK(BM_ResumeTenThousandInputs)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
