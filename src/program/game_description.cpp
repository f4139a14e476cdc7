// Describing a kept game: its journal replayed without showing anything,
// with the summary of each home menu kept as it passes.
#include "program/game_description.hpp"

#include "console/screen_memory.hpp"
#include "journal/game_journal.hpp"
#include "journal/recorded_inputs.hpp"

namespace tg {

using namespace journal;

namespace {

// Keeps the last home menu's summary, with the clock of the last screen
// shown since: where the game stands at its last input.
class LastRest : public GameEvents {
public:
    void AtRest(const RestSummary& summary) override { summary_ = summary; }
    void ClockShown(const std::string& dayAndTime) override {
        if (summary_) summary_->clock = dayAndTime;
    }
    const std::optional<RestSummary>& Summary() const { return summary_; }

private:
    std::optional<RestSummary> summary_;
};

GameDescription Damaged(std::string why) {
    GameDescription description;
    description.standing = Standing::Damaged;
    description.damage = std::move(why);
    return description;
}

Standing HowItStands(const GameEnd& end, bool ranOut) {
    if (end.ending) return end.won ? Standing::ReunionWon : Standing::ReunionLost;
    if (ranOut) return Standing::Unfinished;
    return end.escaped ? Standing::Escaped : Standing::Quit;
}

}  // namespace

const char* StandingCode(Standing standing) {
    switch (standing) {
        case Standing::Unfinished: return "unfinished";
        case Standing::Quit: return "quit";
        case Standing::Escaped: return "escaped";
        case Standing::ReunionWon: return "won";
        case Standing::ReunionLost: return "lost";
        case Standing::Damaged: break;
    }
    return "damaged";
}

GameDescription Describe(const GameRunner& run, std::string_view bytes) {
    const Contents contents = Parse(bytes);
    if (contents.fault) return Damaged(contents.fault->detail);
    RecordedInputs inputs(contents);
    GameJournal journal(inputs, nullptr);
    ScreenMemory nowhere;
    LastRest events;
    const GameEnd end = run(nowhere, contents.header.seed, &events, &journal);
    if (inputs.Divergence()) return Damaged(inputs.Divergence()->detail);
    GameDescription description;
    description.standing = HowItStands(end, journal.RanOut());
    description.rest = events.Summary();
    return description;
}

}  // namespace tg
