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

}  // namespace velmora::platform
