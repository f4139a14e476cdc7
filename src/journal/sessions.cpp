// New games, continued games, replays and casts, over a journal store.
#include "journal/sessions.hpp"

#include <filesystem>
#include <fstream>
#include <variant>

#include "journal/cast_recorder.hpp"
#include "journal/recorded_inputs.hpp"
#include "journal/recording_platform.hpp"
#include "journal/replay_platform.hpp"

namespace tg::journal {

namespace {

SessionEnd Refused(const JournalStore& store, Problem problem, const std::string& detail) {
    return SessionEnd{CouldNotPlay, store.Say(problem, detail)};
}

// The chosen journal read back; nothing, with the refusal, when it cannot be.
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

// How one attempt at going on ended: it replays the first `limit` inputs
// silently and plays on live from there, unless the game ends first, having
// taken `consumed` inputs, or strays from the journal.
struct Attempt {
    GameEnd end;
    bool wentLive = false;
    std::size_t consumed = 0;
    std::optional<Diverged> diverged;
    std::string problem;
};

Attempt GoOn(const GameRunner& run, Platform& terminal, const Contents& contents, JournalSink& journal,
             std::size_t limit, bool takeBack) {
    RecordedInputs inputs(contents);
    inputs.Limit(limit);
    SilentScreen remembered;
    RecordingPlatform recorder(terminal, journal);
    ReplayPlatform replay(inputs, remembered, ReplayPlatform::Pace::None);
    replay.GoLiveAtTheEnd(remembered, terminal, recorder, takeBack);
    Attempt attempt;
    attempt.end = run(replay, contents.header.seed, &replay);
    recorder.Finish(attempt.end.status);
    attempt.wentLive = replay.IsLive();
    attempt.consumed = inputs.Consumed();
    attempt.diverged = inputs.Divergence();
    attempt.problem = recorder.Problem();
    return attempt;
}

// Goes on with the journal: the attempt that went live, or where the game
// strayed from the journal. A game that ends on the journal's last input (a
// Quit, an Escape) is played again without it, and goes on from just
// before it.
std::variant<Attempt, Diverged> PlayOn(const GameRunner& run, Platform& terminal, const Contents& contents,
                                       JournalSink& journal) {
    std::size_t limit = RecordedInputs(contents).InputCount();
    for (bool takeBack = false;; takeBack = true) {
        Attempt attempt = GoOn(run, terminal, contents, journal, limit, takeBack);
        if (attempt.diverged) return *attempt.diverged;
        if (attempt.wentLive) return attempt;
        if (takeBack || attempt.consumed != limit || limit == 0) {
            const RecordedInputs inputs(contents);
            return Diverged{inputs.Describe(attempt.consumed),
                            takeBack ? "the game ended early" : "the game ended before the journal did"};
        }
        limit -= 1;
    }
}

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

SessionEnd PlayNewGame(const GameRunner& run, Platform& terminal, std::uint32_t seed, JournalSink* journal) {
    if (journal == nullptr) return Ended(terminal, run(terminal, seed, nullptr), {});
    RecordingPlatform recorder(terminal, *journal);
    const GameEnd end = run(recorder, seed, &recorder);
    recorder.Finish(end.status);
    return Ended(terminal, end, recorder.Problem());
}

void WarnBeforePlaying(Platform& terminal, const std::string& why) {
    terminal.Write("tender-gamble: " + why + "\nPress a key to play all the same.\n");
    (void)terminal.KeyWithin(-1);
}

SessionEnd ContinueGame(const GameRunner& run, const TerminalOpener& open, JournalStore& store) {
    SessionEnd refusal;
    const std::optional<Contents> contents = Load(store, Problem::CannotContinue, refusal);
    if (!contents) return refusal;
    if (Finished(*contents)) return Refused(store, Problem::GameIsOver, {});
    std::string error;
    JournalSink* journal = store.Reopen(contents->wholeBytes, error);
    if (journal == nullptr) return Refused(store, Problem::CannotContinue, error);
    const std::unique_ptr<Platform> terminal = open();
    const std::variant<Attempt, Diverged> outcome = PlayOn(run, *terminal, *contents, *journal);
    if (const Attempt* played = std::get_if<Attempt>(&outcome)) return Ended(*terminal, played->end, played->problem);
    store.Withdraw();
    return Refused(store, Problem::CannotContinue, Explain(std::get<Diverged>(outcome)));
}

SessionEnd Replay(const GameRunner& run, const TerminalOpener& open, JournalStore& store, double speed) {
    SessionEnd refusal;
    const std::optional<Contents> contents = Load(store, Problem::CannotReplay, refusal);
    if (!contents) return refusal;
    const std::unique_ptr<Platform> terminal = open();
    RecordedInputs inputs(*contents);
    ReplayPlatform replay(inputs, *terminal, ReplayPlatform::Pace::Watched, speed);
    const GameEnd end = run(replay, contents->header.seed, &replay);
    if (inputs.Divergence()) return Refused(store, Problem::CannotReplay, Explain(*inputs.Divergence()));
    replay.HoldLastScreen();
    return Ended(*terminal, end, {});
}

SessionEnd WriteCast(const GameRunner& run, JournalStore& store, double speed, const std::string& castFile) {
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
    CastRecorder cast(speed);
    ReplayPlatform replay(inputs, cast, ReplayPlatform::Pace::Recorded);
    (void)run(replay, contents->header.seed, &replay);
    if (inputs.Divergence()) {
        return Unwritten(out, castFile, Refused(store, Problem::CannotReplay, Explain(*inputs.Divergence())));
    }
    cast.Finish(!replay.RanOut());
    out << cast.Recording("Tender Gamble! (seed " + std::to_string(contents->header.seed) + ")");
    out.close();
    if (!out) return SessionEnd{CouldNotPlay, "cannot write " + castFile};
    return SessionEnd{};
}

}  // namespace tg::journal
