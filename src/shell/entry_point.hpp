#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tg {

// What the command line asks for.
struct Options {
    enum class Action { Play, Help, Version, Error };
    Action action = Action::Play;
    std::optional<std::uint32_t> seed;
    std::string error;
};

Options ParseOptions(const std::vector<std::string>& arguments);

std::string UsageText();

// The program: reads the options, then plays in this process's terminal.
int RunFromCommandLine(int argc, char** argv);

}  // namespace tg
