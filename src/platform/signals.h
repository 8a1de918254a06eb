// Waiting for the end of a long-running program (the simulator) on SIGINT or SIGTERM, without
// asynchronous signal handlers: the signals are blocked and then taken synchronously.
#pragma once

namespace velmora::platform {

// Blocks SIGINT and SIGTERM in the calling thread and in every thread it starts afterwards.
// Call before starting any thread.
void blockTerminationSignals();
// Waits until SIGINT or SIGTERM arrives (they must be blocked first).
void waitForTerminationSignal();
// A write to a closed pipe then fails with EPIPE instead of ending the process, so a program
// can report it and choose its exit status.
void ignoreBrokenPipe();

// For its life, SIGINT and SIGTERM are blocked in the calling thread (threads started meanwhile
// inherit the block) and taken only by wait(); the thread's former mask comes back at the end.
class TerminationSignals {
public:
    TerminationSignals();
    ~TerminationSignals();
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;
    // True when SIGINT or SIGTERM arrived within `ms`.
    bool wait(unsigned ms);

private:
    unsigned char saved_[128];  // the former sigset_t, kept opaque here
};

}  // namespace velmora::platform
