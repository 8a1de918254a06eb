// Figures, not tests: a profile that changes five settings applied by one velmora-cli process to
// 1, 10 and 50 simulated printers on loopback, its wall time as a ratio to one printer's, and the
// resident memory the velmora-cli process peaked at.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "sim/printer.h"
#include "sim/server.h"

extern char** environ;

using namespace velmora;

namespace {

struct Run {
    int status = -1;
    double seconds = 0;
    long maxRssKiB = 0;
};

Run runCli(const std::string& cli, std::vector<std::string> args, const std::string& outFile) {
    args.insert(args.begin(), cli);
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    Run r;
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, cli.c_str(), &actions, nullptr, argv.data(), environ) != 0) return r;
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.maxRssKiB = usage.ru_maxrss;
    return r;
}

struct Fleet {
    std::vector<std::unique_ptr<sim::Printer>> printers;
    std::vector<std::unique_ptr<sim::Server>> servers;
    std::string list;
    explicit Fleet(int n) {
        for (int i = 0; i < n; ++i) {
            printers.push_back(std::make_unique<sim::Printer>());
            servers.push_back(std::make_unique<sim::Server>(*printers.back()));
            list += "--tcp 127.0.0.1:" + std::to_string(servers.back()->startTcp(0)) + "\n";
        }
    }
    ~Fleet() {
        for (auto& s : servers) s->stop();
    }
};

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const auto at = text.find("\n" + from + "\n");
    if (at != std::string::npos) text.replace(at + 1, from.size(), to);
    return text;
}

}  // namespace

int main(int, char** argv) {
    const std::string cli = (std::filesystem::path(argv[0]).parent_path() / "velmora-cli").string();
    const auto dir = std::filesystem::temp_directory_path() / ("velmora-fleet-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const std::string profile = (dir / "p.ini").string(), list = (dir / "printers").string(),
                      out = (dir / "out.txt").string();
    {
        Fleet one(1);
        const std::string first = one.list.substr(6, one.list.find('\n') - 6);
        if (runCli(cli, {"--tcp", first, "profile", "save", profile}, out).status != 0) {
            std::fprintf(stderr, "could not save the profile\n");
            return 1;
        }
    }
    std::stringstream text;
    text << std::ifstream(profile).rdbuf();
    std::string changed = text.str();
    changed = replaced(changed, "darkness=15", "darkness=21");
    changed = replaced(changed, "speed=4", "speed=6");
    changed = replaced(changed, "tear-off=0", "tear-off=10");
    changed = replaced(changed, "print-offset=0", "print-offset=5");
    changed = replaced(changed, "media-type=web", "media-type=mark");
    std::ofstream(profile) << changed;

    std::printf("profile apply, five settings changed, velmora-cli --printers against in-process simulators\n");
    std::printf("%8s %6s %10s %8s %12s %s\n", "printers", "jobs", "wall (s)", "ratio", "max RSS MiB", "result");
    double oneSeconds = 0;
    const int rounds[][2] = {{1, 8}, {10, 10}, {50, 50}, {50, 8}};
    for (const auto& [n, jobs] : rounds) {
        Fleet fleet(n);
        std::ofstream(list) << fleet.list;
        const Run r = runCli(cli, {"--printers", list, "--jobs", std::to_string(jobs), "profile", "apply", profile}, out);
        if (n == 1) oneSeconds = r.seconds;
        int applied = 0;
        for (const auto& p : fleet.printers) applied += p->zii().current.darkness == 21 && p->zii().current.printSpeed == 6;
        std::printf("%8d %6d %10.2f %8.2f %12.1f exit %d, %d of %d printers changed\n", n, jobs, r.seconds,
                    r.seconds / oneSeconds, static_cast<double>(r.maxRssKiB) / 1024.0, r.status, applied, n);
    }
    std::filesystem::remove_all(dir);
    return 0;
}
