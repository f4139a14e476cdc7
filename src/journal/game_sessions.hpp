#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "console/platform.hpp"
#include "console/terminal_capabilities.hpp"
#include "journal/game_runner.hpp"
#include "journal/journal_format.hpp"

namespace tg::journal {

using TerminalOpener = std::function<std::unique_ptr<Platform>()>;

struct SaveChoice {
    bool wanted = true;                // a journal in the state folder
    std::optional<std::string> file;  // --save FILE
    std::string gameVersion;           // for the journal's header
};

// A new game, recorded in a journal when the choice asks for one. A
// journal that cannot be written is reported on standard error before
// the game starts, and the game is played anyway.
[[noreturn]] void PlayNewGame(const GameRunner& run, const TerminalOpener& open, std::uint32_t seed,
                              const SaveChoice& save, const Environment& environment);

// The header of a new game's journal, started now on a terminal with this
// banner border.
Header NewHeader(std::uint32_t seed, const std::string& gameVersion, const BoxCharacters& box);

// Goes on with the most recent unfinished game, or the one in `file`.
// Returns an exit status when it cannot.
int ContinueGame(const GameRunner& run, const TerminalOpener& open, const std::optional<std::string>& file,
                 const Environment& environment);

}  // namespace tg::journal
