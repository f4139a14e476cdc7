// New games, continued games, replays and casts, over a journal store.
#include "journal/sessions.hpp"

#include <filesystem>
#include <fstream>

#include "journal/cast_recorder.hpp"
#include "journal/game_journal.hpp"
#include "journal/recorded_inputs.hpp"

namespace tg::journal {

namespace {

SessionEnd Refused(const JournalStore& store, Problem problem, const std::string& detail) {
    return SessionEnd{CouldNotPlay, store.Say(problem, detail)};
}

}  // namespace

std::optional<Contents> Load(JournalStore& store, Problem problem, SessionEnd& refusal) {
    std::string error;
    const std::optional<std::string> bytes = store.Read(error);
    if (!bytes) {
        refusal = Refused(store, problem, error);
        return std::nullopt;
    }
    Contents contents = Parse(*bytes);
    if (!contents.error.empty()) {
        refusal = Refused(store, problem, contents.error);
        return std::nullopt;
    }
    return contents;
}

namespace {

// How a game on the terminal ended; an ending stays on the screen once the
// game has left it.
SessionEnd Ended(Platform& terminal, const GameEnd& end, std::string problem) {
    if (end.ending) terminal.KeepLastScreen();
    return SessionEnd{end.status, std::move(problem), end.ending};
}

// A cast that was not written leaves no file behind.
SessionEnd Unwritten(std::ofstream& out, const std::string& castFile, SessionEnd refusal) {
    out.close();
    std::error_code ignored;
    std::filesystem::remove(castFile, ignored);
    return refusal;
}

}  // namespace

Header NewHeader(std::uint32_t seed, const std::string& gameVersion, Border border, std::time_t started) {
    Header header;
    header.gameVersion = gameVersion;
    header.seed = seed;
    header.started = UtcText(started);
    header.border = BorderName(border);
    return header;
}

SessionEnd PlayNewGame(const GameRunner& run, Platform& terminal, std::uint32_t seed, JournalSink* sink) {
    if (sink == nullptr) return Ended(terminal, run(terminal, seed, nullptr, nullptr), {});
    GameJournal journal(*sink);
    const GameEnd end = run(terminal, seed, nullptr, &journal);
    journal.Finish(end.status);
    return Ended(terminal, end, journal.Problem());
}

void WarnBeforePlaying(Platform& terminal, const std::string& why) {
    terminal.Write("tender-gamble: " + why + "\nPress a key to play all the same.\n");
    (void)terminal.ReadByte(-1, Platform::Reading::Keys);
}

SessionEnd ContinueGame(const GameRunner& run, const TerminalOpener& open, JournalStore& store) {
    SessionEnd refusal;
    const std::optional<Contents> contents = Load(store, Problem::CannotContinue, refusal);
    if (!contents) return refusal;
    if (Finished(*contents)) return Refused(store, Problem::GameIsOver, {});
    std::string error;
    JournalSink* sink = store.Reopen(contents->wholeBytes, error);
    if (sink == nullptr) return Refused(store, Problem::CannotContinue, error);
    const std::unique_ptr<Platform> terminal = open();
    RecordedInputs inputs(*contents);
    ReplayPace pace(ReplayPace::Kind::None);
    GameJournal journal(inputs, pace, sink);
    const GameEnd end = run(*terminal, contents->header.seed, nullptr, &journal);
    journal.Finish(end.status);
    if (journal.Now() == InputJournal::Phase::Live) return Ended(*terminal, end, journal.Problem());
    store.Withdraw();
    const Diverged diverged =
        inputs.Divergence() ? *inputs.Divergence()
                            : Diverged{inputs.Describe(inputs.Consumed()), "the game ended before the journal did"};
    return Refused(store, Problem::CannotContinue, Explain(diverged));
}

SessionEnd Replay(const GameRunner& run, const TerminalOpener& open, JournalStore& store, double speed) {
    SessionEnd refusal;
    const std::optional<Contents> contents = Load(store, Problem::CannotReplay, refusal);
    if (!contents) return refusal;
    const std::unique_ptr<Platform> terminal = open();
    RecordedInputs inputs(*contents);
    ReplayPace pace(ReplayPace::Kind::Watched, terminal.get(), speed);
    GameJournal journal(inputs, pace);
    const GameEnd end = run(*terminal, contents->header.seed, nullptr, &journal);
    if (inputs.Divergence()) return Refused(store, Problem::CannotReplay, Explain(*inputs.Divergence()));
    journal.HoldLastScreen();
    return Ended(*terminal, end, {});
}

SessionEnd WriteCast(const GameRunner& run, JournalStore& store, double speed, const std::string& castFile,
                     const Stretch& stretch) {
    std::error_code unknown;  // a file that cannot even be looked at is refused when opened
    if (std::filesystem::exists(castFile, unknown)) {
        return SessionEnd{CouldNotPlay, castFile + ": the file exists already"};
    }
    std::ofstream out(castFile, std::ios::binary | std::ios::trunc);
    if (!out) return SessionEnd{CouldNotPlay, "cannot write " + castFile};
    SessionEnd refusal;
    const std::optional<Contents> contents = Load(store, Problem::CannotReplay, refusal);
    if (!contents) return Unwritten(out, castFile, refusal);
    RecordedInputs inputs(*contents);
    if (stretch.from > inputs.InputCount()) {
        return Unwritten(out, castFile, SessionEnd{CouldNotPlay, StretchBeyondTheGame(inputs.InputCount())});
    }
    CastRecorder cast(speed);
    ReplayPace pace(ReplayPace::Kind::Recorded, &cast);
    GameJournal journal(inputs, pace);
    if (stretch.from > 0) journal.ShowFrom(stretch.from);
    if (stretch.to) inputs.Limit(*stretch.to);
    (void)run(cast, contents->header.seed, nullptr, &journal);
    if (inputs.Divergence()) {
        return Unwritten(out, castFile, Refused(store, Problem::CannotReplay, Explain(*inputs.Divergence())));
    }
    cast.Finish(!journal.RanOut());
    out << cast.Recording("Tender Gamble! (seed " + std::to_string(contents->header.seed) + ")");
    out.close();
    if (!out) return SessionEnd{CouldNotPlay, "cannot write " + castFile};
    return SessionEnd{};
}

}  // namespace tg::journal
