// What one run of a command leaves for a script: the values read, what was written, the result,
// the lines the command prints and the messages it showed. `velmora-cli --json` writes it as one
// JSON object; the keys are a published interface (the README lists them): add keys, never
// rename or drop one.
#pragma once

#include <iosfwd>
#include <optional>
#include <streambuf>
#include <string>
#include <utility>
#include <vector>

#include "app/operation.h"

namespace velmora::cli {

struct CliOptions;

// One thing a command found, as named texts ("connection", "model", ...).
using Fields = std::vector<std::pair<std::string, std::string>>;

struct RunReport {
    std::vector<app::ReadValue> values;
    app::KeyValues written;
    std::optional<app::Result> result;  // of the last operation the command reported
    std::vector<std::string> output;    // the lines the command prints on standard output without --json
    std::vector<std::string> messages;  // the lines it wrote on standard error
    std::vector<Fields> found;          // what a search found (discover's printers), as "found"
};

// Takes an operation's values, what it wrote and its result into the report.
void noteOutcome(RunReport& report, const app::Outcome& outcome);

// Extra members of a printer's object in a fleet run.
struct FleetPlace {
    std::string name;  // as the summary names the printer
    int line = 0;      // of the printer list
    double seconds = 0;
};

// The report of one run as one line of JSON (without its line end).
std::string reportJson(const CliOptions& options, const RunReport& report, int status, int keysChanged,
                       const std::optional<FleetPlace>& place = std::nullopt);
// One change the status monitor saw, as one line of JSON: the printer's connection and place in
// the list, the time, and the change's key, value and detail.
std::string changeJson(const CliOptions& printerOptions, const FleetPlace& place, const std::string& time,
                       const std::string& key, const std::string& value, const std::string& detail);
// A run that ended before any command ran (a usage error): the words given and the reason.
std::string usageErrorJson(const std::vector<std::string>& command, const std::string& error, int status);
// The last line of a fleet: how many printers there were and how many of them failed.
std::string fleetSummaryJson(const CliOptions& options, std::size_t printers, std::size_t failed, int status);

// Passes everything written through to another stream and keeps each finished line (a line
// redrawn with carriage returns is kept as it was last drawn).
class LineRecorder final : public std::streambuf {
public:
    LineRecorder(std::ostream& target, std::vector<std::string>& lines);
    ~LineRecorder() override;

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;
    int sync() override;

private:
    void take(char c);
    std::ostream& target_;
    std::vector<std::string>& lines_;
    std::string line_;
};

// Splits printed text into its lines (a last line without its line end counts).
std::vector<std::string> textLines(const std::string& text);

}  // namespace velmora::cli
