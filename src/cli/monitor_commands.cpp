// velmora-cli --printers FILE monitor: every printer of the list polled on a thread of its own,
// so a printer that is silent costs only its own bounded waits; one line per change on standard
// output, and the state as Prometheus metrics at /metrics. Runs until SIGTERM or SIGINT.
#include <algorithm>
#include <atomic>
#include <charconv>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <system_error>
#include <ostream>
#include <thread>

#include "cli/commands.h"
#include "cli/fleet.h"
#include "cli/printerpoll.h"
#include "cli/report.h"
#include "fleet/metrics.h"
#include "fleet/monitorstate.h"
#include "platform/httpserver.h"
#include "platform/signals.h"

namespace velmora::cli {

namespace {

using Steady = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr milliseconds kShortestInterval{100};
constexpr milliseconds kLongestInterval{24 * 60 * 60 * 1000};
// Without --timeout, a poll's waits stay within half the interval (and the link's own bounds).
constexpr unsigned kShortestBoundMs = 200;
constexpr unsigned kLongestBoundMs = 3000;

struct MonitorArgs {
    milliseconds interval{10000};
    std::string listenHost;  // empty: no metrics
    unsigned listenPort = 0;
    std::optional<std::uint64_t> count;  // polls of each printer, then the monitor ends
};

// "10", "0.5": seconds with at most three decimals.
std::optional<milliseconds> parseSeconds(const std::string& text) {
    const auto dot = text.find('.');
    const std::string whole = text.substr(0, dot);
    std::string fraction = dot == std::string::npos ? "" : text.substr(dot + 1);
    if ((whole.empty() && fraction.empty()) || whole.size() > 6 || fraction.size() > 3 ||
        whole.find_first_not_of("0123456789") != std::string::npos ||
        fraction.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    fraction.resize(3, '0');
    return milliseconds((whole.empty() ? 0 : std::stoll(whole)) * 1000 + std::stoll(fraction));
}

// "ADDRESS:PORT" or "[IPV6]:PORT"; port 0 picks a free one.
bool parseListen(const std::string& text, MonitorArgs& a) {
    const auto colon = text.rfind(':');
    if (colon == std::string::npos || colon == 0) return false;
    std::string host = text.substr(0, colon);
    if (host.front() == '[') {
        if (host.back() != ']') return false;
        host = host.substr(1, host.size() - 2);
    } else if (host.find(':') != std::string::npos) {
        return false;  // an IPv6 address needs its brackets
    }
    const std::string port = text.substr(colon + 1);
    unsigned value = 0;
    const auto [end, ec] = std::from_chars(port.data(), port.data() + port.size(), value);
    if (host.empty() || port.empty() || ec != std::errc() || end != port.data() + port.size() ||
        value > 65535)
        return false;
    a.listenHost = host;
    a.listenPort = value;
    return true;
}

std::optional<MonitorArgs> parseMonitorArgs(const Args& args, std::string& error) {
    MonitorArgs a;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& name = args[i];
        if (i + 1 >= args.size()) {
            error = name + " needs a value";
            return std::nullopt;
        }
        const std::string& value = args[++i];
        if (name == "--interval") {
            const auto interval = parseSeconds(value);
            if (!interval || *interval < kShortestInterval || *interval > kLongestInterval) {
                error = "--interval takes seconds from 0.1 to 86400";
                return std::nullopt;
            }
            a.interval = *interval;
        } else if (name == "--listen") {
            if (!parseListen(value, a)) {
                error = "--listen takes ADDRESS:PORT ([ADDRESS]:PORT for IPv6)";
                return std::nullopt;
            }
        } else if (name == "--count") {
            std::uint64_t n = 0;
            const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), n);
            if (ec != std::errc() || end != value.data() + value.size() || n == 0) {
                error = "--count takes a number of polls";
                return std::nullopt;
            }
            a.count = n;
        } else {
            error = "monitor takes --interval, --listen and --count, not " + name;
            return std::nullopt;
        }
    }
    return a;
}

class Monitor {
  public:
    Monitor(const std::vector<FleetPrinter>& printers, const MonitorArgs& args, bool json,
            platform::DeviceFactory& devices, platform::Clock& clock, std::ostream& out)
        : printers_(printers), args_(args), json_(json), devices_(devices), clock_(clock), out_(out) {
        for (const FleetPrinter& p : printers) watches_.emplace_back(p.line, p.name);
    }
    ~Monitor() { stop(); }

    void start() {
        running_ = printers_.size();
        for (std::size_t i = 0; i < printers_.size(); ++i) threads_.emplace_back([this, i] { watch(i); });
    }
    void stop() {
        {
            const std::lock_guard lock(stateMutex_);
            stopping_ = true;
        }
        wake_.notify_all();
        for (auto& t : threads_) t.join();
        threads_.clear();
    }
    bool finished() const { return running_ == 0; }
    std::vector<fleet::PrinterWatch> snapshot() {
        const std::lock_guard lock(stateMutex_);
        return watches_;
    }

  private:
    void watch(std::size_t i) {
        const FleetPrinter& printer = printers_[i];
        auto next = Steady::now();
        for (std::uint64_t n = 0; !args_.count || n < *args_.count; ++n) {
            PollAsk ask;
            {
                std::unique_lock lock(stateMutex_);
                if (wake_.wait_until(lock, next, [this] { return stopping_; })) break;
                ask = {watches_[i].wantsFacts(), watches_[i].wantsCounters()};
            }
            const auto started = Steady::now();
            const fleet::PollReading reading = pollPrinter(printer.options, ask, devices_, clock_);
            std::vector<fleet::PrinterChange> changes;
            unsigned failures = 0;
            {
                const std::lock_guard lock(stateMutex_);
                changes = watches_[i].take(reading);
                failures = watches_[i].failures();
            }
            if (!changes.empty()) {
                const std::lock_guard lock(outMutex_);
                for (const auto& c : changes) out_ << changeLine(printer, c) << '\n';
                out_.flush();
            }
            next = started + fleet::nextPollDelay(args_.interval, failures);
        }
        --running_;
    }

    std::string changeLine(const FleetPrinter& printer, const fleet::PrinterChange& c) const {
        if (!json_) return fleet::formatChange(c);
        return changeJson(printer.options, FleetPlace{printer.name, printer.line, 0}, fleet::utcTimestamp(c.time),
                          c.key, c.value, c.detail);
    }

    const std::vector<FleetPrinter>& printers_;
    const MonitorArgs& args_;
    const bool json_;
    platform::DeviceFactory& devices_;
    platform::Clock& clock_;
    std::ostream& out_;
    std::mutex stateMutex_;  // watches_ and stopping_
    std::mutex outMutex_;    // out_
    std::condition_variable wake_;
    std::vector<fleet::PrinterWatch> watches_;
    std::vector<std::thread> threads_;
    std::atomic<std::size_t> running_{0};
    bool stopping_ = false;
};

int runMonitor(FleetRun& run, const Args& rest) {
    std::string error;
    const auto args = parseMonitorArgs(rest, error);
    if (!args) {
        run.err << "velmora-cli: " << error << '\n';
        return kExitUsage;
    }
    // Each printer's waits stay within the interval, so a silent one is polled on time too.
    std::vector<FleetPrinter> printers = run.printers;
    const auto bound = static_cast<unsigned>(
        std::clamp<std::int64_t>(args->interval.count() / 2, kShortestBoundMs, kLongestBoundMs));
    for (FleetPrinter& p : printers)
        if (!p.options.timeoutMs) p.options.timeoutMs = bound;

    // Blocked before any thread starts, so only this thread takes the signals.
    platform::TerminationSignals signals;
    Monitor monitor(printers, *args, run.options.json, run.devices, run.clock, run.out);
    platform::HttpServer metrics([&monitor](const platform::HttpRequest& request) {
        if (request.path == "/metrics")
            return platform::HttpResponse{200, fleet::kMetricsContentType,
                                          fleet::renderMetrics(monitor.snapshot())};
        if (request.path == "/")
            return platform::HttpResponse{200, "text/plain; charset=utf-8",
                                          "velmora-cli monitor: see /metrics\n"};
        return platform::HttpResponse{404, "text/plain; charset=utf-8", "not found\n"};
    });
    if (!args->listenHost.empty()) {
        if (!metrics.start(args->listenHost, args->listenPort)) {
            run.err << "velmora-cli: cannot serve metrics: " << metrics.error() << '\n';
            return kExitFailure;
        }
        const std::string host =
            args->listenHost.find(':') != std::string::npos ? "[" + args->listenHost + "]" : args->listenHost;
        run.err << "velmora-cli: metrics at http://" << host << ":" << metrics.port() << "/metrics\n";
    }
    run.err << "velmora-cli: watching " << printers.size()
            << (printers.size() == 1 ? " printer" : " printers") << " every "
            << static_cast<double>(args->interval.count()) / 1000.0 << " s\n";
    run.err.flush();

    try {
        monitor.start();
    } catch (const std::system_error& e) {
        monitor.stop();
        run.err << "velmora-cli: cannot start a thread for each of " << printers.size() << " printers: " << e.what()
                << '\n';
        return kExitFailure;
    }
    bool signalled = false;
    while (!monitor.finished())
        if (signals.wait(200)) {
            signalled = true;
            break;
        }
    monitor.stop();
    metrics.stop();
    // Ended by a signal, the monitor did its work; with --count, whether every printer was up
    // at its last poll.
    const auto last = monitor.snapshot();
    const auto down = static_cast<std::size_t>(std::count_if(
        last.begin(), last.end(), [](const fleet::PrinterWatch& w) { return !w.last() || !w.last()->up; }));
    const int status = signalled || down == 0 ? kExitOk : kExitFailure;
    if (run.options.json) run.out << fleetSummaryJson(run.options, printers.size(), down, status) << '\n';
    return status;
}

const bool registered = registerCommand({
    "monitor",
    "monitor [--interval S] [--listen ADDR:PORT] [--count N]   with --printers FILE: status and counters of "
    "each printer every S seconds (10), a line per change, Prometheus metrics at /metrics",
    [](const Args&) { return true; },  // the command names what is wrong itself
    [](Session& s, const Args&) {
        s.err << "velmora-cli: monitor watches the printers of a list: velmora-cli --printers FILE monitor\n";
        return static_cast<int>(kExitUsage);
    },
    [](const Args&) { return true; },
    {},
    runMonitor,
});

}  // namespace

}  // namespace velmora::cli
