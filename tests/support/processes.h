// The programs as separate processes, the way a user runs them: velmora-sim in the background
// and velmora-cli to completion.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace velmora::testing {

// A running velmora-sim on a free port, with the address it printed ("127.0.0.1:PORT"); ended
// with SIGTERM when the object goes.
class SimProcess {
public:
    explicit SimProcess(std::vector<std::string> options = {});
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    std::string address;  // empty when it did not start
    std::string pty;      // the pseudo-terminal it printed (with --pty)

private:
    int pid_ = -1;
    std::FILE* out_ = nullptr;
};

struct ProcessResult {
    int status = -1;
    std::string output;  // standard output and error together
};

// Runs a program of the build (velmora, velmora-cli) with the arguments (shell words) and waits
// for it; `environment` is put in front of the command ("VELMORA_SYSROOT=/tmp/x").
ProcessResult runProgram(const std::string& program, const std::string& args, const std::string& environment = {});
// runProgram for velmora-cli.
ProcessResult runCliProcess(const std::string& args, const std::string& environment = {});

}  // namespace velmora::testing
