// Waits for input or time that a stop, a continue or a resize cannot slip
// in before.
#pragma once

#include <poll.h>
#include <signal.h>
#include <sys/select.h>

namespace tg {

// A wait that a stop (Ctrl-Z), a continue or a resize of the window cannot
// slip in before. While one lives, SIGTSTP, SIGCONT and SIGWINCH are held
// back, so the caller can look at what their handlers have noted and then
// wait: the signals come in only during the wait itself, which they cut
// short (EINTR). Without this, a continue arriving between the look and the
// wait would leave the game waiting for a key on a screen the shell has
// drawn over.
class StopAwareWait {
public:
    StopAwareWait();
    ~StopAwareWait();
    StopAwareWait(const StopAwareWait&) = delete;
    StopAwareWait& operator=(const StopAwareWait&) = delete;

    // As poll() on one descriptor; -1: no time limit.
    int Poll(pollfd& descriptor, int timeoutMilliseconds);
    // A sleep: 0 when the time has passed. It is a pselect() with no
    // descriptors, so that a trace of the game tells a pause from a wait
    // for a key (bench/measure.py cuts pauses short).
    int Sleep(int milliseconds);

private:
    sigset_t previous_;
};

}  // namespace tg
