// Command-line options, the connection, and the commands.
#include "cli/cli.h"

#include <algorithm>
#include <functional>
#include <map>
#include <ostream>
#include <sstream>

#include "app/handshake.h"
#include "app/menumode.h"
#include "app/sent.h"
#include "app/toolcontext.h"
#include "cli/commands.h"
#include "cli/escapes.h"
#include "cli/fleet.h"
#include "cli/outcome.h"
#include "frontend/tracefile.h"
#include "frontend/version.h"
#include "platform/codepage.h"
#include "platform/deviceaccess.h"
#include "platform/files.h"
#include "resources/messages.h"
#include "resources/stringtable.h"
#include "status/statusops.h"
#include "ui/consolehost.h"

namespace velmora::cli {

namespace {

bool readCount(const Args& args, unsigned& n) {
    n = 512;
    if (args.size() > 1) return false;
    return args.empty() || (frontend::parseUnsigned(args[0], n) && n > 0 && n <= 65536);
}

int cmdConnect(Session& s, const Args&) { return reportOutcome(s, app::Outcome{}.finish(msg::kPortOpened)); }

int cmdStatus(Session& s, const Args& args) {
    const status::StatusQuery& query = args.empty() ? status::cpQuery() : status::cuQuery();
    const app::Outcome outcome = status::queryStatus(s.comm, s.clock, query);
    noteOutcome(s.report, outcome);
    const app::ReadValue* value = outcome.find(status::kStatusKey);
    if (value && value->valid) {
        for (const std::string& box : status::tickedBoxes(query, status::replyBytes(*value))) s.out << box << '\n';
        return kExitOk;
    }
    // "Status Data Read Fail!" says it all when no whole reply came; a whole one is named.
    if (outcome.result.messageId)
        app::ShowMessage(s.host, outcome.result.messageId);
    else
        nameInvalidValues(s, outcome);
    return kExitFailure;
}

int cmdSend(Session& s, const Args& args) {
    std::string refusal;
    const auto typed = typedCommandBytes(args[0], refusal);
    if (!typed) {
        s.err << "velmora-cli: " << refusal << '\n';
        return kExitUsage;
    }
    const std::string& bytes = *typed;
    const int sent = s.comm.WriteBytes(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    // An empty text sends nothing and is not a failure.
    app::Outcome outcome;
    if (sent > 0 || bytes.empty())
        app::noteSent(outcome.written, "text", bytes);
    else
        outcome.fail(0, "text");
    noteOutcome(s.report, outcome);
    return outcome.done() ? kExitOk : kExitFailure;
}

int cmdRead(Session& s, const Args& args) {
    unsigned n = 512;
    readCount(args, n);
    std::string buf(n, '\0');
    s.comm.BeginAction();
    const int got = s.comm.ReadBytes(reinterpret_cast<std::uint8_t*>(buf.data()), n);
    app::Outcome outcome;
    if (got <= 0) {
        noteOutcome(s.report, outcome.fail(0, "read"));
        s.err << "velmora-cli: the printer sent nothing\n";
        return kExitFailure;
    }
    const std::string_view bytes = std::string_view(buf).substr(0, static_cast<std::size_t>(got));
    outcome.values.push_back({"read", hexBytes(bytes), true, true, std::string(bytes), {}});
    noteOutcome(s.report, outcome);
    s.out << hexBytes(bytes) << '\n';
    return kExitOk;
}

const bool registered = [] {
    registerCommand({"connect", "connect                only the check; prints \"Success open port.\"",
                     [](const Args& a) { return a.empty(); }, cmdConnect});
    registerCommand({"status", "status [--cu]          the ^cp (or ^cu) status bits, one line per ticked box",
                     [](const Args& a) { return a.empty() || (a.size() == 1 && a[0] == "--cu"); }, cmdStatus});
    registerCommand({"send", "send TEXT              write TEXT; \\r \\n \\t \\e \\0 \\\\ and \\xNN are decoded",
                     [](const Args& a) { return a.size() == 1; }, cmdSend});
    registerCommand({"read", "read [N]               one read of up to N bytes (512), printed as hexadecimal",
                     [](const Args& a) {
                         unsigned n;
                         return readCount(a, n);
                     },
                     cmdRead});
    return true;
}();

std::map<std::string, Command>& registry() {
    static std::map<std::string, Command> table;
    return table;
}

}  // namespace

bool registerCommand(Command command) {
    auto name = command.name;
    registry()[name] = std::move(command);
    return true;
}

const Command* findCommand(const Args& words, std::size_t& used) {
    const Command* best = nullptr;
    std::string name;
    for (std::size_t i = 0; i < words.size(); ++i) {
        name += (i ? " " : "") + words[i];
        auto it = registry().find(name);
        if (it != registry().end()) {
            best = &it->second;
            used = i + 1;
        }
    }
    return best;
}

std::vector<const Command*> allCommands() {
    std::vector<const Command*> out;
    for (const auto& [name, command] : registry()) out.push_back(&command);
    return out;
}

std::string usageText() {
    std::string text =
        "Usage: velmora-cli [CONNECTION] [OPTIONS] COMMAND [ARGS]\n"
           "\n"
           "Connection (one of; default --tcp 127.0.0.1:9100):\n"
           "  --tcp HOST[:PORT]      printer on the network (port 9100 unless given)\n"
           "  --serial DEVICE        serial port, e.g. /dev/ttyUSB0, with\n"
           "      --baud 9600|19200|38400|57600|115200   (115200)\n"
           "      --data-bits 7|8                        (8)\n"
           "      --parity none|odd|even                 (none)\n"
           "      --stop-bits 1|1.5|2                    (1)\n"
           "  --lpt DEVICE           parallel port, e.g. /dev/lp0\n"
           "  --usb                  the first known USB printer\n"
           "\n"
           "Options:\n"
           "  --codepage NAME        printer code page (default WINDOWS-1252, or $VELMORA_CODEPAGE)\n"
           "  --menu-mode 0|1        the menus the tools act for: 0 native, 1 ZII (default, as the window)\n"
           "  --timeout MS           network bound: name lookup and connect together, a send that stalls,\n"
           "                         and the first receive of an action that gets no reply (later ones\n"
           "                         of that action then wait 100 ms); default 5000, 3000, 3000\n"
           "  --trace FILE           write the session trace to FILE: every byte written and read, every\n"
           "                         pause and message, one entry per line (20 bytes a row, hex beside text)\n"
           "  --trace-format text|jsonl  the trace as text (default) or one JSON object per line\n"
           "  --printers FILE        run the command on every printer of FILE (one --tcp, --serial or --lpt\n"
           "                         connection per line, '#' comments) and print a summary line each;\n"
           "                         profile save and --trace write FILE.LINE per printer\n"
           "  --jobs N               printers at a time with --printers (default 8)\n"
           "  --json                 print one JSON object on standard output: the values read, what\n"
           "                         was sent, the result and the exit status (with --printers, one\n"
           "                         object a line per printer, then a summary); messages stay on\n"
           "                         standard error\n"
           "  --help                 this text\n"
           "  --version              the version record\n"
           "\n"
           "Commands (each first connects and checks that the printer answers):\n";
    for (const Command* c : allCommands()) text += "  " + c->usage + "\n";
    text += "\n"
            "Exit status: 0 success, 1 printer or link failure, 2 usage error.\n"
            "Messages of the tools are printed on standard error as \"Caption: text\".\n";
    return text;
}

std::optional<CliOptions> parseCliOptions(const std::vector<std::string>& args, std::string& error, bool* json) {
    CliOptions o;
    int connections = 0;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& v) { return frontend::takeOptionValue(args, i, v, error); };
        std::string v;
        if (o.command.empty()) {
            const frontend::Taken taken = frontend::takeConnectionOption(args, i, o, connections, error);
            if (taken == frontend::Taken::Error) return std::nullopt;
            if (taken == frontend::Taken::Yes) continue;
        }
        if (!o.command.empty()) {
            o.command.push_back(a);  // everything after the command belongs to it
        } else if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--version") {
            o.version = true;
        } else if (a == "--json") {
            o.json = true;
            if (json) *json = true;
        } else if (a == "--codepage") {
            if (!value(o.codepage)) return std::nullopt;
            if (const auto check = platform::checkCodePage(o.codepage); check != platform::CodePageCheck::Ok) {
                error = platform::codePageProblem(o.codepage, check);
                return std::nullopt;
            }
        } else if (a == "--menu-mode") {
            if (!value(v)) return std::nullopt;
            if (v != "0" && v != "1") {
                error = "--menu-mode takes 0 (native) or 1 (ZII)";
                return std::nullopt;
            }
            o.menuMode = v[0] - '0';
        } else if (a == "--trace") {
            if (!value(o.traceFile)) return std::nullopt;
            if (o.traceFile.empty()) {
                error = "--trace needs a file";
                return std::nullopt;
            }
        } else if (a == "--trace-format") {
            if (!value(v)) return std::nullopt;
            if (v != "text" && v != "jsonl") {
                error = "--trace-format takes text or jsonl";
                return std::nullopt;
            }
            o.traceJsonl = v == "jsonl";
        } else if (a == "--printers") {
            if (!value(o.printersFile)) return std::nullopt;
            if (o.printersFile.empty()) {
                error = "--printers needs a file";
                return std::nullopt;
            }
        } else if (a == "--jobs") {
            if (!value(v)) return std::nullopt;
            if (!frontend::parseUnsigned(v, o.jobs) || o.jobs == 0 || o.jobs > kMaxJobs) {
                error = "--jobs takes 1 to " + std::to_string(kMaxJobs);
                return std::nullopt;
            }
        } else if (a.rfind("--", 0) == 0) {
            error = "unknown option " + a;
            return std::nullopt;
        } else {
            o.command.push_back(a);
        }
    }
    if (connections > 1) {
        error = "give one connection only";
        return std::nullopt;
    }
    if (!o.printersFile.empty() && connections > 0) {
        error = "give either --printers or a connection";
        return std::nullopt;
    }
    if (!o.help && !o.version && o.command.empty()) {
        error = "no command given";
        return std::nullopt;
    }
    if (!o.command.empty()) {
        std::size_t used = 0;
        const Command* command = findCommand(o.command, used);
        if (!command) {
            error = "unknown command " + o.command[0];
            return std::nullopt;
        }
        if (!command->accepts(Args(o.command.begin() + used, o.command.end()))) {
            error = "bad arguments for " + command->name;
            return std::nullopt;
        }
        if (!o.printersFile.empty() && !fleetCommandProblem(*command, o.command).empty()) {
            error = fleetCommandProblem(*command, o.command);
            return std::nullopt;
        }
    }
    return o;
}

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           platform::DeviceFactory& devices, platform::Clock& clock) {
    // Output that could not be written (a full disk, a closed pipe) is a failure like any other.
    auto finish = [&out, &err](int status) -> int {
        out.flush();
        if (out) return status;
        err << "velmora-cli: cannot write the output\n";
        return kExitFailure;
    };
    std::string error;
    bool json = false;
    const auto options = parseCliOptions(args, error, &json);
    if (!options) {
        err << "velmora-cli: " << error << "\nTry 'velmora-cli --help'.\n";
        if (!json) return kExitUsage;
        out << usageErrorJson({}, error, kExitUsage) << '\n';
        return finish(kExitUsage);
    }
    if (options->help) {
        out << usageText();
        return finish(kExitOk);
    }
    if (options->version) {
        out << frontend::versionText("velmora-cli");
        return finish(kExitOk);
    }
    if (options->codepage.empty()) {
        if (const std::string problem = platform::codePageEnvironmentProblem(); !problem.empty()) {
            err << "velmora-cli: " << problem << '\n';
            if (options->json) out << usageErrorJson(options->command, problem, kExitUsage) << '\n';
            return finish(kExitUsage);
        }
    } else {
        platform::setSystemCodePage(options->codepage);  // checked with the options
    }
    // Decides what the menu mode decides in the window (command prefixes and scales, page sets).
    app::MenuMode = options->menuMode;

    if (!options->printersFile.empty()) return finish(runFleet(*options, out, err, devices, clock));
    const auto trace = options->traceFile.empty() ? nullptr : frontend::makeSessionTrace(clock);
    PrinterRun run = runOnPrinter(*options, out, err, devices, clock, trace.get());
    if (trace) {
        LineRecorder recorder(err, run.report.messages);
        std::ostream recorded(&recorder);
        if (!frontend::writeTrace(*trace, options->traceFile, options->traceJsonl, options->json ? recorded : err))
            run.status = kExitFailure;
    }
    if (options->json) out << reportJson(*options, run.report, run.status, run.keysChanged) << '\n';
    return finish(run.status);
}

PrinterRun runOnPrinter(const CliOptions& options, std::ostream& out, std::ostream& realErr,
                        platform::DeviceFactory& devices, platform::Clock& realClock, link::SessionTrace* trace) {
    PrinterRun run;
    // With --json everything said on standard error is kept for the report, and what the command
    // prints is kept as its output lines: standard output carries the JSON object alone.
    LineRecorder recorder(realErr, run.report.messages);
    std::ostream recordedErr(&recorder);
    std::ostream& err = options.json ? recordedErr : realErr;
    std::ostringstream printed;
    const auto ended = [&](int status, int keysChanged, const RunReport& operations) {
        recordedErr.flush();
        run.status = status;
        run.keysChanged = keysChanged;
        run.report.values = operations.values;
        run.report.written = operations.written;
        run.report.result = operations.result;
        run.report.found = operations.found;
        run.report.output = textLines(printed.str());
        return run;
    };
    ui::ConsoleHost host(err);
    app::HostLinkMessages messages(host);
    // With a trace, every pause and message box of the session is recorded beside the bytes.
    std::optional<link::TracingClock> tracing;
    if (trace) {
        tracing.emplace(realClock, *trace);
        host.messageWatcher = [trace](const std::string& text) { trace->recordMessage(text); };
    }
    platform::Clock& clock = tracing ? static_cast<platform::Clock&>(*tracing) : realClock;
    link::CComm comm(devices, clock, messages);
    comm.observer = trace;
    comm.portMap = platform::PortMap::fromSettings();  // the user's [Ports]; --serial and --lpt override
    if (!comm.portMap.note().empty()) err << "velmora-cli: " << comm.portMap.note() << '\n';
    frontend::configureLink(comm, options);
    std::size_t used = 0;
    const Command* command = findCommand(options.command, used);
    const Args rest(options.command.begin() + used, options.command.end());
    // An output that cannot be written is found before the printer is touched.
    std::vector<std::string> outputs = command->outputs ? command->outputs(rest) : std::vector<std::string>{};
    if (!options.traceFile.empty()) outputs.push_back(options.traceFile);
    for (const auto& path : outputs)
        if (const std::string problem = platform::outputProblem(path); !problem.empty()) {
            err << "velmora-cli: " << problem << "; nothing was done\n";
            return ended(kExitFailure, -1, {});
        }
    std::ostream& commandOut = options.json ? static_cast<std::ostream&>(printed) : out;
    Session session{comm, clock, host, commandOut, err};
    session.json = options.json;
    if (command->offline && command->offline(rest)) {
        const int status = command->run(session, rest);
        return ended(status, session.keysChanged, session.report);
    }
    if (!app::OpenAndHandshake(comm, clock)) {
        app::ShowMessage(host, msg::kCannotOpenPort);
        const link::CComm::OpenFailure& failure = comm.openFailure();
        if (const std::string advice = platform::deviceAccessAdvice(failure.device, failure.error, comm.traits().deviceUse);
            !advice.empty())
            err << "velmora-cli: " << advice << '\n';
        RunReport report;
        report.result = app::Result{app::Status::Failed, msg::kCannotOpenPort, {}, "connect"};
        return ended(kExitFailure, -1, report);
    }
    const int status = command->run(session, rest);
    comm.Close();
    comm.CloseTcp();
    return ended(status, session.keysChanged, session.report);
}

std::optional<std::map<std::string, std::string>> keyValueArgs(const Args& args) {
    if (args.empty()) return std::nullopt;
    std::map<std::string, std::string> out;
    for (const auto& arg : args) {
        const auto eq = arg.find('=');
        if (eq == std::string::npos || !out.emplace(arg.substr(0, eq), arg.substr(eq + 1)).second)
            return std::nullopt;
    }
    return out;
}

}  // namespace velmora::cli
