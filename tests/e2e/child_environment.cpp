#include "child_environment.hpp"

#include <csignal>
#include <cstdlib>
#include <sys/resource.h>

namespace tg::e2e {

namespace {

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
    environment_ = {"TERM=xterm-256color", "LANG=C.UTF-8", "PATH=/usr/bin:/bin"};
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
