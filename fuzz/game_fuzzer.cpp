// Plays one whole game from arbitrary bytes: the first four bytes seed the
// random generator (little-endian), the rest are the keys, name entry
// included. The game's rules are checked before every key and at an ending;
// a broken rule, an exit status other than 0 or a sanitizer report is a
// finding.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "console/game_events.hpp"
#include "shell/game.hpp"
#include "shell/play_game.hpp"
#include "support/game_watch.hpp"
#include "support/scripted_terminal.hpp"

namespace {

[[noreturn]] void Finding(const std::string& what, int keysRead) {
    std::fprintf(stderr, "broken game rule after %d keys: %s\n", keysRead, what.c_str());
    std::abort();
}

// Checks the game's rules against the state it is in now: before every
// read, and when an ending is shown (the keys that led there are checked by
// no read after them).
class RuleWatch : public tg::GameEvents {
public:
    explicit RuleWatch(const tg::ScriptedTerminal& terminal) : terminal_(terminal) {}

    // Before the first screen, with the game that is about to be played.
    void Start(const tg::Game& game) { checker_.emplace(game); }

    void Check() {
        if (!checker_) Finding("the game read a key before it was shown to the checker", terminal_.BytesRead());
        if (std::string broken = checker_->Check(); !broken.empty()) Finding(broken, terminal_.BytesRead());
    }

    void Ending() override { Check(); }

private:
    const tg::ScriptedTerminal& terminal_;
    std::optional<tg::watch::InvariantChecker> checker_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr std::size_t SeedBytes = 4;
    if (size < SeedBytes) return 0;
    const std::uint32_t seed = static_cast<std::uint32_t>(data[0]) | static_cast<std::uint32_t>(data[1]) << 8 |
                               static_cast<std::uint32_t>(data[2]) << 16 | static_cast<std::uint32_t>(data[3]) << 24;

    tg::watch::WatchedTerminal watched(std::string(reinterpret_cast<const char*>(data) + SeedBytes, size - SeedBytes));
    const tg::ScriptedTerminal& terminal = watched;
    RuleWatch rules(terminal);
    watched.SetBeforeRead([&](tg::watch::WatchedTerminal::Read) { rules.Check(); });

    const tg::GameEnd end = tg::PlayGame(watched, seed, &rules, nullptr, [&](const tg::Game& game) { rules.Start(game); });
    if (end.status != 0) Finding("exit status " + std::to_string(end.status), terminal.BytesRead());
    return 0;
}
