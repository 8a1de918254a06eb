// velmora-cli: the tool dialogs driven from the command line through the console host, so the
// bytes it sends are the bytes the window sends.
#pragma once

#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/report.h"
#include "link/comm.h"
#include "link/sessiontrace.h"
#include "platform/clock.h"
#include "platform/device.h"

namespace velmora::cli {

enum ExitStatus { kExitOk = 0, kExitFailure = 1, kExitUsage = 2 };
constexpr unsigned kMaxJobs = 256;  // printers served at once by --printers

struct CliOptions {
    enum class Connection { Tcp, Serial, Lpt, Usb };
    Connection connection = Connection::Tcp;
    std::string host = "127.0.0.1";
    unsigned port = 9100;
    std::string device;  // serial or parallel device path
    unsigned baud = 115200;
    int dataBits = 8;
    int parity = 0;    // 0 none, 1 odd, 2 even
    int stopBits = 0;  // 0 one, 1 one and a half, 2 two
    std::string codepage;
    std::optional<unsigned> timeoutMs;
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
// Sets the port object up for the chosen connection.
void configureLink(link::CComm& comm, const CliOptions& options);
std::string usageText();
// The version record as --version prints it: "velmora-cli 1.0.0" and the product's record.
std::string versionText(const std::string& program);

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
// A trace timed by the clock's own time when it is a test clock, else in real microseconds.
std::unique_ptr<link::SessionTrace> makeSessionTrace(platform::Clock& clock);
// Writes a session trace to `path` in the chosen form; false (with a line on err) on failure.
bool writeTrace(const link::SessionTrace& trace, const std::string& path, bool jsonl, std::ostream& err);

// Runs one invocation; returns the exit status.
int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           platform::DeviceFactory& devices, platform::Clock& clock);

}  // namespace velmora::cli
