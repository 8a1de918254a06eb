// What a status monitor knows of one printer: the reading of its last poll, what changed since
// the one before (one line each), and when to poll it next. Plain data, no link: the poller fills
// a reading, this decides what it means.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velmora::fleet {

using WallTime = std::chrono::system_clock::time_point;

struct StatusFlag {
    std::string name;  // "paper-empty"
    bool set = false;
};

struct UsageCounter {
    std::string name;  // "motor", "cutter-permanent"
    std::string unit;  // "meter", "times"
    std::uint64_t value = 0;
};

// What one poll found.
struct PollReading {
    WallTime time{};                    // when it started
    std::chrono::milliseconds took{0};  // how long it took
    bool up = false;                    // a whole reply to the status query came
    std::string why;                    // not up: why not; up with no valid status: what came
    bool statusValid = false;
    std::vector<StatusFlag> flags;  // every named status bit, when statusValid
    bool countersAsked = false;
    bool countersAnswered = false;       // any counter query got any reply
    std::vector<UsageCounter> counters;  // the counters whose replies were valid
    std::optional<std::string> model;    // when asked and valid
    std::optional<std::string> firmware;
};

// One change: "127.0.0.2:9100, 2025-06-01T10:00:00Z, paper-empty: yes".
struct PrinterChange {
    int line = 0;         // the printer's line in the list
    std::string printer;  // as the list names it
    WallTime time{};
    std::string key;     // "up", a status bit's name, "status", "model", "firmware"
    std::string value;   // "yes", "no", "unreadable", a model's name
    std::string detail;  // why, after the value in brackets
};
std::string formatChange(const PrinterChange& change);
// "2025-06-01T10:00:00Z"
std::string utcTimestamp(WallTime time);

class PrinterWatch {
  public:
    PrinterWatch(int line, std::string name) : line_(line), name_(std::move(name)) {}

    // Takes a poll's reading and returns what changed. The first reading reports whether the
    // printer is up and the bits that are set; later ones only what differs. Status bits are
    // compared with the last valid status, across times the printer was down.
    std::vector<PrinterChange> take(const PollReading& reading);

    int line() const { return line_; }
    const std::string& name() const { return name_; }
    const std::optional<PollReading>& last() const { return last_; }
    std::uint64_t polls() const { return polls_; }
    unsigned failures() const { return failures_; }  // polls in a row that found it down
    const std::optional<std::string>& model() const { return model_; }
    const std::optional<std::string>& firmware() const { return firmware_; }

    // Model and firmware are asked when the printer comes up (the first time, or after it was
    // down: it may be another printer now).
    bool wantsFacts() const { return !last_ || !last_->up; }
    // Counters are asked at every poll, unless the printer answered none of them since it came up.
    bool wantsCounters() const { return !countersAbsent_; }

  private:
    int line_;
    std::string name_;
    std::optional<PollReading> last_;
    std::vector<StatusFlag> knownFlags_;  // of the last valid status
    bool statusReadable_ = true;
    bool countersAbsent_ = false;
    std::optional<std::string> model_;
    std::optional<std::string> firmware_;
    std::uint64_t polls_ = 0;
    unsigned failures_ = 0;
};

// The wait before the next poll: the interval after a poll that found the printer up; after n
// polls in a row that did not, interval × 2^(n−1), never more than a minute (or the interval,
// when that is longer), so a printer that comes back is seen within that.
std::chrono::milliseconds nextPollDelay(std::chrono::milliseconds interval, unsigned failures);

}  // namespace velmora::fleet
