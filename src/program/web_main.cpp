// The game on a web page (the WebAssembly build). The page starts one
// instance of this program per game, with one of
//   --seed N         a new game, its journal kept by the page
//   --continue       the game the page keeps, gone on with
//   --replay NAME [--at N]
//                    a journal the player opened, played back (from the
//                    screen after its first N inputs, paused)
//   --describe       a kept journal, replayed silently to tell how its game
//                    stands: one line of tab-separated cells on the output
// (src/program/browser_store.cpp is the page's side of the journal).
// These are the page's own words, not a player's, so they are read here
// in a few lines rather than by the command line's full parser.

#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <cstdio>

#include "journal/sessions.hpp"
#include "journal/whole_number.hpp"
#include "program/browser_store.hpp"
#include "program/build_info.hpp"
#include "program/game_description.hpp"
#include "shell/play_game.hpp"
#include "terminal/browser_page.hpp"
#include "terminal/system_terminal.hpp"

namespace {

// The seed the page gave, or the time.
std::uint32_t SeedFrom(const std::string& text) {
    return tg::WholeNumber<std::uint32_t>(text).value_or(static_cast<std::uint32_t>(std::time(nullptr)));
}

tg::GameEnd RunGame(tg::Platform& platform, std::uint32_t seed, tg::GameEvents* events, tg::InputJournal* journal) {
    return tg::PlayGame(platform, seed, events, journal);
}

// A new game; a journal the page cannot keep leaves it unrecorded.
tg::journal::SessionEnd PlayNew(tg::BrowserStore& store, std::uint32_t seed) {
    const tg::journal::Result<tg::journal::JournalSink*> journal = store.Create(
        tg::journal::NewHeader(seed, std::string(tg::BuildVersion), tg::Border::DoubleLines, std::time(nullptr)));
    const std::unique_ptr<tg::Platform> terminal = tg::OpenSystemTerminal();
    tg::journal::JournalOpener open;
    if (journal) open = [sink = *journal] { return sink; };
    return tg::journal::PlayNewGame(RunGame, *terminal, seed, open);
}

// The input a replay starts at (--at N), or nothing; the page checks N
// against the game before it asks.
std::optional<std::size_t> StartingInput(int argc, char** argv) {
    if (argc < 5 || std::string(argv[3]) != "--at") return std::nullopt;
    return tg::WholeNumber<std::size_t>(argv[4]);
}

std::vector<std::string> Cells(const tg::GameDescription& description, const std::string& standing) {
    if (!description.rest) return {"", "", "in the opening", "", standing};
    const tg::RestSummary& rest = *description.rest;
    const std::string closest = rest.closest.empty() ? "nobody yet" : rest.closest + " (" + rest.closestStage + ")";
    return {rest.mode, rest.player, rest.clock, closest, standing};
}

// How a described game stands, in the page's words: mode, player, day and
// time, the person furthest along, and how it stands (one cell, with why,
// for a damaged journal).
std::vector<std::string> DescriptionCells(const tg::GameDescription& description) {
    using tg::Standing;
    switch (description.standing) {
        case Standing::Damaged: return {"damaged: " + description.damage};
        case Standing::Unfinished: break;
        case Standing::Quit: return Cells(description, "left with Quit");
        case Standing::Escaped: return Cells(description, "left with Escape");
        case Standing::ReunionWon: return Cells(description, "ended: the reunion won");
        case Standing::ReunionLost: return Cells(description, "ended: the reunion lost");
    }
    return Cells(description, "unfinished");
}

// The page's list of kept games: how a game stands as a code the page
// decides by, then the cells it shows.
void DescribeChosen(tg::BrowserStore& store) {
    const tg::journal::Result<std::string> bytes = store.Read();
    const tg::GameDescription description =
        bytes ? tg::Describe(RunGame, *bytes)
              : tg::GameDescription{tg::Standing::Damaged, std::nullopt, bytes.Error().detail};
    std::string line = tg::StandingCode(description.standing);
    for (const std::string& cell : DescriptionCells(description)) line += "\t" + cell;
    std::puts(line.c_str());
}

// Why the page's journal could not be played, in the page's words: the
// saved game (continuing), or the journal opened under `name` (replaying).
std::string Refusal(const tg::journal::Fault& fault, bool continuing, const std::string& name) {
    if (fault.kind == tg::journal::Fault::Kind::Over) return "The saved game is over: it can only be replayed.";
    std::string detail = fault.detail;
    if (fault.kind == tg::journal::Fault::Kind::Strays) {
        detail += " (the journal is from another version of the game, or it was changed)";
    }
    if (fault.kind == tg::journal::Fault::Kind::InUse) detail = "it is being played in another tab";
    return (continuing ? "The saved game cannot be continued: " : name + " cannot be replayed: ") + detail + ".";
}

}  // namespace

int main(int argc, char** argv) {
    const std::string action = argc > 1 ? argv[1] : "";
    const std::string value = argc > 2 ? argv[2] : "";
    tg::BrowserStore store;
    tg::journal::SessionEnd end;
    if (action == "--describe") {
        DescribeChosen(store);
        tg::EndPageGame(0);
        return 0;
    }
    if (action == "--continue") {
        end = tg::journal::ContinueGame(RunGame, tg::OpenSystemTerminal, store);
    } else if (action == "--replay") {
        end = tg::journal::WatchReplay(RunGame, tg::OpenSystemTerminal, store, 1, StartingInput(argc, argv));
    } else {
        end = PlayNew(store, SeedFrom(value));
    }
    // What the page is told is why a journal could not be played; a game
    // that could not be kept plays on without a word, as it always has.
    if (end.status == tg::journal::CouldNotPlay && end.fault) {
        tg::ReportOnPage(Refusal(*end.fault, action == "--continue", value));
    }
    tg::EndPageGame(end.status);
    return 0;
}
