// The game on a web page (the WebAssembly build). The page starts one
// instance of this program per game, with one of
//   --seed N         a new game, its journal kept by the page
//   --continue       the game the page keeps, gone on with
//   --replay NAME    a journal the player opened, played back
// (src/journal/browser_journal.cpp is the page's side of the journal).
// These are the page's own words, not a player's, so they are read here
// in a few lines rather than by the command line's full parser.

#include <charconv>
#include <ctime>
#include <memory>
#include <string>

#include "console/system_terminal.hpp"
#include "journal/browser_journal.hpp"
#include "journal/page_sessions.hpp"
#include "shell/build_info.hpp"
#include "shell/play_game.hpp"

namespace {

// The seed the page gave, or the time.
std::uint32_t SeedFrom(const std::string& text) {
    std::uint32_t seed = 0;
    const auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), seed);
    if (text.empty() || error != std::errc() || stop != text.data() + text.size()) {
        return static_cast<std::uint32_t>(std::time(nullptr));
    }
    return seed;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string action = argc > 1 ? argv[1] : "";
    const std::string value = argc > 2 ? argv[2] : "";
    const std::unique_ptr<tg::Platform> terminal = tg::OpenSystemTerminal();
    tg::journal::PageJournal& journal = tg::journal::BrowserJournal();
    if (action == "--continue") tg::journal::ContinuePageGame(tg::PlayGame, *terminal, journal);
    if (action == "--replay") tg::journal::ReplayOnPage(tg::PlayGame, *terminal, journal, value, 1);
    tg::journal::PlayNewPageGame(tg::PlayGame, *terminal, SeedFrom(value), std::string(tg::BuildVersion), journal);
}
