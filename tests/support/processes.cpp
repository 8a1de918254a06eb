// Spawning the programs for end-to-end tests.
#include "support/processes.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>

extern char** environ;

namespace velmora::testing {

SimProcess::SimProcess(std::vector<std::string> options) {
    int fds[2];
    if (pipe(fds) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    std::vector<std::string> args = {VELMORA_BIN_DIR "/velmora-sim", "--port", "0"};
    args.insert(args.end(), options.begin(), options.end());
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    out_ = fdopen(fds[0], "r");
    std::array<char, 256> line{};
    while (out_ && fgets(line.data(), line.size(), out_)) {
        const std::string l = line.data();
        const auto at = l.find("listening on ");
        if (at == std::string::npos) continue;
        address = l.substr(at + 13);
        while (!address.empty() && (address.back() == '\n' || address.back() == '\r')) address.pop_back();
        break;
    }
    // With --pty the terminal's path follows on the next line.
    if (std::find(options.begin(), options.end(), "--pty") != options.end() && out_ &&
        fgets(line.data(), line.size(), out_)) {
        const std::string l = line.data();
        if (const auto at = l.find("pseudo-terminal "); at != std::string::npos) {
            pty = l.substr(at + 16);
            while (!pty.empty() && (pty.back() == '\n' || pty.back() == '\r')) pty.pop_back();
        }
    }
}

SimProcess::~SimProcess() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        int status = 0;
        waitpid(pid_, &status, 0);
    }
    if (out_) fclose(out_);
}

ProcessResult runCliProcess(const std::string& args, const std::string& environment) {
    return runProgram("velmora-cli", args, environment);
}

ProcessResult runProgram(const std::string& program, const std::string& args, const std::string& environment) {
    const std::string cmd = (environment.empty() ? "" : environment + " ") + VELMORA_BIN_DIR "/" + program + " " +
                            args + " 2>&1";
    ProcessResult r;
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return r;
    std::array<char, 512> buf{};
    while (fgets(buf.data(), buf.size(), p)) r.output += buf.data();
    const int status = pclose(p);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

}  // namespace velmora::testing
