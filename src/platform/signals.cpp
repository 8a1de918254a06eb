// SIGINT and SIGTERM taken with sigwait: the signals stay blocked everywhere, so no thread is
// interrupted and the waiting thread receives them as plain events.
#include "platform/signals.h"

#include <pthread.h>
#include <signal.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>

namespace velmora::platform {

namespace {
sigset_t terminationSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    return set;
}
}  // namespace

void blockTerminationSignals() {
    const sigset_t set = terminationSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

void waitForTerminationSignal() {
    const sigset_t set = terminationSignals();
    int received = 0;
    while (sigwait(&set, &received) != 0) {
    }
}

void ignoreBrokenPipe() { std::signal(SIGPIPE, SIG_IGN); }

static_assert(sizeof(sigset_t) <= 128, "TerminationSignals keeps the former mask in 128 bytes");

TerminationSignals::TerminationSignals() {
    const sigset_t set = terminationSignals();
    sigset_t saved;
    pthread_sigmask(SIG_BLOCK, &set, &saved);
    std::memcpy(saved_, &saved, sizeof saved);
}

TerminationSignals::~TerminationSignals() {
    sigset_t saved;
    std::memcpy(&saved, saved_, sizeof saved);
    pthread_sigmask(SIG_SETMASK, &saved, nullptr);
}

bool TerminationSignals::wait(unsigned ms) {
    const sigset_t set = terminationSignals();
    const timespec limit{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
    for (;;) {
        if (sigtimedwait(&set, nullptr, &limit) > 0) return true;
        if (errno != EINTR) return false;
    }
}

}  // namespace velmora::platform
