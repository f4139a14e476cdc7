// The command line's options and the program that plays from them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tg {

// What the command line asks for.
struct Options {
    enum class Action { Play, Continue, Replay, Share, Games, Help, Version, Error };
    Action action = Action::Play;
    std::optional<std::uint32_t> seed;
    std::optional<std::string> continueFile;  // --continue FILE or LINK, or a number from --games
    std::string replayFile;                   // --replay FILE or LINK, or a number from --games
    std::string shareFile;                    // --share FILE, or a number from --games
    std::optional<std::string> base;          // --base URL: the page a shared link opens
    std::optional<std::string> castFile;      // --cast OUT
    double speed = 1.0;
    std::optional<std::size_t> at;    // --at N: the moment a shared link names
    std::optional<std::size_t> from;  // --from N --to M: the stretch a cast holds
    std::optional<std::size_t> to;
    std::optional<std::string> saveFile;  // --save FILE
    bool noSave = false;
    std::string command = "tender-gamble";  // how the player started the game, for the hints
    std::string error;
};

Options ParseOptions(const std::vector<std::string>& arguments);

std::string UsageText();

// The program: reads the options, then plays in this process's terminal;
// returns the exit status.
int RunFromCommandLine(int argc, char** argv);

}  // namespace tg
