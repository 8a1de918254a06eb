// Bounded waits on a file descriptor, shared by the device, socket and simulator classes of this
// layer (header only, internal to platform/). A wait that may run the window's wait hook wakes
// every few milliseconds to call it, so the window keeps painting while the program blocks.
#pragma once

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdint>

#include "platform/clock.h"

namespace velmora::platform::detail {

using Deadline = std::chrono::steady_clock::time_point;

// Whether a wait may call the window's wait hook. The simulator's side of a link runs on its
// own thread and must never repaint the window, so it waits with Hook::Skip.
enum class Hook { Run, Skip };

inline Deadline deadlineAfter(std::uint64_t ms) {
    // A day is "for ever" here, and keeps the time point far from overflow.
    constexpr std::uint64_t kLongestMs = 24ull * 60 * 60 * 1000;
    return std::chrono::steady_clock::now() + std::chrono::milliseconds(std::min(ms, kLongestMs));
}

// Whole milliseconds left until the deadline, rounded up, 0 once it has passed.
inline int msUntil(Deadline deadline) {
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
    return static_cast<int>(std::clamp<long long>(left, 0, INT_MAX));
}

// Waits until fd reports one of `events` or the deadline passes: the reported events (> 0), 0
// when the deadline passed first, -1 when poll itself fails. With fd < 0 it only waits.
inline constexpr int kHookSliceMs = 15;

inline int waitFor(int fd, short events, Deadline deadline, Hook hook) {
    constexpr int kSliceMs = kHookSliceMs;
    for (;;) {
        const bool slice = hook == Hook::Run && hasWaitHook();
        const int left = msUntil(deadline);
        pollfd entry{fd, events, 0};
        const int r = ::poll(&entry, 1, slice ? std::min(left, kSliceMs) : left);
        if (r > 0) return entry.revents;
        if (r < 0 && errno != EINTR) return -1;
        if (r == 0 && left == 0) return 0;
        if (slice) runWaitHook();
    }
}

// One read of what a non-blocking descriptor holds now: the count, 0 when nothing is there,
// -1 on an error.
inline long readAvailable(int fd, std::uint8_t* buf, std::size_t n) {
    if (fd < 0) return -1;
    if (n == 0) return 0;
    for (;;) {
        const ssize_t r = ::read(fd, buf, n);
        if (r >= 0) return static_cast<long>(r);
        if (errno == EINTR) continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) return 0;
        return -1;
    }
}

}  // namespace velmora::platform::detail
