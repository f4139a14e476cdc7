// Where a player's journals are kept, how they are named, and which one
// --continue takes.
#pragma once

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>

#include "console/terminal_capabilities.hpp"

namespace tg::journal {

// Where a player's journals are kept: $XDG_STATE_HOME/tender-gamble (by
// default ~/.local/state/tender-gamble), on Windows
// %LOCALAPPDATA%\tender-gamble. Nothing when no such place is known.
std::optional<std::filesystem::path> StateFolder(const Environment& environment, std::string& error);

// Makes the folder (and the folders above it) private to the user.
bool MakeFolder(const std::filesystem::path& folder, std::string& error);

// A journal's file name: its start time (UTC) and seed, with a number added
// for a second game started in the same second with the same seed.
std::string JournalName(std::time_t started, std::uint32_t seed, int copy = 1);

// The time as the journal header writes it.
std::string UtcText(std::time_t time);

// The journal of the most recently played game that has not reached an
// ending and is not being played right now. A journal that cannot be read
// counts as unfinished, so that what is wrong with it is reported.
std::optional<std::filesystem::path> LatestUnfinished(const std::filesystem::path& folder);

}  // namespace tg::journal
