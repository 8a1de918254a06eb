// velmora-cli: the tool dialogs driven from the command line through the console host, so the
// bytes it sends are the bytes the window sends.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "link/comm.h"
#include "platform/clock.h"
#include "platform/device.h"

namespace velmora::cli {

enum ExitStatus { kExitOk = 0, kExitFailure = 1, kExitUsage = 2 };

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
    bool version = false;
    std::vector<std::string> command;  // the command and its arguments
};

// Parses the arguments (without the program name); nothing and `error` set on a usage error.
std::optional<CliOptions> parseCliOptions(const std::vector<std::string>& args, std::string& error);
// Sets the port object up for the chosen connection.
void configureLink(link::CComm& comm, const CliOptions& options);
std::string usageText();
// The version record as --version prints it: "velmora-cli 1.0.0" and the product's record.
std::string versionText(const std::string& program);

// Runs one invocation; returns the exit status.
int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           platform::DeviceFactory& devices, platform::Clock& clock);

}  // namespace velmora::cli
