// The kept games as the player sees them: the list, one numbered line a
// game, most recently played first, and the journal a number in it names.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "console/terminal_capabilities.hpp"
#include "journal/fault.hpp"
#include "journal/sessions.hpp"
#include "journal/sessions.hpp"

namespace tg {

// The state folder's games, described by replaying each journal silently,
// one line of at most 80 columns a game; no journal is changed or locked.
// One line says so when there are none. `command` is how the player starts
// the game, named in the hints.
std::string GamesList(const journal::GameRunner& run, const Environment& environment, const std::string& command);

// The journal an argument names: a number, counted in the list GamesList
// shows, or else a file; NotFound for a number not in the list.
journal::Result<std::string> JournalNamed(const std::string& fileOrNumber, const Environment& environment);

}  // namespace tg
