// Monotonic microseconds from the system's steady clock.
#include "platform/monotonic.h"

#include <chrono>

namespace velmora::platform {

std::uint64_t monotonicMicros() {
    return static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now().time_since_epoch())
            .count());
}

}  // namespace velmora::platform
