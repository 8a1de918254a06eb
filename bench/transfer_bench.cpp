// Figures, not tests: `velmora-cli send-file` into a separate velmora-sim over TCP and over a
// pseudo-terminal, each as a ratio to a plain copy of the same bytes over the same kind of link in
// the same run (a loopback socket copy; `cat FILE > PTY` with a reader draining it), and the
// command line's peak resident memory against an idle connect.
//   velmora-transfer-bench [MiB]   (default 256)
#include <fcntl.h>
#include <netinet/in.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/sendfile.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "processrun.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }


// velmora-sim in the background; the line it prints that starts with `marker` gives its address.
struct Simulator {
    pid_t pid = -1;
    std::string address;
    FILE* out = nullptr;
    Simulator(const std::string& binDir, std::vector<std::string> options, const char* marker) {
        int fds[2];
        if (pipe(fds) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        options.insert(options.begin(), binDir + "/velmora-sim");
        std::vector<char*> argv;
        for (auto& a : options) argv.push_back(a.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        out = fdopen(fds[0], "r");
        char line[512];
        while (out && fgets(line, sizeof line, out)) {
            const char* at = std::strstr(line, marker);
            if (!at) continue;
            address = at + std::strlen(marker);
            while (!address.empty() && (address.back() == '\n' || address.back() == '\r')) address.pop_back();
            break;
        }
    }
    ~Simulator() {
        if (pid > 0) {
            kill(pid, SIGTERM);
            int status = 0;
            waitpid(pid, &status, 0);
        }
        if (out) fclose(out);
    }
};

// A printer that only answers the connect check ("^cp" CR: two bytes) and discards everything
// else, so a send-file and a plain sendfile copy go into the same sink and the simulator's
// parsing is not what is measured.
class DiscardingPrinter {
public:
    DiscardingPrinter() {
        listener_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof addr;
        if (bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || listen(listener_, 4) != 0 ||
            getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &len) != 0)
            return;
        port = ntohs(addr.sin_port);
        thread_ = std::thread([this] {
            for (;;) {
                const int c = accept(listener_, nullptr, nullptr);
                if (c < 0 || stopping_) {
                    if (c >= 0) close(c);
                    return;
                }
                std::vector<char> buf(1 << 16);
                std::string start;
                ssize_t n = 0;
                while ((n = read(c, buf.data(), buf.size())) > 0) {
                    if (start.size() < 4) {
                        start.append(buf.data(), static_cast<std::size_t>(n));
                        if (start.rfind("^cp\r", 0) == 0 && write(c, "\0\0", 2) != 2) break;
                    }
                }
                close(c);
            }
        });
    }
    ~DiscardingPrinter() {
        stopping_ = true;
        if (port) close(connectToIt());  // wakes the accept
        if (thread_.joinable()) thread_.join();
        close(listener_);
    }
    // The file sent with sendfile(2) into the sink, as a program that does nothing else would.
    double sendfileCopy(const std::string& file) const {
        const auto start = Clock::now();
        const int s = connectToIt();
        const int in = open(file.c_str(), O_RDONLY);
        off_t at = 0;
        while (sendfile(s, in, &at, 1 << 30) > 0) {
        }
        close(in);
        close(s);
        return seconds(Clock::now() - start);
    }
    std::string address() const { return "127.0.0.1:" + std::to_string(port); }
    unsigned short port = 0;

private:
    int connectToIt() const {
        const int s = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        addr.sin_port = htons(port);
        connect(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        return s;
    }

    int listener_ = -1;
    std::thread thread_;
    std::atomic<bool> stopping_{false};
};

// The plain copy over loopback TCP: a reader thread drains, the writer sends the file with read().
double plainTcpCopy(const std::string& file) {
    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    if (bind(listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || listen(listener, 1) != 0 ||
        getsockname(listener, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
        return -1;
    }
    std::thread reader([listener] {
        const int c = accept(listener, nullptr, nullptr);
        std::vector<char> buf(1 << 16);
        while (read(c, buf.data(), buf.size()) > 0) {
        }
        close(c);
    });
    const auto start = Clock::now();
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    connect(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    const int in = open(file.c_str(), O_RDONLY);
    std::vector<char> buf(1 << 16);
    ssize_t n = 0;
    while ((n = read(in, buf.data(), buf.size())) > 0) {
        for (ssize_t off = 0; off < n;) {
            const ssize_t w = write(s, buf.data() + off, static_cast<std::size_t>(n - off));
            if (w <= 0) break;
            off += w;
        }
    }
    close(in);
    close(s);
    reader.join();
    close(listener);
    return seconds(Clock::now() - start);
}

// The plain copy over a pseudo-terminal: `cat FILE > slave` with a thread draining the master.
double plainPtyCopy(const std::string& file) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) return -1;
    const std::string slave = ptsname(master);
    // Raw, as the program sets its serial port, so no byte is translated on the way.
    const int fd = open(slave.c_str(), O_RDWR | O_NOCTTY);
    termios t{};
    tcgetattr(fd, &t);
    cfmakeraw(&t);
    tcsetattr(fd, TCSANOW, &t);
    std::thread reader([master] {
        std::vector<char> buf(1 << 16);
        while (read(master, buf.data(), buf.size()) > 0) {
        }
    });
    const auto start = Clock::now();
    const Run cat = runProgram({"/bin/sh", "-c", "cat '" + file + "' > " + slave});
    const double secs = seconds(Clock::now() - start);
    close(fd);  // the last slave closes: the reader sees EIO and ends
    reader.join();
    close(master);
    return cat.status == 0 ? secs : -1;
}

// The part of a send-file that is not its bytes, and the ratio of the bytes' own time to the plain copy.
void printFixedCost(const char* link, double fixedSecs, double sendSecs, double plainSecs) {
    const double bytesSecs = sendSecs - fixedSecs;
    std::printf("%s: of which fixed %.2f s (start, connect, protocol pauses; a 1-byte send-file), "
                "the bytes alone %.2f s, ratio %.2f\n",
                link, fixedSecs, bytesSecs, bytesSecs > 0 ? plainSecs / bytesSecs : 0.0);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string self = argv[0];
    const std::string binDir = self.find('/') == std::string::npos ? "." : self.substr(0, self.rfind('/'));
    const std::size_t mib = argc > 1 ? std::stoul(argv[1]) : 256;
    const std::string cli = binDir + "/velmora-cli";

    char dirTemplate[] = "/tmp/velmora-transfer-XXXXXX";
    if (!mkdtemp(dirTemplate)) return 1;
    const std::string file = std::string(dirTemplate) + "/firmware.bin";
    {
        const int out = open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        std::vector<unsigned char> block(1 << 20);
        for (std::size_t m = 0; m < mib; ++m) {
            for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<unsigned char>(i * 7 + m);
            if (write(out, block.data(), block.size()) != static_cast<ssize_t>(block.size())) return 1;
        }
        close(out);
    }
    std::printf("file: %zu MiB\n", mib);
    // A one-byte file: what every send-file costs besides its bytes (start, connect, the
    // protocol's fixed pauses), which a plain copy does not pay. A line end, so the printer of a
    // serial line is not left holding half a line when the next connect's "^cp" arrives.
    const std::string tiny = std::string(dirTemplate) + "/tiny.bin";
    {
        const int out = open(tiny.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (out < 0 || write(out, "\r", 1) != 1) return 1;
        close(out);
    }

    {
        Simulator sim(binDir, {"--port", "0"}, "listening on ");
        if (sim.address.empty()) {
            std::printf("tcp: the simulator did not start\n");
        } else {
            const Run idle = runProgram({cli, "--tcp", sim.address, "connect"});
            const Run fixed = runProgram({cli, "--tcp", sim.address, "send-file", tiny});
            const double plain = plainTcpCopy(file);
            const Run send = runProgram({cli, "--tcp", sim.address, "send-file", file});
            std::printf("tcp: send-file %.2f s (%s), plain copy %.2f s, ratio %.2f (target: at least 0.8)\n", send.secs,
                        send.status == 0 ? "ok" : "FAILED", plain, plain / send.secs);
            printFixedCost("tcp", fixed.secs, send.secs, plain);
            std::printf("tcp: velmora-cli peak resident %ld KiB, idle connect %ld KiB, above idle %.1f MiB "
                        "(target: under 64 MiB)\n",
                        send.maxRssKiB, idle.maxRssKiB, static_cast<double>(send.maxRssKiB - idle.maxRssKiB) / 1024.0);
            // The trace keeps a bounded head and tail of each write: its cost must not grow with the file.
            const std::string trace = std::string(dirTemplate) + "/send.trace";
            const Run traced = runProgram({cli, "--tcp", sim.address, "--trace", trace, "send-file", file});
            std::printf("tcp: send-file --trace %.2f s (%s), peak resident %ld KiB, %.1f MiB above the run without "
                        "--trace (target: within 32 MiB)\n",
                        traced.secs, traced.status == 0 ? "ok" : "FAILED", traced.maxRssKiB,
                        static_cast<double>(traced.maxRssKiB - send.maxRssKiB) / 1024.0);
            unlink(trace.c_str());
        }
    }
    {
        // Into a sink that discards, beside sendfile(2) into the same sink: the send path's own cost.
        DiscardingPrinter sink;
        const Run fixed = runProgram({cli, "--tcp", sink.address(), "send-file", tiny});
        const Run send = runProgram({cli, "--tcp", sink.address(), "send-file", file});
        const double plain = sink.sendfileCopy(file);
        const double bytes = send.secs - fixed.secs;
        std::printf("tcp into a discarding sink: send-file %.3f s (%s), of which its bytes %.3f s; sendfile copy %.3f s; "
                    "%.2fx (target: within 1.2x)\n",
                    send.secs, send.status == 0 ? "ok" : "FAILED", bytes, plain, plain > 0 ? bytes / plain : 0.0);
    }
    {
        Simulator sim(binDir, {"--pty", "--no-tcp"}, "pseudo-terminal ");
        if (sim.address.empty()) {
            std::printf("pty: the simulator did not start\n");
        } else {
            const Run idle = runProgram({cli, "--serial", sim.address, "--baud", "115200", "connect"});
            const Run fixed = runProgram({cli, "--serial", sim.address, "--baud", "115200", "send-file", tiny});
            const double plain = plainPtyCopy(file);
            const Run send = runProgram({cli, "--serial", sim.address, "--baud", "115200", "send-file", file});
            std::printf("pty: send-file %.2f s (%s), plain copy %.2f s, ratio %.2f (target: at least 0.8)\n", send.secs,
                        send.status == 0 ? "ok" : "FAILED", plain, plain / send.secs);
            printFixedCost("pty", fixed.secs, send.secs, plain);
            std::printf("pty: velmora-cli peak resident %ld KiB, idle connect %ld KiB, above idle %.1f MiB "
                        "(target: under 64 MiB)\n",
                        send.maxRssKiB, idle.maxRssKiB, static_cast<double>(send.maxRssKiB - idle.maxRssKiB) / 1024.0);
        }
    }
    unlink(file.c_str());
    unlink(tiny.c_str());
    rmdir(dirTemplate);
    return 0;
}
