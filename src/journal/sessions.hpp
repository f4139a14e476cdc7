// The ways a game is started: new, continued from its journal, played
// back, or written as a cast. The same for the terminal and the web page;
// only the store and the terminal differ.
#pragma once

#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "console/banner_border.hpp"
#include "console/game_events.hpp"
#include "console/input_journal.hpp"
#include "console/platform.hpp"
#include "journal/fault.hpp"
#include "journal/journal_format.hpp"
#include "journal/journal_store.hpp"

namespace tg::journal {

// Plays one whole game from the seed on the platform, its inputs met by
// `journal` (if any), telling `events` where it rests and that it reached
// an ending; returns how it ended.
using GameRunner = std::function<GameEnd(Platform&, std::uint32_t seed, GameEvents* events, InputJournal* journal)>;

// Opens the terminal a session plays on, once its journal is ready.
using TerminalOpener = std::function<std::unique_ptr<Platform>()>;

// How a session ended: the exit status, and what went wrong, to be said
// once the terminal is back as it was found: why the journal could not be
// played (status CouldNotPlay), or why the rest of a game was not kept.
struct SessionEnd {
    int status = 0;
    std::optional<Fault> fault;
    bool finished = false;  // the game reached one of its endings
};

// The status of a session that could not play the journal it was given.
inline constexpr int CouldNotPlay = 1;

// The header of a new game's journal, started at `started` on a terminal
// showing this banner border.
Header NewHeader(std::uint32_t seed, const std::string& gameVersion, Border border, std::time_t started);

// A new game on the terminal, recorded in the journal `open` opens, if any.
SessionEnd PlayNewGame(const GameRunner& run, Platform& terminal, std::uint32_t seed, const JournalOpener& open);

// Goes on with the store's chosen journal: replays its inputs without
// showing them, shows the last screen and plays on, appending to the same
// journal. A last input that ended the game (a Quit, or an Escape after a
// bad key) is taken back, and the game goes on from just before it. A
// journal that does not replay as recorded is refused, with nothing
// appended.
SessionEnd ContinueGame(const GameRunner& run, const TerminalOpener& open, JournalStore& store);

// Plays the store's chosen journal back at `speed` times its pace, and
// lets the viewer move through it: the game is deterministic, so each move
// replays it silently from its start up to the input moved to and draws
// that screen once. With `at`, the replay starts there, paused. A journal
// that does not replay as recorded is refused when the game strays from it.
SessionEnd WatchReplay(const GameRunner& run, const TerminalOpener& open, JournalStore& store, double speed,
                       std::optional<std::size_t> at = std::nullopt);

// The chosen journal read back, or why it cannot be.
Result<Contents> Load(JournalStore& store);

// A stretch of a recorded game, counted in inputs, for a cast of one scene:
// from the screen after the first `from` inputs (drawn at once) to the
// screen after input `to` (nothing: to the end of the game).
struct Stretch {
    std::size_t from = 0;
    std::optional<std::size_t> to;
};

// The replay of the store's chosen journal as an asciicast recording, or
// of a stretch of it; why not, when the journal does not replay.
Result<std::string> Cast(const GameRunner& run, JournalStore& store, double speed, const Stretch& stretch = {});

}  // namespace tg::journal
