// Local calendar fields through the C library's time-zone rules.
#include "platform/localtime.h"

#include <ctime>

namespace velmora::platform {

LocalTime toLocalTime(std::chrono::system_clock::time_point t) {
    const std::time_t secs = std::chrono::system_clock::to_time_t(t);
    std::tm tm{};
    localtime_r(&secs, &tm);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

std::optional<std::chrono::system_clock::time_point> fromLocalTime(const LocalTime& f) {
    std::tm tm{};
    tm.tm_year = f.year - 1900;
    tm.tm_mon = f.month - 1;
    tm.tm_mday = f.day;
    tm.tm_hour = f.hour;
    tm.tm_min = f.minute;
    tm.tm_sec = f.second;
    tm.tm_isdst = -1;  // let the zone's rules say whether summer time applies
    const std::time_t secs = std::mktime(&tm);
    if (secs == static_cast<std::time_t>(-1)) return std::nullopt;
    // mktime moves out-of-range fields into the next month; such fields named no real moment.
    if (tm.tm_year != f.year - 1900 || tm.tm_mon != f.month - 1 || tm.tm_mday != f.day) return std::nullopt;
    return std::chrono::system_clock::from_time_t(secs);
}

}  // namespace velmora::platform
