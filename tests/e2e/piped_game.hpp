// The built game run with pipes for its input, output and error.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace tg::e2e {

// The built game with its standard input, output and error on pipes, as
// in `keys | tender-gamble | reader`. Output is collected up to a limit; a
// game that writes more than that is stopped and reported as unbounded.
class PipedGame {
public:
    struct Options {
        std::vector<std::string> arguments;
        std::size_t outputLimit = 8u << 20;
        // Closes the reading end of standard output before the game
        // writes a byte.
        bool closedOutput = false;
        // Standard input shared with O_NONBLOCK set, as another program
        // may leave a descriptor it shares with the game.
        bool nonBlockingInput = false;
        // NAME=VALUE entries added to (or replacing) the fixed environment.
        std::vector<std::string> environment = {};
    };

    explicit PipedGame(const Options& options);
    ~PipedGame();
    PipedGame(const PipedGame&) = delete;
    PipedGame& operator=(const PipedGame&) = delete;

    // Writes to the game's standard input, reading its output meanwhile.
    // False when the game stopped reading (it ended).
    bool Type(const std::string& bytes);
    void CloseInput();
    // The reader of the game's standard output goes away.
    void CloseOutput();

    // Collects output until it holds the text (after `from`), the game
    // ends, or the time is up.
    bool WaitForOutput(const std::string& text, std::size_t from = 0,
                       std::chrono::milliseconds patience = std::chrono::milliseconds(10'000));
    // The wait status once the game has ended and its output is all read.
    std::optional<int> WaitForExit(std::chrono::milliseconds patience = std::chrono::milliseconds(10'000));

    const std::string& Output() const { return output_; }
    const std::string& Errors() const { return errors_; }
    bool OutputOverflowed() const { return overflowed_; }

private:
    void Pump(int milliseconds);
    void Reap();

    int input_ = -1;
    int output_fd_ = -1;
    int errors_fd_ = -1;
    pid_t pid_ = -1;
    bool ended_ = false;
    int status_ = 0;
    bool overflowed_ = false;
    std::size_t outputLimit_;
    std::string output_;
    std::string errors_;
};

struct PipedResult {
    std::optional<int> status;  // nothing: still running when time was up
    std::string output;
    std::string errors;
    bool overflowed = false;
};

// Runs the game on the whole input, then the end of input.
PipedResult RunPiped(const std::vector<std::string>& arguments, const std::string& input,
                     std::chrono::milliseconds patience = std::chrono::milliseconds(10'000),
                     const std::vector<std::string>& environment = {});

}  // namespace tg::e2e
