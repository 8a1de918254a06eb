// Calendar fields of a moment in the computer's local time zone, and back. The printer's clock
// is set from these; keeping the time-zone lookup here keeps the tools free of C library calls.
#pragma once

#include <chrono>
#include <optional>

namespace velmora::platform {

struct LocalTime {
    int year = 1970;
    int month = 1;  // 1 ... 12
    int day = 1;    // 1 ... 31
    int hour = 0;   // 0 ... 23
    int minute = 0;
    int second = 0;

    friend bool operator==(const LocalTime&, const LocalTime&) = default;
};

// The local calendar fields of `t` (whole seconds).
LocalTime toLocalTime(std::chrono::system_clock::time_point t);
// The moment that the local calendar fields name; nothing when they name no moment the C
// library can represent. Out-of-range fields are not normalised: 31 April is refused.
std::optional<std::chrono::system_clock::time_point> fromLocalTime(const LocalTime& fields);

}  // namespace velmora::platform
