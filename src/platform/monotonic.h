// Monotonic microseconds, for time stamps finer than the clock's milliseconds (the session trace).
#pragma once

#include <cstdint>

namespace velmora::platform {

std::uint64_t monotonicMicros();

}  // namespace velmora::platform
