#include "console/posix_stop_aware_wait.hpp"

#include <ctime>

namespace tg {

StopAwareWait::StopAwareWait() {
    sigset_t stops;
    sigemptyset(&stops);
    sigaddset(&stops, SIGTSTP);
    sigaddset(&stops, SIGCONT);
    sigprocmask(SIG_BLOCK, &stops, &previous_);
}

StopAwareWait::~StopAwareWait() { sigprocmask(SIG_SETMASK, &previous_, nullptr); }

int StopAwareWait::Poll(pollfd* descriptors, nfds_t count, int timeoutMilliseconds) {
    timespec timeout{timeoutMilliseconds / 1000, (timeoutMilliseconds % 1000) * 1'000'000L};
    return ppoll(descriptors, count, timeoutMilliseconds < 0 ? nullptr : &timeout, &previous_);
}

}  // namespace tg
