#include "journal/continuing.hpp"

#include <cstdlib>
#include <optional>

#include "journal/recorded_inputs.hpp"
#include "journal/recording_platform.hpp"
#include "journal/resuming_platform.hpp"

namespace tg::journal {

namespace {

// Plays the journal's first `limit` inputs through a game nobody sees.
// Nothing when they replay to the end; how many inputs it took when the
// game ended on one of them; throws Diverged otherwise.
std::optional<std::size_t> Trial(const GameRunner& run, const Contents& contents, std::size_t limit) {
    RecordedInputs inputs(contents);
    inputs.Limit(limit);
    ResumingPlatform trial(inputs);
    try {
        run(trial, contents.header.seed);
    } catch (const ResumingPlatform::ReachedEnd&) {
        return std::nullopt;
    } catch (const ResumingPlatform::GameEnded& ended) {
        return ended.consumed;
    }
    return std::nullopt;
}

}  // namespace

ContinuePoint FindContinuePoint(const GameRunner& run, const Contents& contents) {
    const RecordedInputs all(contents);
    ContinuePoint point{all.InputCount(), false};
    const std::optional<std::size_t> ended = Trial(run, contents, point.inputs);
    if (!ended) return point;
    if (*ended != point.inputs || point.inputs == 0) {
        throw Diverged{all.Describe(*ended), "the game ended before the journal did"};
    }
    point.takeBack = true;
    --point.inputs;
    if (Trial(run, contents, point.inputs)) throw Diverged{all.Describe(point.inputs), "the game ended early"};
    return point;
}

void GoOnFrom(const GameRunner& run, Platform& terminal, const Contents& contents, const ContinuePoint& point,
              JournalSink& journal) {
    if (point.takeBack) {
        Record record;
        record.kind = Record::Kind::TakeBack;
        journal.Append(EncodeRecord(record));
    }
    RecordingPlatform recorder(terminal, journal);
    RecordedInputs inputs(contents);
    inputs.Limit(point.inputs);
    ResumingPlatform resuming(inputs, terminal, recorder);
    run(resuming, contents.header.seed);
    std::abort();  // a game never returns
}

}  // namespace tg::journal
