// velmora-cli --printers FILE: one command run against every printer of a list, several at a
// time, each with its own port object, host and trace, then a summary line per printer.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli/commands.h"

namespace velmora::cli {

struct FleetPrinter {
    int line = 0;        // in the list file
    std::string name;    // "127.0.0.1:9101", "/dev/ttyUSB0"
    CliOptions options;  // the invocation's options with this printer's connection
};

// What a command that takes the whole list (Command::fleet) gets.
struct FleetRun {
    const std::vector<FleetPrinter>& printers;
    const CliOptions& options;
    std::ostream& out;
    std::ostream& err;
    platform::DeviceFactory& devices;
    platform::Clock& clock;
};

// The printers of a list: one connection per line in the --tcp, --serial (with its --baud,
// --data-bits, --parity, --stop-bits) or --lpt form; '#' starts a comment. Refused with the line:
// any other option, a line with no or two connections, the same printer twice, an empty list.
std::optional<std::vector<FleetPrinter>> parsePrinterList(const std::string& text, const CliOptions& base,
                                                          std::string& error);

// Why the command cannot run on a fleet; empty when it can (profile save, diff, apply, status,
// connect, and a command that takes the whole list). Identity strings are never applied to a
// fleet: every printer would get the same.
std::string fleetCommandProblem(const Command& command, const Args& words);

int runFleet(const CliOptions& options, std::ostream& out, std::ostream& err, platform::DeviceFactory& devices,
             platform::Clock& clock);

}  // namespace velmora::cli
