// The status script: parsed once, played against the steady clock.
#include "sim/statusscript.h"

#include <algorithm>
#include <charconv>

namespace velmora::sim {

namespace {

constexpr double kLongestSeconds = 7 * 24 * 60 * 60;

bool knownName(std::string_view name) { return name == "silent" || findStatusBit(name) != nullptr; }

std::vector<std::string_view> words(std::string_view line) {
    std::vector<std::string_view> out;
    while (!line.empty()) {
        const auto start = line.find_first_not_of(" \t\r");
        if (start == std::string_view::npos) break;
        line.remove_prefix(start);
        const auto end = line.find_first_of(" \t\r");
        out.push_back(line.substr(0, end));
        line.remove_prefix(end == std::string_view::npos ? line.size() : end);
    }
    return out;
}

}  // namespace

std::optional<std::vector<ScriptEvent>> parseStatusScript(std::string_view text, std::string& error) {
    std::vector<ScriptEvent> events;
    int lineNo = 0;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++lineNo;
        line = line.substr(0, line.find('#'));
        const auto w = words(line);
        if (w.empty()) continue;
        double seconds = -1;
        const auto [stop, ec] = std::from_chars(w[0].data(), w[0].data() + w[0].size(), seconds);
        const bool timeOk = ec == std::errc() && stop == w[0].data() + w[0].size() && seconds >= 0 &&
                            seconds <= kLongestSeconds;
        if (w.size() != 3 || !timeOk || !knownName(w[1]) || (w[2] != "on" && w[2] != "off")) {
            error = "line " + std::to_string(lineNo) +
                    ": expected SECONDS NAME on|off, NAME a status bit (paper-empty, ...) or silent";
            return std::nullopt;
        }
        events.push_back({std::chrono::milliseconds(static_cast<long long>(seconds * 1000 + 0.5)),
                          std::string(w[1]), w[2] == "on"});
    }
    std::stable_sort(events.begin(), events.end(),
                     [](const ScriptEvent& a, const ScriptEvent& b) { return a.at < b.at; });
    return events;
}

std::size_t applyDueEvents(const std::vector<ScriptEvent>& events, std::size_t next,
                           std::chrono::milliseconds elapsed, Printer& printer) {
    for (; next < events.size() && events[next].at <= elapsed; ++next) {
        const ScriptEvent& e = events[next];
        if (e.name == "silent") {
            Faults faults = printer.faults();
            faults.silent = e.on;
            printer.setFaults(faults);
        } else {
            printer.setStatus(e.name, e.on);
        }
    }
    return next;
}

void StatusScriptPlayer::start() {
    stop();
    stopping_ = false;
    thread_ = std::thread([this] {
        const auto start = std::chrono::steady_clock::now();
        std::size_t next = 0;
        std::unique_lock lock(mutex_);
        while (next < events_.size()) {
            if (wake_.wait_until(lock, start + events_[next].at, [this] { return stopping_; })) return;
            const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
                std::chrono::steady_clock::now() - start);
            next = applyDueEvents(events_, next, elapsed, printer_);
        }
    });
}

void StatusScriptPlayer::stop() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
}

}  // namespace velmora::sim
