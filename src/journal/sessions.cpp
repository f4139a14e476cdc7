// New games, continued games, replays and casts, over a journal store.
#include "journal/sessions.hpp"

#include "journal/game_journal.hpp"
#include "journal/recorded_inputs.hpp"
#include "terminal/cast_recorder.hpp"

namespace tg::journal {

namespace {

SessionEnd Refused(Fault fault) { return SessionEnd{CouldNotPlay, std::move(fault)}; }

// How a game on the terminal ended; an ending stays on the screen once the
// game has left it.
SessionEnd Ended(Platform& terminal, const GameEnd& end, std::optional<Fault> unkept) {
    if (end.ending) terminal.KeepLastScreen();
    return SessionEnd{end.status, std::move(unkept), end.ending};
}

}  // namespace

Result<Contents> Load(JournalStore& store) {
    const Result<std::string> bytes = store.Read();
    if (!bytes) return bytes.Error();
    Contents contents = Parse(*bytes);
    if (contents.fault) return *contents.fault;
    return contents;
}

Header NewHeader(std::uint32_t seed, const std::string& gameVersion, Border border, std::time_t started) {
    Header header;
    header.gameVersion = gameVersion;
    header.seed = seed;
    header.started = UtcText(started);
    header.border = BorderName(border);
    return header;
}

SessionEnd PlayNewGame(const GameRunner& run, Platform& terminal, std::uint32_t seed, const JournalOpener& open) {
    if (!open) return Ended(terminal, run(terminal, seed, nullptr, nullptr), std::nullopt);
    GameJournal journal(open);
    const GameEnd end = run(terminal, seed, nullptr, &journal);
    journal.Finish(end.status);
    return Ended(terminal, end, journal.Problem());
}

SessionEnd ContinueGame(const GameRunner& run, const TerminalOpener& open, JournalStore& store) {
    const Result<Contents> contents = Load(store);
    if (!contents) return Refused(contents.Error());
    if (Finished(*contents)) return Refused(Fault{Fault::Kind::Over, {}});
    const Result<JournalSink*> sink = store.Reopen(contents->wholeBytes);
    if (!sink) return Refused(sink.Error());
    const std::unique_ptr<Platform> terminal = open();
    RecordedInputs inputs(*contents);
    GameJournal journal(inputs, nullptr, *sink);
    const GameEnd end = run(*terminal, contents->header.seed, nullptr, &journal);
    journal.Finish(end.status);
    if (journal.Now() == InputJournal::Phase::Live) return Ended(*terminal, end, journal.Problem());
    store.Withdraw();
    if (inputs.Divergence()) return Refused(*inputs.Divergence());
    return Refused(Fault{Fault::Kind::Strays,
                         inputs.Describe(inputs.Consumed()) + ": the game ended before the journal did"});
}

SessionEnd WatchReplay(const GameRunner& run, const TerminalOpener& open, JournalStore& store, double speed,
                       std::optional<std::size_t> at) {
    const Result<Contents> contents = Load(store);
    if (!contents) return Refused(contents.Error());
    const std::unique_ptr<Platform> terminal = open();
    ReplayPosition position{RecordedInputs(*contents)};
    ReplayPace pace(ReplayPace::Kind::Watched, *terminal, speed);
    pace.OfferMoves(position);
    pace.SetPaused(at.has_value());
    std::optional<std::size_t> showFrom = at;
    for (;;) {
        RecordedInputs inputs(*contents);
        GameJournal journal(inputs, &pace);
        position.Follow(journal);
        if (showFrom) journal.ShowFrom(*showFrom);
        const GameEnd end = run(*terminal, contents->header.seed, &position, &journal);
        if (inputs.Divergence()) return Refused(*inputs.Divergence());
        journal.HoldLastScreen();
        showFrom = pace.MoveTo();
        if (!showFrom) return Ended(*terminal, end, std::nullopt);
    }
}

Result<std::string> Cast(const GameRunner& run, JournalStore& store, double speed, const Stretch& stretch) {
    const Result<Contents> contents = Load(store);
    if (!contents) return contents.Error();
    RecordedInputs inputs(*contents);
    if (stretch.from > inputs.InputCount()) {
        return Fault{Fault::Kind::NotFound, "the stretch starts after the game's last input: the game has only " +
                                                std::to_string(inputs.InputCount()) + " inputs"};
    }
    CastRecorder cast(speed);
    ReplayPace pace(ReplayPace::Kind::Recorded, cast);
    GameJournal journal(inputs, &pace);
    if (stretch.from > 0) journal.ShowFrom(stretch.from);
    if (stretch.to) inputs.Limit(*stretch.to);
    (void)run(cast, contents->header.seed, nullptr, &journal);
    if (inputs.Divergence()) return *inputs.Divergence();
    cast.Finish(!journal.RanOut());
    return cast.Recording("Tender Gamble! (seed " + std::to_string(contents->header.seed) + ")");
}

}  // namespace tg::journal
