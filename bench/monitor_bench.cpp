// Figures, not tests, on loopback addresses only: how long velmora-cli discover takes for a /24
// where no address answers the connect (the worst case), for one where nothing listens, and for
// one with eight printers; and the resident memory of velmora-cli monitor over simulated printers
// (some silent, some absent) as its polls add up to 10,000 and beyond.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/tcpsocket.h"
#include "sim/printer.h"
#include "sim/server.h"

extern char** environ;

using namespace velmora;
using Steady = std::chrono::steady_clock;

namespace {

// A listener whose queue is full: the host drops every further connect without an answer.
struct Unanswering {
    int listener = -1;
    int filler = -1;
    bool ok = false;
    Unanswering(const std::string& address, unsigned port) {
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(static_cast<std::uint16_t>(port));
        inet_pton(AF_INET, address.c_str(), &addr.sin_addr);
        listener = socket(AF_INET, SOCK_STREAM, 0);
        filler = socket(AF_INET, SOCK_STREAM, 0);
        ok = bind(listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 &&
             listen(listener, 0) == 0 &&
             connect(filler, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    }
    ~Unanswering() {
        close(filler);
        close(listener);
    }
};

struct Child {
    pid_t pid = -1;
    int out = -1;  // its standard error, or standard output
};

Child spawn(std::vector<std::string> args, bool readStdout) {
    int fds[2];
    Child c;
    if (pipe(fds) != 0) return c;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], readStdout ? 1 : 2);
    posix_spawn_file_actions_addopen(&actions, readStdout ? 2 : 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    if (posix_spawn(&c.pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) c.pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    c.out = fds[0];
    return c;
}

std::string readAll(int fd) {
    std::string out;
    char buf[4096];
    for (ssize_t n; (n = read(fd, buf, sizeof buf)) > 0;) out.append(buf, static_cast<std::size_t>(n));
    return out;
}

void timeDiscover(const std::string& cli, const std::string& what, const std::string& subnet, unsigned port) {
    const auto start = Steady::now();
    Child c = spawn({cli, "discover", "--subnet", subnet, "--port", std::to_string(port)}, true);
    const std::string output = readAll(c.out);
    close(c.out);
    int status = 0;
    waitpid(c.pid, &status, 0);
    const double secs = std::chrono::duration<double>(Steady::now() - start).count();
    std::string summary;
    std::istringstream lines(output);
    for (std::string l; std::getline(lines, l);)
        if (l.rfind(subnet, 0) == 0) summary = l;
    std::printf("  %-44s %6.2f s   %s\n", what.c_str(), secs, summary.c_str());
}

std::string fetch(unsigned port) {
    platform::TcpSocket client;
    if (client.connect("127.0.0.1", port, 2000) != platform::StreamSocket::ConnectResult::Ok) return {};
    const std::string request = "GET /metrics HTTP/1.1\r\n\r\n";
    client.send(reinterpret_cast<const std::uint8_t*>(request.data()), request.size(), 2000);
    std::string got;
    std::uint8_t buf[16384];
    for (long n; (n = client.receive(buf, sizeof buf, 2000)) > 0;)
        got.append(reinterpret_cast<char*>(buf), n);
    return got;
}

unsigned long long totalPolls(const std::string& metrics) {
    unsigned long long total = 0;
    std::istringstream lines(metrics);
    for (std::string l; std::getline(lines, l);)
        if (l.rfind("velmora_printer_polls_total{", 0) == 0) total += std::stoull(l.substr(l.rfind(' ') + 1));
    return total;
}

long statusKiB(pid_t pid, const char* field) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    for (std::string l; std::getline(in, l);)
        if (l.rfind(field, 0) == 0) return std::stol(l.substr(std::strlen(field)));
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string cli = (std::filesystem::path(argv[0]).parent_path() / "velmora-cli").string();
    const unsigned long long wanted = argc > 1 ? std::stoull(argv[1]) : 10000;

    std::printf("velmora-cli discover on a /24 of loopback addresses (64 connects at a time, 1 s each)\n");
    {
        sim::Printer probe;
        sim::Server first(probe);
        const unsigned port = first.startTcp(0, "127.0.2.2");
        std::vector<std::unique_ptr<Unanswering>> silent;
        for (int host = 1; host <= 254; ++host)
            silent.push_back(std::make_unique<Unanswering>("127.0.1." + std::to_string(host), port));
        timeDiscover(cli, "nothing answers the connect (254 addresses)", "127.0.1.0/24", port);
        silent.clear();
        timeDiscover(cli, "nothing listens (every connect refused)", "127.0.4.0/24", port);
        std::vector<std::unique_ptr<sim::Printer>> printers;
        std::vector<std::unique_ptr<sim::Server>> servers;
        for (int host = 3; host <= 9; ++host) {
            printers.push_back(std::make_unique<sim::Printer>());
            servers.push_back(std::make_unique<sim::Server>(*printers.back()));
            servers.back()->startTcp(port, "127.0.2." + std::to_string(host));
        }
        timeDiscover(cli, "eight printers, the rest refused", "127.0.2.0/24", port);
        for (auto& s : servers) s->stop();
        first.stop();
    }

    // The monitor: 40 answering printers, one silent, two absent, polled every 0.1 s (a poll of a
    // printer that answers takes about 0.65 s: the protocol's pauses).
    constexpr int kAnswering = 40;
    std::vector<std::unique_ptr<sim::Printer>> printers;
    std::vector<std::unique_ptr<sim::Server>> servers;
    std::string list;
    unsigned port = 0;
    for (int i = 0; i <= kAnswering; ++i) {
        printers.push_back(std::make_unique<sim::Printer>());
        if (i == kAnswering) printers.back()->setFaults({.silent = true});
        servers.push_back(std::make_unique<sim::Server>(*printers.back()));
        const std::string address = "127.0.3." + std::to_string(i + 1);
        port = servers.back()->startTcp(port, address);
        list += "--tcp " + address + ":" + std::to_string(port) + "\n";
    }
    list +=
        "--tcp 127.0.3.200:" + std::to_string(port) + "\n--tcp 127.0.3.201:" + std::to_string(port) + "\n";
    const auto dir =
        std::filesystem::temp_directory_path() / ("velmora-monitor-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "printers") << list;

    Child monitor = spawn({cli, "--printers", (dir / "printers").string(), "monitor", "--interval", "0.1",
                           "--listen", "127.0.0.1:0"},
                          false);
    std::string err;
    unsigned metricsPort = 0;
    while (metricsPort == 0) {
        char buf[512];
        const ssize_t n = read(monitor.out, buf, sizeof buf);
        if (n <= 0) break;
        err.append(buf, static_cast<std::size_t>(n));
        const auto at = err.find("metrics at http://127.0.0.1:");
        if (at != std::string::npos && err.find("/metrics", at + 28) != std::string::npos)
            metricsPort = static_cast<unsigned>(std::stoul(err.substr(at + 28)));
    }
    if (metricsPort == 0) {
        std::fprintf(stderr, "the monitor did not start: %s\n", err.c_str());
        return 1;
    }
    std::printf("\nvelmora-cli monitor: %d printers that answer, 1 silent, 2 absent; --interval 0.1\n",
                kAnswering);
    std::printf("%10s %9s %10s %10s\n", "polls", "time (s)", "RSS KiB", "peak KiB");
    const auto start = Steady::now();
    unsigned long long nextReport = 1000;
    for (;;) {
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        const unsigned long long polls = totalPolls(fetch(metricsPort));
        if (polls >= nextReport) {
            std::printf("%10llu %9.1f %10ld %10ld\n", polls,
                        std::chrono::duration<double>(Steady::now() - start).count(),
                        statusKiB(monitor.pid, "VmRSS:"), statusKiB(monitor.pid, "VmHWM:"));
            std::fflush(stdout);
            if (polls >= wanted) break;
            nextReport = polls < wanted / 2 ? nextReport * 2 : wanted;
            if (nextReport > wanted) nextReport = wanted;
        }
    }
    const auto stopping = Steady::now();
    kill(monitor.pid, SIGTERM);
    int status = 0;
    waitpid(monitor.pid, &status, 0);
    std::printf("SIGTERM: exit %d after %.2f s\n", WIFEXITED(status) ? WEXITSTATUS(status) : -1,
                std::chrono::duration<double>(Steady::now() - stopping).count());
    close(monitor.out);
    for (auto& s : servers) s->stop();
    std::filesystem::remove_all(dir);
    return 0;
}
