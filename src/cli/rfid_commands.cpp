// velmora-cli commands for the RFID tools: "rfid get", "rfid set", "rfid reset-counters",
// "rfid calibrate", "rfid write" and "rfid read", over the tools' operations (rfid/rfidsettings.h,
// rfid/rfidtagops.h). A value the tool refuses (a range past the 64 cells, a password that is not
// 8 hexadecimal digits) prints the tool's message and exits 2.
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "cli/outcome.h"
#include "platform/codepage.h"
#include "resources/messages.h"
#include "rfid/rfidsettings.h"
#include "rfid/rfidtagops.h"

namespace velmora::cli {

namespace {

// The options of "rfid write" and "rfid read": flags, and options with one value.
struct TagOptions {
    std::set<std::string> flags;
    std::map<std::string, std::string> values;
    bool has(const std::string& name) const { return flags.count(name) || values.count(name); }
};

std::optional<TagOptions> parseTagOptions(const Args& args, const std::set<std::string>& flags,
                                          const std::set<std::string>& valued) {
    TagOptions o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (flags.count(args[i])) {
            o.flags.insert(args[i]);
        } else if (valued.count(args[i]) && i + 1 < args.size() && !o.values.count(args[i])) {
            o.values[args[i]] = args[i + 1];
            ++i;
        } else {
            return std::nullopt;
        }
    }
    return o;
}

std::optional<int> wholeNumber(const std::string& text, int lo, int hi) {
    if (text.empty() || text.size() > 4 || text.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
    const int v = std::stoi(text);
    if (v < lo || v > hi) return std::nullopt;
    return v;
}

const std::set<std::string> kWriteFlags = {"--metal", "--user", "--ascii", "--unlock"};
const std::set<std::string> kWriteValued = {"--start", "--data", "--lock", "--passwords"};
const std::set<std::string> kReadFlags = {"--metal", "--user", "--ascii", "--print"};
const std::set<std::string> kReadValued = {"--start", "--count"};

std::vector<std::string> splitCommas(const std::string& text) {
    std::vector<std::string> out(1);
    for (char c : text) {
        if (c == ',')
            out.emplace_back();
        else
            out.back() += c;
    }
    return out;
}

rfid::Memory memoryOf(const TagOptions& o) { return o.flags.count("--user") ? rfid::Memory::User : rfid::Memory::Epc; }
rfid::DataFormat formatOf(const TagOptions& o) {
    return o.flags.count("--ascii") ? rfid::DataFormat::Ascii : rfid::DataFormat::Hex;
}

// ---- configuration ----

// The counters are read back after the reset: only zeros the encoder reports show it was done.
int runResetCounters(Session& s, const Args&) {
    const app::Outcome reset = rfid::resetCounters(s.comm);
    if (!reset.done()) return reportOutcome(s, reset);
    app::Outcome counters = rfid::getEncoderSettings(s.comm, s.clock, {"valid", "void"});
    for (const auto& v : counters.values)
        if (v.valid && v.text.find_first_not_of('0') != std::string::npos) {
            counters.fail(msg::kRfidCalibrationFailed, v.key);
            counters.result.message = "the encoder still counts " + v.text + " for " + v.key;
        }
    if (!counters.done()) {
        counters.result.messageId = msg::kRfidCalibrationFailed;
        return reportOutcome(s, counters, false);
    }
    return reportOutcome(s, reset);
}

// ---- write ----

bool acceptsWrite(const Args& args) {
    const auto o = parseTagOptions(args, kWriteFlags, kWriteValued);
    if (!o) return false;
    if (o->has("--data") != o->has("--start")) return false;  // a range needs both
    if (const auto lock = o->values.find("--lock"); lock != o->values.end()) {
        if (lock->second.size() != 5 || !rfid::isHexDigits(lock->second)) return false;
    }
    if (const auto p = o->values.find("--passwords"); p != o->values.end() && splitCommas(p->second).size() != 4)
        return false;
    return o->has("--data") || o->has("--unlock") || o->has("--lock") || o->has("--passwords");
}

// The cells of the data: two hexadecimal digits each, or one character each (a character may
// take more than one byte of UTF-8; the tool checks it is one byte in the printer's code page).
std::optional<std::vector<std::string>> dataCells(const std::string& data, bool ascii) {
    std::vector<std::string> cells;
    if (!ascii) {
        if (data.size() % 2) return std::nullopt;
        for (std::size_t i = 0; i < data.size(); i += 2) cells.push_back(data.substr(i, 2));
        return cells;
    }
    if (!platform::isWellFormedUtf8(data)) return std::nullopt;
    for (char c : data) {
        if ((static_cast<unsigned char>(c) & 0xC0) == 0x80)
            cells.back() += c;
        else
            cells.emplace_back(1, c);
    }
    return cells;
}

int runWrite(Session& s, const Args& args) {
    const TagOptions o = *parseTagOptions(args, kWriteFlags, kWriteValued);
    if (const auto p = o.values.find("--passwords"); p != o.values.end()) {
        const auto words = splitCommas(p->second);
        const app::Outcome changed = rfid::changePasswords(s.comm, {words[0], words[1], words[2], words[3]});
        if (!changed.done()) return reportOutcome(s, changed);
        noteOutcome(s.report, changed);
        app::ShowMessage(s.host, changed.result.messageId);
    }
    if (!o.has("--data") && !o.has("--unlock") && !o.has("--lock")) return kExitOk;

    rfid::TagWriteRequest request;
    request.tagKind = o.flags.count("--metal") ? 1 : 0;
    request.memory = memoryOf(o);
    request.format = formatOf(o);
    request.unlock = o.has("--unlock");
    if (const auto lock = o.values.find("--lock"); lock != o.values.end())
        request.lock = static_cast<std::uint32_t>(std::stoul(lock->second, nullptr, 16));
    if (o.has("--data")) {
        const bool ascii = request.format == rfid::DataFormat::Ascii;
        const auto cells = dataCells(o.values.at("--data"), ascii);
        const auto start = wholeNumber(o.values.at("--start"), 0, 16);
        if (!cells || cells->size() < 2 || cells->size() > 64 || !start) {
            s.err << "velmora-cli: --start is 0 to 16 and --data 2 to 64 bytes"
                  << (ascii ? "" : " as pairs of hexadecimal digits") << '\n';
            return kExitUsage;
        }
        request.data = true;
        request.start = *start;
        request.cells = *cells;
        request.confirmByVoidCounter = true;
    }
    return reportOutcome(s, rfid::writeTag(s.comm, s.clock, request), false);
}

// ---- read ----

bool acceptsRead(const Args& args) {
    const auto o = parseTagOptions(args, kReadFlags, kReadValued);
    return o && o->has("--start") && o->has("--count");
}

int runRead(Session& s, const Args& args) {
    const TagOptions o = *parseTagOptions(args, kReadFlags, kReadValued);
    const auto start = wholeNumber(o.values.at("--start"), 0, 16);
    const auto count = wholeNumber(o.values.at("--count"), 2, 64);
    if (!start || !count) {
        s.err << "velmora-cli: --start is 0 to 16 and --count 2 to 64\n";
        return kExitUsage;
    }
    if (o.flags.count("--print")) return reportOutcome(s, rfid::printTag(s.comm, formatOf(o), *start, *count));
    const app::Outcome got =
        rfid::readTag(s.comm, s.clock, {o.flags.count("--metal") > 0, memoryOf(o), formatOf(o), *start, *count});
    if (got.done()) s.out << got.values.front().text << '\n';
    return reportOutcome(s, got, false);
}

const bool registered = [] {
    registerPageCommands("rfid", "rfid",
                         "rfid get [KEY...]      the encoder settings and counters as KEY=VALUE: tag-type,\n"
                         "                         power, position, retries, labels, valid, void",
                         "rfid set KEY=VALUE...  tag-type=GEN2|ISO-B, power=1..31, position=N (whole),\n"
                         "                         retries=0..10, labels=0..5");
    registerCommand({"rfid reset-counters", "rfid reset-counters    set the valid and void counters to 0",
                     [](const Args& a) { return a.empty(); }, runResetCounters});
    registerCommand({"rfid calibrate", "rfid calibrate         start the encoder's automatic calibration",
                     [](const Args& a) { return a.empty(); },
                     [](Session& s, const Args&) { return reportOutcome(s, rfid::startCalibration(s.comm)); }});
    registerCommand({"rfid write",
                     "rfid write [--metal] [--user] [--ascii] --start N --data HEX|TEXT [--unlock]\n"
                     "           [--lock PAYLOAD] [--passwords ACCESS,KILL,NEWACCESS,NEWKILL]\n"
                     "                         write tag data (a label tag: one label is printed); PAYLOAD\n"
                     "                         is the 20-bit lock payload as 5 hexadecimal digits",
                     acceptsWrite, runWrite});
    registerCommand({"rfid read",
                     "rfid read [--metal] [--user] [--ascii] --start N --count N [--print]\n"
                     "                         read tag data (or have the printer print it)",
                     acceptsRead, runRead});
    return true;
}();

}  // namespace

}  // namespace velmora::cli
