// Describing a kept game: its journal replayed into a silent screen, with
// the summary of each home menu kept as it passes.
#include "journal/game_description.hpp"

#include "journal/recorded_inputs.hpp"
#include "journal/replay_platform.hpp"

namespace tg::journal {

namespace {

// Passes the game's events on to the replay, keeping the last home menu's
// summary.
class LastRest : public GameEvents {
public:
    explicit LastRest(GameEvents& replay) : replay_(replay) {}

    void AtRest(const RestSummary& summary) override {
        summary_ = summary;
        replay_.AtRest(summary);
    }
    void Ending() override { replay_.Ending(); }

    const std::optional<RestSummary>& Summary() const { return summary_; }

private:
    GameEvents& replay_;
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

GameDescription Describe(const GameRunner& run, std::string_view bytes) {
    const Contents contents = Parse(bytes);
    if (!contents.error.empty()) return Damaged(contents.error);
    RecordedInputs inputs(contents);
    SilentScreen silent;
    ReplayPlatform replay(inputs, silent, ReplayPlatform::Pace::None);
    LastRest events(replay);
    const GameEnd end = run(replay, contents.header.seed, &events);
    if (inputs.Divergence()) return Damaged(inputs.Divergence()->where + ": " + inputs.Divergence()->what);
    GameDescription description;
    description.standing = HowItStands(end, replay.RanOut());
    description.rest = events.Summary();
    return description;
}

}  // namespace tg::journal
