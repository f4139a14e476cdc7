// The command line and fixed environment of a game run by the tests, and
// the state folder of the test run its journals go to.
#include "child_environment.hpp"

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <sys/resource.h>

namespace tg::e2e {

namespace {

// A private state folder for the games of this test run, so that their
// journals go neither to the user's folder nor to each other's runs.
class StateFolder {
public:
    StateFolder() {
        char pattern[] = "/tmp/tender-gamble-e2e-XXXXXX";
        if (mkdtemp(pattern)) path_ = pattern;
    }
    ~StateFolder() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

std::string NameOf(const std::string& entry) { return entry.substr(0, entry.find('=')); }

void Set(std::vector<std::string>& environment, const std::string& entry) {
    for (std::string& existing : environment) {
        if (NameOf(existing) == NameOf(entry)) {
            existing = entry;
            return;
        }
    }
    environment.push_back(entry);
}

}  // namespace

ChildCommand::ChildCommand(const std::string& binary, const std::vector<std::string>& arguments,
                           const std::vector<std::string>& overrides) {
    arguments_.push_back(binary);
    arguments_.insert(arguments_.end(), arguments.begin(), arguments.end());
    static const StateFolder state;
    environment_ = {"TERM=xterm-256color", "LANG=C.UTF-8", "PATH=/usr/bin:/bin", "XDG_STATE_HOME=" + state.Path()};
    for (const char* name : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"}) {
        if (const char* value = std::getenv(name)) Set(environment_, std::string(name) + "=" + value);
    }
    for (const std::string& entry : overrides) Set(environment_, entry);
    for (std::string& argument : arguments_) argv_.push_back(argument.data());
    argv_.push_back(nullptr);
    for (std::string& entry : environment_) envp_.push_back(entry.data());
    envp_.push_back(nullptr);
}

std::string GameBinary() {
    const char* chosen = std::getenv("TENDER_E2E_BINARY");
    return chosen && *chosen ? chosen : TENDER_BINARY;
}

void RestoreDefaultSignals() {
    for (int signal = 1; signal < NSIG; ++signal) {
        if (signal != SIGKILL && signal != SIGSTOP) std::signal(signal, SIG_DFL);
    }
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
}

void NoCoreFiles() {
    const rlimit none{0, 0};
    setrlimit(RLIMIT_CORE, &none);
}

}  // namespace tg::e2e
