// A watched replay the viewer can move through: step, jump to a home menu
// or a tenth of the way, back to the start or on to the last screen.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "console/game_events.hpp"
#include "journal/game_journal.hpp"
#include "journal/recorded_inputs.hpp"
#include "journal/replay_pace.hpp"
#include "journal/sessions.hpp"

namespace tg::journal {

// Where a replay stands: how many of the journal's inputs the game has
// consumed, and the clock its screen shows (heard from the game), and
// where each move key goes from there.
class ReplayPosition : public ReplayPlace, public GameEvents {
public:
    explicit ReplayPosition(const RecordedInputs& journal)
        : total_(journal.InputCount()), homeMenus_(journal.HomeMenus()) {}

    // The run of the game now shown.
    void Follow(const GameJournal& journal);

    std::string Where() const override;
    std::optional<std::size_t> Target(int moveKey) const override;
    void ClockShown(const std::string& dayAndTime) override { clock_ = dayAndTime; }

private:
    std::size_t Now() const { return journal_ ? journal_->InputsShown() : 0; }
    std::size_t Aimed(int moveKey) const;

    std::size_t total_;
    std::vector<std::size_t> homeMenus_;
    const GameJournal* journal_ = nullptr;
    std::string clock_;
};

// Plays the store's chosen journal back at `speed` times its pace, as
// Replay does, and lets the viewer move through it: each move replays the
// game silently from its start up to the input moved to and draws that
// screen once. With `at`, the replay starts there, paused. A journal that
// does not replay as recorded is refused when the game strays from it.
SessionEnd WatchReplay(const GameRunner& run, const TerminalOpener& open, JournalStore& store, double speed,
                       std::optional<std::size_t> at = std::nullopt);

}  // namespace tg::journal
