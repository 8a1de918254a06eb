// velmora-cli: the tool dialogs driven from the command line through the console host, so the
// bytes it sends are the bytes the window sends.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "cli/report.h"
#include "frontend/connection.h"
#include "link/sessiontrace.h"
#include "platform/clock.h"
#include "platform/device.h"

namespace velmora::cli {

enum ExitStatus { kExitOk = 0, kExitFailure = 1, kExitUsage = 2 };
constexpr unsigned kMaxJobs = 256;  // printers served at once by --printers

struct CliOptions : frontend::ConnectionOptions {
    std::string codepage;
    int menuMode = 1;  // as the window starts: 0 native, 1 ZII
    bool help = false;
    std::string traceFile;             // --trace: where the session trace goes
    bool traceJsonl = false;           // --trace-format jsonl
    std::string printersFile;          // --printers: run the command on every printer listed
    unsigned jobs = 8;                 // --jobs: printers at a time
    bool version = false;
    bool json = false;                 // --json: one JSON object on standard output
    std::vector<std::string> command;  // the command and its arguments
};

// Parses the arguments (without the program name); nothing and `error` set on a usage error.
// `json`, when given, tells whether --json came before the error.
std::optional<CliOptions> parseCliOptions(const std::vector<std::string>& args, std::string& error,
                                          bool* json = nullptr);
std::string usageText();

// What one printer's run left behind, for a fleet's summary and --json.
struct PrinterRun {
    int status = kExitFailure;
    int keysChanged = -1;
    RunReport report;
};
// Opens the link of `options`, checks that the printer answers, and runs its command; the trace,
// when given, records the session.
PrinterRun runOnPrinter(const CliOptions& options, std::ostream& out, std::ostream& err,
                        platform::DeviceFactory& devices, platform::Clock& clock, link::SessionTrace* trace);

// Runs one invocation; returns the exit status.
int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           platform::DeviceFactory& devices, platform::Clock& clock);

}  // namespace velmora::cli
