#include "journal/continuing.hpp"

#include <cstdlib>

#include "journal/recorded_inputs.hpp"
#include "journal/recording_platform.hpp"
#include "journal/resuming_platform.hpp"

namespace tg::journal {

namespace {

// Replays the journal's first `limit` inputs, then plays on.
[[noreturn]] void GoOn(const GameRunner& run, Platform& terminal, const Contents& contents, JournalSink& journal,
                       const Refusal& refuse, std::size_t limit, bool takeBack) {
    RecordedInputs inputs(contents);
    inputs.Limit(limit);
    inputs.OnDiverged([&](const Diverged& diverged) { refuse(Explain(diverged)); });
    const auto ended = [&](std::size_t consumed) {
        // Ended by the journal's last input: the game is started afresh,
        // deeper on the stack, for this one never comes back.
        if (!takeBack && consumed == limit && limit > 0) {
            GoOn(run, terminal, contents, journal, refuse, limit - 1, true);
        }
        refuse(Explain(Diverged{inputs.Describe(consumed),
                                takeBack ? "the game ended early" : "the game ended before the journal did"}));
    };
    RecordingPlatform recorder(terminal, journal);
    ResumingPlatform resuming(inputs, terminal, recorder, ended, takeBack);
    run(resuming, contents.header.seed);
    std::abort();  // a game never returns
}

}  // namespace

void ContinueJournal(const GameRunner& run, Platform& terminal, const Contents& contents, JournalSink& journal,
                     const Refusal& refuse) {
    GoOn(run, terminal, contents, journal, refuse, RecordedInputs(contents).InputCount(), false);
}

}  // namespace tg::journal
