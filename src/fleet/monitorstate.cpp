// Changes between polls, and the back-off of a printer that is down.
#include "fleet/monitorstate.h"

#include <algorithm>
#include <cstdio>

namespace velmora::fleet {

namespace {

constexpr std::chrono::milliseconds kLongestBackoff{60000};

const StatusFlag* findFlag(const std::vector<StatusFlag>& flags, const std::string& name) {
    for (const StatusFlag& f : flags)
        if (f.name == name) return &f;
    return nullptr;
}

}  // namespace

std::string utcTimestamp(WallTime time) {
    const auto seconds = std::chrono::floor<std::chrono::seconds>(time);
    const auto days = std::chrono::floor<std::chrono::days>(seconds);
    const std::chrono::year_month_day date{days};
    const std::chrono::hh_mm_ss clock{seconds - days};
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02dZ", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<int>(clock.hours().count()), static_cast<int>(clock.minutes().count()),
                  static_cast<int>(clock.seconds().count()));
    return text;
}

std::string formatChange(const PrinterChange& c) {
    return c.printer + ", " + utcTimestamp(c.time) + ", " + c.key + ": " + c.value +
           (c.detail.empty() ? "" : " (" + c.detail + ")");
}

std::vector<PrinterChange> PrinterWatch::take(const PollReading& reading) {
    std::vector<PrinterChange> changes;
    auto add = [&](const std::string& key, const std::string& value, const std::string& detail = {}) {
        changes.push_back({line_, name_, reading.time, key, value, detail});
    };
    if (!last_ || last_->up != reading.up)
        add("up", reading.up ? "yes" : "no", reading.up ? "" : reading.why);
    if (reading.up) {
        if (!reading.statusValid) {
            if (statusReadable_) add("status", "unreadable", reading.why);
            statusReadable_ = false;
        } else {
            statusReadable_ = true;
            for (const StatusFlag& flag : reading.flags) {
                const StatusFlag* before = findFlag(knownFlags_, flag.name);
                if (before ? before->set != flag.set : flag.set) add(flag.name, flag.set ? "yes" : "no");
            }
            knownFlags_ = reading.flags;
        }
        if (reading.model && reading.model != model_) add("model", *reading.model);
        if (reading.firmware && reading.firmware != firmware_) add("firmware", *reading.firmware);
        if (reading.model) model_ = reading.model;
        if (reading.firmware) firmware_ = reading.firmware;
        if (reading.countersAsked) countersAbsent_ = !reading.countersAnswered;
    } else {
        countersAbsent_ = false;
    }
    failures_ = reading.up ? 0 : failures_ + 1;
    ++polls_;
    last_ = reading;
    return changes;
}

std::chrono::milliseconds nextPollDelay(std::chrono::milliseconds interval, unsigned failures) {
    if (failures == 0) return interval;
    const std::chrono::milliseconds longest = std::max(interval, kLongestBackoff);
    const unsigned doublings = std::min(failures - 1, 16u);
    return std::min(interval * (std::int64_t{1} << doublings), longest);
}

}  // namespace velmora::fleet
