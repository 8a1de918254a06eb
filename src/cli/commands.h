// The registry of velmora-cli commands. Each subsystem registers its commands in a file of its
// own (a static `registerCommand` call), so adding one never touches the others.
#pragma once

#include <functional>
#include <iosfwd>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/toolcontext.h"
#include "cli/cli.h"
#include "ui/consolehost.h"

namespace velmora::cli {

using Args = std::vector<std::string>;
struct FleetRun;  // fleet.h

// What a command works with once the link is open and a printer has answered.
struct Session {
    link::CComm& comm;
    platform::Clock& clock;
    ui::ConsoleHost& host;
    std::ostream& out;
    std::ostream& err;
    app::ToolContext ctx{comm, clock, host};
    int keysChanged = -1;  // settings a profile command changed or found different; -1: none counted
    bool json = false;     // the values go into the report only, not onto `out`
    RunReport report{};
};

struct Command {
    std::string name;   // one or more words: "status", "zii get", "zii advanced set"
    std::string usage;  // one help line: "zii get    the basic settings as key=value lines"
    // Checks the arguments (the words after the name) before anything is sent.
    std::function<bool(const Args&)> accepts;
    // Runs on the connected link; returns the exit status.
    std::function<int(Session&, const Args&)> run;
    // When set and true for the arguments, the command runs without opening a link.
    std::function<bool(const Args&)> offline = {};
    // The files the command writes, checked before anything is sent so a bad path costs nothing.
    std::function<std::vector<std::string>(const Args&)> outputs = {};
    // When set, the command takes a whole --printers list itself (the status monitor) instead of
    // being run on each printer in turn.
    std::function<int(FleetRun&, const Args&)> fleet = {};
};

bool registerCommand(Command command);
// The command whose name is the longest run of leading words of `words`; nullptr when none.
// `used` is set to the number of words the name took.
const Command* findCommand(const Args& words, std::size_t& used);
std::vector<const Command*> allCommands();  // sorted by name

// KEY=VALUE arguments by key; nothing when there are none, one lacks its '=', or a key repeats.
std::optional<std::map<std::string, std::string>> keyValueArgs(const Args& args);

}  // namespace velmora::cli
