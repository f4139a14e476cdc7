// ppoll and pselect with the stop and resize signals let in only during
// the wait.
#include "terminal/posix_stop_aware_wait.hpp"

#include <ctime>

namespace tg {

namespace {
timespec Duration(int milliseconds) { return timespec{milliseconds / 1000, (milliseconds % 1000) * 1'000'000L}; }
}  // namespace

StopAwareWait::StopAwareWait() {
    sigset_t stops;
    sigemptyset(&stops);
    sigaddset(&stops, SIGTSTP);
    sigaddset(&stops, SIGCONT);
    sigaddset(&stops, SIGWINCH);
    sigprocmask(SIG_BLOCK, &stops, &previous_);
}

StopAwareWait::~StopAwareWait() { sigprocmask(SIG_SETMASK, &previous_, nullptr); }

int StopAwareWait::Poll(pollfd& descriptor, int timeoutMilliseconds) {
    const timespec timeout = Duration(timeoutMilliseconds);
    return ppoll(&descriptor, 1, timeoutMilliseconds < 0 ? nullptr : &timeout, &previous_);
}

int StopAwareWait::Sleep(int milliseconds) {
    const timespec duration = Duration(milliseconds);
    return pselect(0, nullptr, nullptr, nullptr, &duration, &previous_);
}

}  // namespace tg
