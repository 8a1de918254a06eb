// Time for everything that pauses: the real clock sleeps, the test clock only records the pause,
// so tests can assert every pause without waiting for it.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

namespace velmora::platform {

class Clock {
public:
    virtual ~Clock() = default;
    // Blocks the caller for `ms` milliseconds (the window keeps repainting, see waitHook).
    virtual void sleepMs(unsigned ms) = 0;
    // Monotonic milliseconds, for measuring elapsed time.
    virtual std::uint64_t nowMs() = 0;
    // Wall-clock time, for the printer clock and time stamps.
    virtual std::chrono::system_clock::time_point wallNow() = 0;
};

class RealClock final : public Clock {
public:
    void sleepMs(unsigned ms) override;
    std::uint64_t nowMs() override;
    std::chrono::system_clock::time_point wallNow() override;
};

// Records pauses instead of sleeping; time moves only by those pauses (and by advance()).
class TestClock final : public Clock {
public:
    void sleepMs(unsigned ms) override;
    std::uint64_t nowMs() override { return now_; }
    std::chrono::system_clock::time_point wallNow() override;

    void advance(unsigned ms) { now_ += ms; }
    void setWall(std::chrono::system_clock::time_point t) { wall_ = t; }
    const std::vector<unsigned>& pauses() const { return pauses_; }
    unsigned totalPaused() const;
    void clearPauses() { pauses_.clear(); }
    // Called with each pause before it is recorded; lets a test act "during" a wait.
    std::function<void(unsigned)> onSleep;

private:
    std::vector<unsigned> pauses_;
    std::uint64_t now_ = 0;
    std::chrono::system_clock::time_point wall_{};
};

// The window program installs a hook that repaints (and holds user input back) while the
// program blocks in a sleep or a bounded socket wait. Blocking waits call it every few
// milliseconds; without a hook they simply block. Only the thread that installed the hook runs it,
// so a simulator thread in the same program never touches the window.
void setWaitHook(std::function<void()> hook);
void runWaitHook();
// Whether a hook is installed: bounded waits slice themselves only then.
bool hasWaitHook();

// The one process-wide clock the programs use; tests pass their own clock instead.
RealClock& realClock();

}  // namespace velmora::platform
