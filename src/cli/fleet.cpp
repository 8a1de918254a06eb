// The fleet run: a bounded pool of threads takes printers from the list in turn. Nothing is shared
// between printers but the list, the device factory and the clock (both without state), so one
// printer's silence costs only its own bounded waits.
#include "cli/fleet.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <map>
#include <ostream>
#include <sstream>
#include <thread>

#include "frontend/connection.h"
#include "frontend/tracefile.h"
#include "platform/files.h"
#include "platform/monotonic.h"
#include "profile/profile.h"

namespace velmora::cli {

namespace {

constexpr std::size_t kMaxListBytes = 1u << 20;

bool connectionOption(const std::string& a) { return a == "--tcp" || a == "--serial" || a == "--lpt"; }
bool serialOption(const std::string& a) {
    return a == "--baud" || a == "--data-bits" || a == "--parity" || a == "--stop-bits";
}

struct Outcome {
    PrinterRun run;
    std::string out;
    std::string err;
    double seconds = 0;
};

std::string lastLine(const std::string& text) {
    std::istringstream in(text);
    std::string last;
    for (std::string line; std::getline(in, line);)
        if (!line.empty()) last = line;
    if (last.rfind("velmora-cli: ", 0) == 0) last.erase(0, 13);
    return last;
}

std::string resultText(const Outcome& o, const Args& words) {
    if (o.run.status == kExitOk) return "ok";
    if (words.size() >= 2 && words[0] == "profile" && words[1] == "diff" && o.run.keysChanged > 0)
        return "failed: " + std::to_string(o.run.keysChanged) + " settings differ";
    const std::string why = lastLine(o.err);
    return "failed: " + (why.empty() ? "exit status " + std::to_string(o.run.status) : why);
}

}  // namespace

std::optional<std::vector<FleetPrinter>> parsePrinterList(const std::string& text, const CliOptions& base,
                                                          std::string& error) {
    std::vector<FleetPrinter> out;
    std::map<std::string, int> seen;
    std::istringstream in(text);
    int lineNo = 0;
    for (std::string line; std::getline(in, line);) {
        ++lineNo;
        if (const auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
        std::istringstream words(line);
        Args tokens;
        for (std::string w; words >> w;) tokens.push_back(w);
        if (tokens.empty()) continue;
        const std::string where = "line " + std::to_string(lineNo) + ": ";
        int connections = 0;
        for (std::size_t i = 0; i < tokens.size(); i += 2) {
            if (connectionOption(tokens[i])) {
                ++connections;
            } else if (!serialOption(tokens[i])) {
                error = where + "expected --tcp HOST[:PORT], --serial DEVICE [--baud ...] or --lpt DEVICE, not " + tokens[i];
                return std::nullopt;
            }
        }
        if (connections != 1) {
            error = where + "give one connection per line";
            return std::nullopt;
        }
        std::string why;
        const auto parsed = frontend::parseConnection(tokens, why);
        if (!parsed) {
            error = where + why;
            return std::nullopt;
        }
        FleetPrinter p{lineNo, {}, base};
        p.options.connection = parsed->connection;
        p.options.host = parsed->host;
        p.options.port = parsed->port;
        p.options.device = parsed->device;
        p.options.baud = parsed->baud;
        p.options.dataBits = parsed->dataBits;
        p.options.parity = parsed->parity;
        p.options.stopBits = parsed->stopBits;
        p.options.printersFile.clear();
        p.name = parsed->connection == CliOptions::Connection::Tcp
                     ? (parsed->host.find(':') != std::string::npos ? "[" + parsed->host + "]" : parsed->host) + ":" +
                           std::to_string(parsed->port)
                     : parsed->device;
        if (const auto [it, fresh] = seen.emplace(p.name, lineNo); !fresh) {
            error = where + p.name + " is already listed on line " + std::to_string(it->second);
            return std::nullopt;
        }
        out.push_back(std::move(p));
    }
    if (out.empty()) {
        error = "the list names no printer";
        return std::nullopt;
    }
    return out;
}

std::string fleetCommandProblem(const Command& command, const Args& words) {
    static const char* const allowed[] = {"profile save", "profile diff", "profile apply", "status", "connect"};
    if (command.fleet) return {};
    if (std::find(std::begin(allowed), std::end(allowed), command.name) == std::end(allowed))
        return "--printers runs profile save, diff and apply, status, connect and monitor only";
    if (std::find(words.begin(), words.end(), "--include-identity") != words.end())
        return "--include-identity is for one printer only: a fleet would give every printer the same identity";
    return {};
}

int runFleet(const CliOptions& options, std::ostream& out, std::ostream& err, platform::DeviceFactory& devices,
             platform::Clock& clock) {
    // Nothing runs on any printer after one of these.
    auto refuse = [&](const std::string& why) {
        err << "velmora-cli: " << why << '\n';
        if (options.json) out << usageErrorJson(options.command, why, kExitUsage) << '\n';
        return static_cast<int>(kExitUsage);
    };
    const auto read = platform::readTextFile(options.printersFile, kMaxListBytes);
    if (read.outcome != platform::TextFileRead::Outcome::Read)
        return refuse("cannot read the printer list " + options.printersFile);
    std::string error;
    auto printers = parsePrinterList(read.text, options, error);
    if (!printers) return refuse(options.printersFile + ": " + error);
    const auto& words = options.command;
    std::size_t used = 0;
    if (const Command* command = findCommand(words, used); command && command->fleet) {
        FleetRun run{*printers, options, out, err, devices, clock};
        return command->fleet(run, Args(words.begin() + used, words.end()));
    }
    // A malformed profile is refused once, before any printer is contacted.
    if (words.size() >= 3 && words[0] == "profile" && (words[1] == "diff" || words[1] == "apply")) {
        const std::string& file = words[2] == "--include-identity" && words.size() > 3 ? words[3] : words[2];
        const auto text = platform::readTextFile(file, kMaxListBytes);
        profile::ProfileError problem;
        if (text.outcome != platform::TextFileRead::Outcome::Read || !profile::parseProfile(text.text, problem))
            return refuse(file + ": " +
                          (text.outcome == platform::TextFileRead::Outcome::Read ? problem.text()
                                                                                 : "cannot read the profile") +
                          "; nothing was written to any printer");
    }
    // Files a printer writes are its own: FILE.LINE for a saved profile and for a trace.
    const bool save = options.command.size() >= 3 && options.command[0] == "profile" && options.command[1] == "save";
    for (auto& p : *printers) {
        if (save) p.options.command[2] += "." + std::to_string(p.line);
        if (!p.options.traceFile.empty()) p.options.traceFile += "." + std::to_string(p.line);
    }

    std::vector<Outcome> outcomes(printers->size());
    std::atomic<std::size_t> next{0};
    auto work = [&] {
        for (std::size_t i = next++; i < printers->size(); i = next++) {
            const FleetPrinter& p = (*printers)[i];
            std::ostringstream pout, perr;
            const auto trace = p.options.traceFile.empty() ? nullptr : frontend::makeSessionTrace(clock);
            const std::uint64_t start = platform::monotonicMicros();
            Outcome& o = outcomes[i];
            o.run = runOnPrinter(p.options, pout, perr, devices, clock, trace.get());
            if (trace) {
                LineRecorder recorder(perr, o.run.report.messages);
                std::ostream recorded(&recorder);
                if (!frontend::writeTrace(*trace, p.options.traceFile, p.options.traceJsonl, p.options.json ? recorded : perr))
                    o.run.status = kExitFailure;
            }
            o.seconds = static_cast<double>(platform::monotonicMicros() - start) / 1e6;
            o.out = pout.str();
            o.err = perr.str();
        }
    };
    const std::size_t threads = std::min<std::size_t>(options.jobs, printers->size());
    std::vector<std::thread> pool;
    for (std::size_t t = 1; t < threads; ++t) pool.emplace_back(work);
    work();
    for (auto& t : pool) t.join();

    if (options.json) {
        // One object a line per printer, then the summary; what each printer said stays on
        // standard error, under its name.
        std::size_t failures = 0;
        for (std::size_t i = 0; i < printers->size(); ++i) {
            const Outcome& o = outcomes[i];
            const FleetPrinter& p = (*printers)[i];
            if (o.run.status != kExitOk) ++failures;
            if (!o.err.empty()) err << "== " << p.name << '\n' << o.err;
            out << reportJson(p.options, o.run.report, o.run.status, o.run.keysChanged,
                              FleetPlace{p.name, p.line, o.seconds})
                << '\n';
        }
        const int status = failures ? kExitFailure : kExitOk;
        out << fleetSummaryJson(options, printers->size(), failures, status) << '\n';
        return status;
    }

    std::size_t width = 7;
    for (const auto& p : *printers) width = std::max(width, p.name.size());
    bool failed = false;
    for (std::size_t i = 0; i < printers->size(); ++i) {
        const Outcome& o = outcomes[i];
        // What a printer left as it was is counted in the summary, not listed key by key.
        std::istringstream lines(o.out);
        std::string shown;
        for (std::string line; std::getline(lines, line);)
            if (!line.ends_with(": unchanged")) shown += line + '\n';
        if (shown.empty() && o.err.empty()) continue;
        out << "== " << (*printers)[i].name << '\n' << shown << o.err;
    }
    char row[64];
    out << '\n';
    out << "printer" << std::string(width - 7 + 2, ' ') << "keys  time     result\n";
    for (std::size_t i = 0; i < printers->size(); ++i) {
        const Outcome& o = outcomes[i];
        failed = failed || o.run.status != kExitOk;
        const std::string keys = o.run.keysChanged >= 0 ? std::to_string(o.run.keysChanged) : "-";
        std::snprintf(row, sizeof row, "%4s  %6.2fs  ", keys.c_str(), o.seconds);
        const std::string& name = (*printers)[i].name;
        out << name << std::string(width - name.size() + 2, ' ') << row << resultText(o, options.command) << '\n';
    }
    return failed ? kExitFailure : kExitOk;
}

}  // namespace velmora::cli
