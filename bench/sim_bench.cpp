// Figures, not tests: how fast the simulator takes label streams over TCP, each beside a plain
// sink that reads and discards the same bytes over the same kind of connection, and beside its
// goal. The simulator runs in this process as velmora-sim runs it (its journal, label records,
// no pictures); the client sends, closes its sending side and reads until the server closes, which
// it does only once it has parsed the last byte. (A client sending with sendfile spends less
// itself but leaves the server to copy from memory no cache holds: slower in all.)
//   velmora-sim-bench [MiB] [zii|native|random]   (default 128 MiB of each stream; 0 parses each pool
//   in process only, for a profiler)
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "sim/parser.h"
#include "sim/printer.h"
#include "sim/server.h"
#include "sim_streams.h"

using namespace velmora;
using Clock = std::chrono::steady_clock;

namespace {

constexpr std::size_t kSendChunk = 1u << 20;
constexpr std::size_t kReceiveChunk = 256 * 1024;  // as the simulator reads
constexpr int kRuns = 3;

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

struct Stream {
    const char* name;
    const char* key;
    std::string pool;
    double goalMBs;
};

int connectTo(unsigned port) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<std::uint16_t>(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

// Sends the pool over and over, `total` bytes in all, closes the sending side and reads (and
// drops) whatever comes back until the other end closes. Seconds from the first byte to the close.
double sendAndWaitForClose(int fd, const std::string& pool, std::size_t total) {
    const auto start = Clock::now();
    std::size_t sent = 0;
    while (sent < total) {
        const std::size_t at = sent % pool.size();
        const std::size_t n = std::min({kSendChunk, pool.size() - at, total - sent});
        const ssize_t w = send(fd, pool.data() + at, n, MSG_NOSIGNAL);
        if (w <= 0) return -1;
        sent += static_cast<std::size_t>(w);
    }
    shutdown(fd, SHUT_WR);
    char drain[4096];
    while (recv(fd, drain, sizeof drain, 0) > 0) {
    }
    const double secs = seconds(Clock::now() - start);
    close(fd);
    return secs;
}

// A listener that takes one connection, reads it to its end and closes it.
double throughSink(const std::string& pool, std::size_t total) {
    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof a;
    if (bind(listener, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || listen(listener, 1) != 0 ||
        getsockname(listener, reinterpret_cast<sockaddr*>(&a), &length) != 0) {
        close(listener);
        return -1;
    }
    std::thread sink([listener] {
        const int fd = accept(listener, nullptr, nullptr);
        std::vector<char> buffer(kReceiveChunk);
        while (recv(fd, buffer.data(), buffer.size(), 0) > 0) {
        }
        close(fd);
    });
    const int fd = connectTo(ntohs(a.sin_port));
    const double secs = fd < 0 ? -1 : sendAndWaitForClose(fd, pool, total);
    sink.join();
    close(listener);
    return secs;
}

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// `cpu` gets the CPU time this process (server and client) spent meanwhile: on a busy machine the
// two may share less than the two cores.
double throughSimulator(const std::string& pool, std::size_t total, std::uint64_t& parsed, double& cpu) {
    sim::Printer printer;
    sim::Server server(printer);
    const unsigned port = server.startTcp(0);
    const int fd = port ? connectTo(port) : -1;
    const double cpuBefore = cpuSeconds();
    const double secs = fd < 0 ? -1 : sendAndWaitForClose(fd, pool, total);
    cpu = cpuSeconds() - cpuBefore;
    parsed = printer.journal().totalBytes();
    return secs;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The pool parsed once in this process, without a connection: whether the stream is what it
// should be (labels printed, no errors in ours) and the parser's own speed.
void describePool(const Stream& s) {
    sim::Printer checked;
    std::uint64_t labelsWithErrors = 0;
    checked.setLabelSink(
        [&](const sim::LabelRecord& r) { labelsWithErrors += !r.errors.empty() || r.errorsNotKept; });
    sim::Parser checking(checked);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(s.pool.data());
    for (std::size_t at = 0; at < s.pool.size(); at += kReceiveChunk)
        checking.feed(bytes + at, std::min(kReceiveChunk, s.pool.size() - at));

    // Timed through the other overload, so a profiler can count this parse alone:
    //   valgrind --tool=callgrind '--toggle-collect=velmora::sim::Parser::feed(std::basic_string_view*'
    sim::Printer printer;  // as the simulator runs: no label sink
    sim::Parser parser(printer);
    const auto start = Clock::now();
    for (std::size_t at = 0; at < s.pool.size(); at += kReceiveChunk)
        parser.feed(std::string_view(s.pool).substr(at, kReceiveChunk));
    const double secs = seconds(Clock::now() - start);
    const sim::Journal& j = printer.journal();
    std::printf(
        "  %-20s pool %.1f MB: %llu labels (%llu with errors), %llu commands, %llu leniencies, "
        "%llu lines ignored; parsed in process at %.0f MB/s\n",
        s.name, s.pool.size() / 1e6, static_cast<unsigned long long>(printer.totalPrintedLabels()),
        static_cast<unsigned long long>(labelsWithErrors), static_cast<unsigned long long>(j.totalCommands()),
        static_cast<unsigned long long>(j.totalLeniencies()),
        static_cast<unsigned long long>(j.ignoredLines()), s.pool.size() / 1e6 / secs);
}

}  // namespace

int main(int argc, char** argv) {
    std::size_t mib = 128;
    std::string only;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (!arg.empty() && arg.find_first_not_of("0123456789") == std::string::npos) {
            mib = std::stoul(arg);
        } else {
            only = arg;
        }
    }
    const std::size_t total = mib << 20;
    std::vector<Stream> streams = {
        {"ZII shipping labels", "zii", {}, 150},
        {"native labels", "native", {}, 100},
        {"random bytes", "random", {}, 600},
    };
    std::erase_if(streams, [&only](const Stream& s) { return !only.empty() && only != s.key; });
    for (Stream& s : streams) {
        const std::string_view key = s.key;
        s.pool = key == "zii"      ? bench::ziiShippingLabels(8u << 20)
                 : key == "native" ? bench::nativeLabels(8u << 20)
                                   : bench::randomBytes(16u << 20);
    }
    std::string load;
    std::getline(std::ifstream("/proc/loadavg") >> std::ws, load);
    std::printf(
        "velmora-sim over TCP: %zu MiB of each stream, median of %d runs (MB = 10^6 bytes); load average "
        "%s\n",
        mib, kRuns, load.substr(0, load.find(' ')).c_str());
    for (const Stream& s : streams) describePool(s);
    for (const Stream& s : streams) {
        if (total == 0) break;
        std::vector<double> sink, sim;
        double cpu = 0, wall = 0;
        bool lost = false;
        for (int run = 0; run < kRuns; ++run) {
            sink.push_back(throughSink(s.pool, total));
            std::uint64_t parsed = 0;
            double runCpu = 0;
            sim.push_back(throughSimulator(s.pool, total, parsed, runCpu));
            cpu += runCpu;
            wall += sim.back();
            lost = lost || parsed != total;
        }
        if (*std::min_element(sink.begin(), sink.end()) <= 0 ||
            *std::min_element(sim.begin(), sim.end()) <= 0) {
            std::printf("  %-20s the connection failed\n", s.name);
            continue;
        }
        const double mb = total / 1e6;
        const double sinkMBs = mb / median(sink), simMBs = mb / median(sim);
        std::printf(
            "  %-20s sink %6.0f MB/s   simulator %6.1f MB/s (sink/simulator %.1fx)   goal %4.0f MB/s: %s "
            "(%.2fx the goal)%s\n",
            s.name, sinkMBs, simMBs, sinkMBs / simMBs, s.goalMBs, simMBs >= s.goalMBs ? "met" : "MISSED",
            simMBs / s.goalMBs, lost ? "; THE JOURNAL DID NOT COUNT EVERY BYTE" : "");
        std::printf("  %-20s (server and client took %.2f s of CPU in %.2f s: %.2f of the machine's cores)\n",
                    "", cpu, wall, cpu / wall);
    }
    return 0;
}
