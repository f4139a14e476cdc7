// What a kept game is, told by replaying its journal silently: how it
// stands at its last home menu, and how it ended if it has.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "console/game_events.hpp"
#include "journal/sessions.hpp"

namespace tg {

enum class Standing {
    Unfinished,     // the journal ends while the game waits for an input
    Quit,           // left with Quit (continuing takes it back)
    Escaped,        // left with Escape after a bad key (continuing takes it back)
    ReunionWon,     // ended at the reunion, with a partner
    ReunionLost,    // ended at the reunion, alone
    Damaged,        // the journal cannot be read, or does not replay
};

// The standing as a code a program can decide by (the web page does):
// "unfinished", "quit", "escaped", "won", "lost" or "damaged".
const char* StandingCode(Standing standing);

struct GameDescription {
    Standing standing = Standing::Unfinished;
    // How the game stood at the last home menu it reached; nothing when it
    // never got that far.
    std::optional<RestSummary> rest;
    std::string damage;  // why a damaged journal does not replay
};

// Replays the journal's bytes without showing anything or waiting.
GameDescription Describe(const journal::GameRunner& run, std::string_view bytes);

}  // namespace tg
