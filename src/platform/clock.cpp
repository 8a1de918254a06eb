// Real and test clocks, and the hook that keeps a window painting during blocking waits.
#include "platform/clock.h"

#include <numeric>
#include <thread>

namespace velmora::platform {

namespace {
struct HookSlot {
    std::function<void()> hook;
    std::thread::id owner;  // only the thread that installed the hook (the window's) runs it
};
HookSlot& slot() {
    static HookSlot s;
    return s;
}
const std::function<void()>& hookSlot() {
    static const std::function<void()> none;
    HookSlot& s = slot();
    return s.hook && s.owner == std::this_thread::get_id() ? s.hook : none;
}
constexpr unsigned kHookSliceMs = 15;
}  // namespace

void setWaitHook(std::function<void()> hook) {
    slot().hook = std::move(hook);
    slot().owner = std::this_thread::get_id();
}

void runWaitHook() {
    if (const auto& hook = hookSlot()) hook();
}

bool hasWaitHook() { return static_cast<bool>(hookSlot()); }

void RealClock::sleepMs(unsigned ms) {
    const auto& hook = hookSlot();
    if (!hook) {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        return;
    }
    // Sleep in slices so the window can repaint, but keep the total pause exact.
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        hook();
        const auto now = std::chrono::steady_clock::now();
        if (now >= end) break;
        const auto left = end - now;
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(
            left, std::chrono::milliseconds(kHookSliceMs)));
    }
}

std::uint64_t RealClock::nowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::chrono::system_clock::time_point RealClock::wallNow() { return std::chrono::system_clock::now(); }

void TestClock::sleepMs(unsigned ms) {
    if (onSleep) onSleep(ms);
    pauses_.push_back(ms);
    now_ += ms;
    wall_ += std::chrono::milliseconds(ms);
}

std::chrono::system_clock::time_point TestClock::wallNow() { return wall_; }

unsigned TestClock::totalPaused() const { return std::accumulate(pauses_.begin(), pauses_.end(), 0u); }

RealClock& realClock() {
    static RealClock clock;
    return clock;
}

}  // namespace velmora::platform
