// Moves through a watched replay: the game is deterministic, so the screen
// after any input is the game run again from its start, silently, up to it.
#include "journal/replay_seek.hpp"

#include <algorithm>

#include "journal/replay_keys.hpp"

namespace tg::journal {

namespace {
constexpr int Tenths = 10;
}  // namespace

void ReplayPosition::Follow(const GameJournal& journal) {
    journal_ = &journal;
    clock_.clear();
}

std::string ReplayPosition::Where() const {
    return "replay " + std::to_string(Now()) + "/" + std::to_string(total_) + (clock_.empty() ? "" : ", " + clock_);
}

// Where the key aims, from the input shown now; the same input when there
// is nowhere to go.
std::size_t ReplayPosition::Aimed(int moveKey) const {
    const std::size_t now = Now();
    switch (moveKey) {
        case '.': return std::min(now + 1, total_);
        case ',': return now == 0 ? 0 : now - 1;
        case HomeKey: return 0;
        case EndKey: return total_;
        case RightKey: {
            const auto next = std::upper_bound(homeMenus_.begin(), homeMenus_.end(), now);
            return next == homeMenus_.end() ? now : *next;
        }
        case LeftKey: {
            const auto next = std::lower_bound(homeMenus_.begin(), homeMenus_.end(), now);
            return next == homeMenus_.begin() ? now : *std::prev(next);
        }
        default: return total_ * static_cast<std::size_t>(moveKey - '0') / Tenths;
    }
}

std::optional<std::size_t> ReplayPosition::Target(int moveKey) const {
    const std::size_t target = Aimed(moveKey);
    if (target == Now()) return std::nullopt;
    return target;
}

SessionEnd WatchReplay(const GameRunner& run, const TerminalOpener& open, JournalStore& store, double speed,
                       std::optional<std::size_t> at) {
    const Result<Contents> contents = Load(store);
    if (!contents) return SessionEnd{CouldNotPlay, contents.Error()};
    const std::unique_ptr<Platform> terminal = open();
    ReplayPosition position{RecordedInputs(*contents)};
    ReplayPace pace(ReplayPace::Kind::Watched, terminal.get(), speed);
    pace.OfferMoves(position);
    pace.SetPaused(at.has_value());
    std::optional<std::size_t> showFrom = at;
    for (;;) {
        RecordedInputs inputs(*contents);
        GameJournal journal(inputs, pace);
        position.Follow(journal);
        if (showFrom) journal.ShowFrom(*showFrom);
        const GameEnd end = run(*terminal, contents->header.seed, &position, &journal);
        if (inputs.Divergence()) return SessionEnd{CouldNotPlay, *inputs.Divergence()};
        journal.HoldLastScreen();
        showFrom = pace.MoveTo();
        if (showFrom) continue;
        if (end.ending) terminal->KeepLastScreen();
        return SessionEnd{end.status, {}, end.ending};
    }
}

}  // namespace tg::journal
