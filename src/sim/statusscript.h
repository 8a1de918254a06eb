// Timed changes of a running printer, so that a status monitor has something to see: status
// bits that come and go, and a printer that falls silent and answers again.
//
//   # seconds after the start, what, on or off
//   2    paper-empty on
//   5.5  paper-empty off
//   8    silent on
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "sim/printer.h"

namespace velmora::sim {

struct ScriptEvent {
    std::chrono::milliseconds at{0};  // after the start
    std::string name;                 // a status bit's name, or "silent"
    bool on = false;
};

// One event a line ("SECONDS NAME on|off"; '#' starts a comment), in time order (lines with the
// same time in file order). Nothing, with `error` naming the line, for anything else.
std::optional<std::vector<ScriptEvent>> parseStatusScript(std::string_view text, std::string& error);

// Applies the events from `next` on whose time has come by `elapsed`; returns the index of the
// first one still to come.
std::size_t applyDueEvents(const std::vector<ScriptEvent>& events, std::size_t next,
                           std::chrono::milliseconds elapsed, Printer& printer);

// Plays a script on a thread of its own from start() until its last event or stop().
class StatusScriptPlayer {
  public:
    StatusScriptPlayer(std::vector<ScriptEvent> events, Printer& printer)
        : events_(std::move(events)), printer_(printer) {}
    ~StatusScriptPlayer() { stop(); }
    StatusScriptPlayer(const StatusScriptPlayer&) = delete;
    StatusScriptPlayer& operator=(const StatusScriptPlayer&) = delete;

    void start();
    void stop();

  private:
    std::vector<ScriptEvent> events_;
    Printer& printer_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace velmora::sim
