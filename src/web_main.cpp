// The game on a web page (the WebAssembly build). The page starts one
// instance of this program per game: `--seed N` for a new game,
// `--continue` to go on with the game the page keeps, `--replay NAME
// [--speed X]` to play back a journal the player opened. The page keeps
// every game's journal (src/journal/browser_journal.cpp).

#include <ctime>
#include <memory>

#include "console/system_terminal.hpp"
#include "journal/browser_journal.hpp"
#include "journal/page_sessions.hpp"
#include "shell/build_info.hpp"
#include "shell/entry_point.hpp"
#include "shell/play_game.hpp"

int main(int argc, char** argv) {
    const tg::Options options = tg::ParseOptions(std::vector<std::string>(argv + 1, argv + argc));
    const std::unique_ptr<tg::Platform> terminal = tg::OpenSystemTerminal();
    tg::journal::PageJournal& journal = tg::journal::BrowserJournal();
    switch (options.action) {
        case tg::Options::Action::Continue: tg::journal::ContinuePageGame(tg::PlayGame, *terminal, journal);
        case tg::Options::Action::Replay:
            tg::journal::ReplayOnPage(tg::PlayGame, *terminal, journal, options.replayFile, options.speed);
        default: break;
    }
    const std::uint32_t seed = options.seed ? *options.seed : static_cast<std::uint32_t>(std::time(nullptr));
    tg::journal::PlayNewPageGame(tg::PlayGame, *terminal, seed, std::string(tg::BuildVersion), journal);
}
