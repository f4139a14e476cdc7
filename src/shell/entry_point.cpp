#include "shell/entry_point.hpp"

#include <charconv>
#include <ctime>
#include <iostream>

#include "console/console.hpp"
#include "console/system_terminal.hpp"
#include "shell/build_info.hpp"
#include "shell/game.hpp"
#include "shell/version_text.hpp"

namespace tg {

namespace {

std::optional<std::uint32_t> ParseSeed(const std::string& text) {
    std::uint32_t seed = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, seed);
    if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
    return seed;
}

Options Failure(std::string message) {
    Options options;
    options.action = Options::Action::Error;
    options.error = std::move(message);
    return options;
}

}  // namespace

Options ParseOptions(const std::vector<std::string>& arguments) {
    Options options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            options.action = Options::Action::Help;
            return options;
        }
        if (argument == "--version") {
            options.action = Options::Action::Version;
            return options;
        }
        std::string value;
        if (argument == "--seed") {
            if (i + 1 == arguments.size()) return Failure("option '--seed' needs a number");
            value = arguments[++i];
        } else if (argument.rfind("--seed=", 0) == 0) {
            value = argument.substr(7);
        } else {
            return Failure("unknown argument '" + argument + "'");
        }
        options.seed = ParseSeed(value);
        if (!options.seed) return Failure("the seed must be a whole number from 0 to 4294967295, not '" + value + "'");
    }
    return options;
}

std::string UsageText() {
    return "Usage: tender-gamble [--seed N]\n"
           "A text-mode dating game for the terminal.\n"
           "\n"
           "  --seed N     start the random generator at N (0 to 4294967295) to replay a game\n"
           "  --help       show this help and exit\n"
           "  --version    show the version and exit\n"
           "\n"
           "Every menu answers to one key; Escape after a bad key leaves the game.\n";
}

int RunFromCommandLine(int argc, char** argv) {
    const Options options = ParseOptions(std::vector<std::string>(argv + 1, argv + argc));
    switch (options.action) {
        case Options::Action::Help: std::cout << UsageText(); return 0;
        case Options::Action::Version: std::cout << VersionText(BuildVersion, BuildCommit); return 0;
        case Options::Action::Error:
            std::cerr << "tender-gamble: " << options.error << "\nTry 'tender-gamble --help'.\n";
            return 2;
        case Options::Action::Play: break;
    }
    Random random(options.seed ? *options.seed : static_cast<std::uint32_t>(std::time(nullptr)));
    const std::unique_ptr<Platform> terminal = OpenSystemTerminal();
    Console console(*terminal);
    Game game(console, random);
    game.StartGame();
}

}  // namespace tg
