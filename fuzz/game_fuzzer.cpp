// Plays one whole game from arbitrary bytes: the first four bytes seed the
// random generator (little-endian), the rest are the keys, name entry
// included. The game's rules are checked before every key; a broken rule,
// an exit status other than 0 or a sanitizer report is a finding.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "console/console.hpp"
#include "terminal/scripted_terminal.hpp"
#include "shell/game.hpp"
#include "people/random.hpp"
#include "support/game_watch.hpp"

namespace {

[[noreturn]] void Finding(const std::string& what, int keysRead) {
    std::fprintf(stderr, "broken game rule after %d keys: %s\n", keysRead, what.c_str());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr std::size_t SeedBytes = 4;
    if (size < SeedBytes) return 0;
    const std::uint32_t seed = static_cast<std::uint32_t>(data[0]) | static_cast<std::uint32_t>(data[1]) << 8 |
                               static_cast<std::uint32_t>(data[2]) << 16 | static_cast<std::uint32_t>(data[3]) << 24;

    tg::ScriptedTerminal terminal(std::string(reinterpret_cast<const char*>(data) + SeedBytes, size - SeedBytes));
    terminal.SetRecording(false);
    tg::watch::WatchedTerminal watched(terminal);
    tg::Console console(watched);
    tg::Random random(seed);
    tg::Game game(console, random);
    tg::watch::InvariantChecker checker(game);
    watched.SetBeforeRead([&](tg::watch::WatchedTerminal::Read) {
        if (std::string broken = checker.Check(); !broken.empty()) Finding(broken, terminal.KeysRead());
    });

    try {
        game.StartGame();
    } catch (const tg::ProgramEnded& ended) {
        if (std::string broken = checker.Check(); !broken.empty()) Finding(broken, terminal.KeysRead());
        if (ended.status != 0) Finding("exit status " + std::to_string(ended.status), terminal.KeysRead());
        return 0;
    }
    Finding("StartGame returned", terminal.KeysRead());
}
