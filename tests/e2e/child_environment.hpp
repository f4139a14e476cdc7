// The command line and environment a test gives the game it starts.
#pragma once

#include <string>
#include <vector>

namespace tg::e2e {

// The command line and environment of one run of the game, built before
// forking so the child only has to call execve. The environment is fixed
// (a UTF-8 locale, an xterm, a state folder of the test run's own) apart from the sanitizer settings passed
// through; `overrides` are NAME=VALUE entries that replace or add to it.
class ChildCommand {
public:
    ChildCommand(const std::string& binary, const std::vector<std::string>& arguments,
                 const std::vector<std::string>& overrides);
    ChildCommand(const ChildCommand&) = delete;
    ChildCommand& operator=(const ChildCommand&) = delete;

    char* const* Argv() { return argv_.data(); }
    char* const* Envp() { return envp_.data(); }

private:
    std::vector<std::string> arguments_;
    std::vector<std::string> environment_;
    std::vector<char*> argv_;
    std::vector<char*> envp_;
};

// The game under test: the one built with the tests, or the one named by
// TENDER_E2E_BINARY (to try an installed or older build).
std::string GameBinary();

// In a forked child: every signal back to its default action and unblocked,
// as a freshly started program expects.
void RestoreDefaultSignals();
// In a forked child: a crash leaves no core file behind.
void NoCoreFiles();

}  // namespace tg::e2e
