// velmora-cli and velmora-sim as separate processes, the way a user runs them.
#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <string>

extern char** environ;

namespace {

// A running velmora-sim with the address it printed.
class SimProcess {
public:
    explicit SimProcess(std::vector<std::string> extra) {
        int fds[2];
        if (pipe(fds) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        std::vector<std::string> args = {VELMORA_BIN_DIR "/velmora-sim", "--port", "0"};
        args.insert(args.end(), extra.begin(), extra.end());
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        out_ = fdopen(fds[0], "r");
        std::array<char, 256> line{};
        while (out_ && fgets(line.data(), line.size(), out_)) {
            std::string l = line.data();
            const auto at = l.find("listening on ");
            if (at != std::string::npos) {
                address = l.substr(at + 13);
                while (!address.empty() && (address.back() == '\n' || address.back() == '\r')) address.pop_back();
                break;
            }
        }
    }
    ~SimProcess() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            int status = 0;
            waitpid(pid_, &status, 0);
        }
        if (out_) fclose(out_);
    }
    std::string address;

private:
    pid_t pid_ = -1;
    FILE* out_ = nullptr;
};

struct Result {
    int status;
    std::string output;  // standard output and error together
};

Result runCli(const std::string& args) {
    const std::string cmd = std::string(VELMORA_BIN_DIR "/velmora-cli ") + args + " 2>&1";
    FILE* p = popen(cmd.c_str(), "r");
    Result r{-1, {}};
    if (!p) return r;
    std::array<char, 512> buf{};
    while (fgets(buf.data(), buf.size(), p)) r.output += buf.data();
    const int status = pclose(p);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

TEST(CliAgainstSimulator, ConnectAndStatus) {
    SimProcess sim({"--cover-open", "--paused"});
    ASSERT_FALSE(sim.address.empty());
    auto r = runCli("--tcp " + sim.address + " connect");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.output, "Velmora: Success open port.\n");
    r = runCli("--tcp " + sim.address + " status");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.output, "Cover Open\nIssued label is paused\n");
}

TEST(CliAgainstSimulator, FaultsEndWithMessagesAndExitStatus) {
    SimProcess silent({"--silent"});
    auto r = runCli("--timeout 200 --tcp " + silent.address + " connect");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.output, "Velmora: Cannot open port! Please check printer and cable.\n");

    SimProcess shortReplies({"--short-replies"});
    r = runCli("--timeout 200 --tcp " + shortReplies.address + " status");
    EXPECT_EQ(r.status, 1);  // a one-byte answer to the handshake is no printer

    r = runCli("--tcp 127.0.0.1:1 connect");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("Failed to connect"), std::string::npos);
    EXPECT_EQ(runCli("--baud 1 connect").status, 2);
}

}  // namespace
