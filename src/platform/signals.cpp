// SIGINT and SIGTERM taken with sigwait: the signals stay blocked everywhere, so no thread is
// interrupted and the waiting thread receives them as plain events.
#include "platform/signals.h"

#include <pthread.h>
#include <signal.h>

#include <csignal>

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

}  // namespace velmora::platform
