// velmora-cli monitor as a service runs it, over five simulators on loopback addresses: one with
// its counters set, one with another model, one that is silent, one whose status changes while
// it runs and one that goes away and comes back. The change lines come within two intervals,
// /metrics parses with the Prometheus client library's parser and holds what the simulators were
// set to, and SIGTERM ends the monitor cleanly.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <sstream>

#include "platform/tcpsocket.h"
#include "support/json.h"
#include "support/processes.h"

extern char** environ;

namespace velmora::testing {
namespace {

namespace fs = std::filesystem;
using Steady = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr milliseconds kInterval{1000};

// A program of the build running in the background, its output read line by line as it comes,
// each line with the time it came.
class LiveProgram {
  public:
    explicit LiveProgram(std::vector<std::string> args) {
        int fds[2];
        if (pipe(fds) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
        posix_spawn_file_actions_adddup2(&actions, fds[1], 2);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        args.insert(args.begin(), VELMORA_BIN_DIR "/velmora-cli");
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        fd_ = fds[0];
        fcntl(fd_, F_SETFL, O_NONBLOCK);
    }
    ~LiveProgram() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (fd_ >= 0) close(fd_);
    }

    struct Line {
        std::string text;
        Steady::time_point came;
    };
    // The first line from `from` on that contains `text`, waiting for it up to `within`.
    std::optional<Line> waitFor(const std::string& text, milliseconds within, std::size_t from = 0) {
        const auto deadline = Steady::now() + within;
        for (;;) {
            for (std::size_t i = from; i < lines_.size(); ++i)
                if (lines_[i].text.find(text) != std::string::npos) return lines_[i];
            const auto left = std::chrono::duration_cast<milliseconds>(deadline - Steady::now()).count();
            if (left <= 0 || !readMore(static_cast<int>(left))) return std::nullopt;
        }
    }
    // The first change line of `printer` from `from` on that ends with `change` ("up: yes").
    std::optional<Line> waitForChange(const std::string& printer, const std::string& change,
                                      milliseconds within, std::size_t from = 0) {
        const auto deadline = Steady::now() + within;
        for (;;) {
            for (std::size_t i = from; i < lines_.size(); ++i) {
                const std::string& t = lines_[i].text;
                if (t.rfind(printer + ", ", 0) == 0 && t.size() >= change.size() &&
                    t.compare(t.size() - change.size(), change.size(), change) == 0)
                    return lines_[i];
            }
            const auto left = std::chrono::duration_cast<milliseconds>(deadline - Steady::now()).count();
            if (left <= 0 || !readMore(static_cast<int>(left))) return std::nullopt;
        }
    }
    std::size_t lineCount() const { return lines_.size(); }
    std::string all() const {
        std::string out;
        for (const Line& l : lines_) out += l.text + "\n";
        return out + partial_;
    }
    // SIGTERM, then the exit status (-1 when it did not end normally) and how long it took.
    std::pair<int, milliseconds> terminate() {
        const auto start = Steady::now();
        kill(pid_, SIGTERM);
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = -1;
        while (readMore(0)) {
        }
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1,
                std::chrono::duration_cast<milliseconds>(Steady::now() - start)};
    }

  private:
    bool readMore(int waitMs) {
        pollfd p{fd_, POLLIN, 0};
        if (poll(&p, 1, waitMs) <= 0) return false;
        char buf[4096];
        const ssize_t n = read(fd_, buf, sizeof buf);
        if (n <= 0) return false;
        const auto now = Steady::now();
        partial_.append(buf, static_cast<std::size_t>(n));
        for (std::size_t end; (end = partial_.find('\n')) != std::string::npos; partial_.erase(0, end + 1))
            lines_.push_back({partial_.substr(0, end), now});
        return true;
    }

    int pid_ = -1;
    int fd_ = -1;
    std::vector<Line> lines_;
    std::string partial_;
};

std::string fetchMetrics(unsigned port) {
    platform::TcpSocket client;
    if (client.connect("127.0.0.1", port, 2000) != platform::StreamSocket::ConnectResult::Ok) return {};
    const std::string request = "GET /metrics HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
    client.send(reinterpret_cast<const std::uint8_t*>(request.data()), request.size(), 2000);
    std::string got;
    std::uint8_t buf[8192];
    for (long n; (n = client.receive(buf, sizeof buf, 2000)) > 0;)
        got.append(reinterpret_cast<char*>(buf), n);
    return got;
}

// The samples as the Prometheus client library reads them: "name|label=value,...|value".
std::map<std::string, std::string> parsedSamples(const std::string& body, std::string& problem) {
    const fs::path dir = fs::temp_directory_path() / ("velmora-metrics-" + std::to_string(getpid()));
    fs::create_directories(dir);
    std::ofstream(dir / "metrics.txt") << body;
    std::ofstream(dir / "parse.py")
        << "import sys\n"
           "from prometheus_client.parser import text_string_to_metric_families\n"
           "for family in text_string_to_metric_families(open(sys.argv[1]).read()):\n"
           "    for s in family.samples:\n"
           "        labels = ','.join(k + '=' + v for k, v in sorted(s.labels.items()))\n"
           "        value = int(s.value) if float(s.value).is_integer() else s.value\n"
           "        print(s.name + '|' + labels + '|' + str(value))\n";
    const std::string command =
        "/usr/bin/python3 " + (dir / "parse.py").string() + " " + (dir / "metrics.txt").string() + " 2>&1";
    std::map<std::string, std::string> samples;
    FILE* p = popen(command.c_str(), "r");
    std::string output;
    char line[1024];
    while (p && fgets(line, sizeof line, p)) output += line;
    const int status = p ? pclose(p) : -1;
    fs::remove_all(dir);
    if (status != 0) {
        problem = "the parser refused the metrics: " + output;
        return samples;
    }
    std::istringstream lines(output);
    for (std::string l; std::getline(lines, l);) {
        const auto bar = l.rfind('|');
        samples[l.substr(0, bar)] = l.substr(bar + 1);
    }
    return samples;
}

TEST(Monitor, FivePrintersChangesWithinTwoIntervalsMetricsAndACleanEnd) {
    const fs::path dir = fs::temp_directory_path() / ("velmora-monitor-" + std::to_string(getpid()));
    fs::create_directories(dir);
    std::ofstream(dir / "counters.ini") << "[Native]\nmotor-count=1234\nmotor-total=98765\ncutter-count=7\n"
                                           "cutter-total=4321\n";
    std::ofstream(dir / "script.txt") << "2 head-overheat on\n";

    SimProcess counted(
        {"--listen", "127.0.0.11", "--paper-empty", "--state", (dir / "counters.ini").string()});
    ASSERT_FALSE(counted.address.empty());
    const std::string port = counted.address.substr(counted.address.rfind(':') + 1);
    auto at = [&port](int n) { return "127.0.0." + std::to_string(n) + ":" + port; };
    auto sim = [&port](int n, std::vector<std::string> more) {
        more.insert(more.begin(), {"--listen", "127.0.0." + std::to_string(n), "--port", port});
        return std::make_unique<SimProcess>(more);
    };
    auto other = sim(12, {"--model", "LX-12", "--cover-open"});
    auto silent = sim(13, {"--silent"});
    const auto scriptStart = Steady::now();
    auto changing = sim(14, {"--status-script", (dir / "script.txt").string()});
    auto leaving = sim(15, {});
    for (const auto* s : {other.get(), silent.get(), changing.get(), leaving.get()})
        ASSERT_FALSE(s->address.empty());
    std::ofstream(dir / "printers.txt")
        << "# five simulators\n--tcp " << at(11) << "\n--tcp " << at(12) << "\n--tcp " << at(13) << "\n--tcp "
        << at(14) << "\n--tcp " << at(15) << "\n";

    LiveProgram monitor({"--printers", (dir / "printers.txt").string(), "monitor", "--interval", "1",
                         "--listen", "127.0.0.1:0"});
    const auto served = monitor.waitFor("metrics at http://127.0.0.1:", milliseconds{3000});
    ASSERT_TRUE(served) << monitor.all();
    const unsigned metricsPort = static_cast<unsigned>(std::stoul(served->text.substr(
        served->text.rfind(':') + 1, served->text.rfind('/') - served->text.rfind(':') - 1)));

    // The first poll: each printer's state; the silent one's within its bounded waits.
    for (const auto& [n, change] :
         {std::pair{11, "up: yes"}, std::pair{11, "paper-empty: yes"}, std::pair{12, "model: LX-12"},
          std::pair{12, "cover-open: yes"}, std::pair{13, "up: no (no answer to the status query)"},
          std::pair{14, "up: yes"}, std::pair{15, "up: yes"}}) {
        SCOPED_TRACE(at(n) + " " + change);
        EXPECT_TRUE(monitor.waitForChange(at(n), change, kInterval * 2)) << monitor.all();
    }

    // A status bit set at run time.
    const auto hot = monitor.waitForChange(at(14), "head-overheat: yes", milliseconds{2000} + kInterval * 3);
    ASSERT_TRUE(hot) << monitor.all();
    EXPECT_GE(hot->came - scriptStart, milliseconds{2000});
    EXPECT_LT(hot->came - scriptStart, milliseconds{2000} + kInterval * 2) << monitor.all();

    // A printer that goes away and comes back.
    std::size_t seen = monitor.lineCount();
    leaving->finish();
    const auto gone = Steady::now();
    const auto down = monitor.waitForChange(at(15), "up: no (cannot connect: Connection refused)",
                                            kInterval * 2 + milliseconds{500}, seen);
    ASSERT_TRUE(down) << monitor.all();
    EXPECT_LT(down->came - gone, kInterval * 2);
    seen = monitor.lineCount();
    leaving = sim(15, {});
    ASSERT_EQ(leaving->address, at(15));
    const auto back = Steady::now();
    const auto up = monitor.waitForChange(at(15), "up: yes", kInterval * 2 + milliseconds{500}, seen);
    ASSERT_TRUE(up) << monitor.all();
    EXPECT_LT(up->came - back, kInterval * 2);

    // The metrics, as Prometheus reads them.
    const std::string answer = fetchMetrics(metricsPort);
    ASSERT_EQ(answer.rfind("HTTP/1.1 200 OK\r\n", 0), 0u) << answer;
    EXPECT_NE(answer.find("Content-Type: text/plain; version=0.0.4"), std::string::npos);
    std::string problem;
    const auto samples = parsedSamples(answer.substr(answer.find("\r\n\r\n") + 4), problem);
    ASSERT_TRUE(problem.empty()) << problem;
    // The parser gives the labels in name order.
    auto value = [&samples](const std::string& name, int line, const std::string& printer,
                            std::vector<std::string> more = {}) {
        more.push_back("line=" + std::to_string(line));
        more.push_back("printer=" + printer);
        std::sort(more.begin(), more.end());
        std::string key = name + "|";
        for (const std::string& label : more) key += (key.back() == '|' ? "" : ",") + label;
        const auto it = samples.find(key);
        return it == samples.end() ? "(none: " + key + ")" : it->second;
    };
    EXPECT_EQ(value("velmora_printer_up", 2, at(11)), "1");
    EXPECT_EQ(value("velmora_printer_up", 3, at(12)), "1");
    EXPECT_EQ(value("velmora_printer_up", 4, at(13)), "0");
    EXPECT_EQ(value("velmora_printer_up", 5, at(14)), "1");
    EXPECT_EQ(value("velmora_printer_up", 6, at(15)), "1");
    EXPECT_EQ(value("velmora_printer_status", 2, at(11), {"bit=paper-empty"}), "1");
    EXPECT_EQ(value("velmora_printer_status", 2, at(11), {"bit=cover-open"}), "0");
    EXPECT_EQ(value("velmora_printer_status", 3, at(12), {"bit=cover-open"}), "1");
    EXPECT_EQ(value("velmora_printer_status", 5, at(14), {"bit=head-overheat"}), "1");
    EXPECT_EQ(value("velmora_printer_usage_meters_total", 2, at(11), {"counter=motor"}), "1234");
    EXPECT_EQ(value("velmora_printer_usage_meters_total", 2, at(11), {"counter=motor-permanent"}), "98765");
    EXPECT_EQ(value("velmora_printer_usage_total", 2, at(11), {"counter=cutter"}), "7");
    EXPECT_EQ(value("velmora_printer_usage_total", 2, at(11), {"counter=cutter-permanent"}), "4321");
    EXPECT_EQ(value("velmora_printer_info", 3, at(12), {"firmware=V1.00", "model=LX-12"}), "1");
    EXPECT_EQ(samples.count("velmora_printer_status|bit=paper-empty,line=4,printer=" + at(13)), 0u);
    EXPECT_NE(value("velmora_printer_polls_total", 4, at(13)), "0");
    EXPECT_NE(value("velmora_printer_last_poll_timestamp_seconds", 2, at(11)).find("(none"), 0u);

    const auto [status, took] = monitor.terminate();
    EXPECT_EQ(status, 0) << monitor.all();
    EXPECT_LT(took, milliseconds{3000});
    fs::remove_all(dir);
}

TEST(Monitor, NeedsAListAndSaysWhatIsWrong) {
    const struct {
        const char* args;
        const char* says;
    } cases[] = {
        {"monitor", "velmora-cli --printers FILE monitor"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        const ProcessResult r = runCliProcess(c.args);
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.output.find(c.says), std::string::npos) << r.output;
    }
    const fs::path list = fs::temp_directory_path() / ("velmora-monitor-args-" + std::to_string(getpid()));
    std::ofstream(list) << "# nobody yet\n";
    const ProcessResult empty = runCliProcess("--printers " + list.string() + " monitor");
    EXPECT_EQ(empty.status, 2);
    EXPECT_NE(empty.output.find("the list names no printer"), std::string::npos) << empty.output;
    std::ofstream(list) << "--tcp 127.0.0.1:1\n";
    for (const auto& [args, says] : {std::pair{"--interval 0.01", "--interval takes seconds from 0.1"},
                                     std::pair{"--listen ::1:9791", "--listen takes ADDRESS:PORT"}}) {
        SCOPED_TRACE(args);
        const ProcessResult r = runCliProcess("--printers " + list.string() + " monitor " + args);
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.output.find(says), std::string::npos) << r.output;
    }
    // --count: the polls given, then the exit status says whether every printer was up.
    const ProcessResult once = runCliProcess("--printers " + list.string() + " monitor --count 1");
    EXPECT_EQ(once.status, 1) << once.output;
    EXPECT_NE(once.output.find("127.0.0.1:1, "), std::string::npos) << once.output;
    EXPECT_NE(once.output.find(", up: no (cannot connect: Connection refused)"), std::string::npos)
        << once.output;
    // With --json: a line per change, then the summary.
    const ProcessResult json = runCliProcess("--json --printers " + list.string() + " monitor --count 1");
    EXPECT_EQ(json.status, 1) << json.output;
    std::vector<Json> lines;
    std::istringstream text(json.output);
    for (std::string line, error; std::getline(text, line);) {
        if (line.rfind("velmora-cli: ", 0) == 0) continue;  // standard error, in the same pipe here
        const auto parsed = parseJson(line, error);
        ASSERT_TRUE(parsed) << error << ": " << line;
        lines.push_back(*parsed);
    }
    ASSERT_EQ(lines.size(), 2u) << json.output;
    EXPECT_EQ(lines[0]["command"].text, "monitor");
    EXPECT_EQ(lines[0]["name"].text, "127.0.0.1:1");
    EXPECT_EQ(lines[0]["printer"]["port"].number, 1);
    EXPECT_EQ(lines[0]["change"]["key"].text, "up");
    EXPECT_EQ(lines[0]["change"]["value"].text, "no");
    EXPECT_EQ(lines[0]["change"]["detail"].text, "cannot connect: Connection refused");
    EXPECT_EQ(lines[1]["summary"]["failed"].number, 1);
    EXPECT_EQ(lines[1]["exit"].number, 1);
    fs::remove(list);
}

}  // namespace
}  // namespace velmora::testing
