// The state folder, where the games played from a terminal are kept, and
// the journals in it, most recently played first.
#pragma once

#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "console/terminal_capabilities.hpp"
#include "journal/fault.hpp"

namespace tg::journal {

// The extension of the journals kept in the state folder.
inline constexpr const char* JournalExtension = ".journal";

// Where a player's journals are kept: $XDG_STATE_HOME/tender-gamble (by
// default ~/.local/state/tender-gamble), on Windows
// %LOCALAPPDATA%\tender-gamble; why not, when no such place is known.
Result<std::filesystem::path> StateFolder(const Environment& environment);

// A kept journal and when a game last wrote to it.
struct KeptJournal {
    std::filesystem::path path;
    std::time_t lastPlayed = 0;
};

// The journals in the folder, the most recently played (last written) first;
// games played in the same second come in the reverse order of their names.
std::vector<KeptJournal> KeptJournals(const std::filesystem::path& folder);

}  // namespace tg::journal
