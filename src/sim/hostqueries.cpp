// The host queries' replies and how they reach the link: status, identification, memory, the
// ~HQ queries and the head diagnostic here; the settings listings in hostsettings.cpp.
#include "sim/hostqueries.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "sim/parser.h"

namespace velmora::sim {

namespace {

constexpr char kStx = '\x02';
constexpr char kEtx = '\x03';
constexpr std::string_view kCrLf = "\r\n";
constexpr int kDotsPerMm = 8;
constexpr unsigned kPassword = 1234;
// The user memory is the image store: what it holds is what the printer has free.
constexpr std::size_t kMemoryKb = ImageStore::kMaxTotalBytes / 1024;

// `value` in decimal with zeros in front up to `width` digits (never cut).
std::string padded(long long value, int width) {
    char text[32];
    std::snprintf(text, sizeof text, "%0*lld", width, value);
    return text;
}

std::string flag(bool on) { return on ? "1" : "0"; }

std::string framed(std::string_view body) {
    std::string out(1, kStx);
    out.append(body);
    out += kEtx;
    out.append(kCrLf);
    return out;
}

// Lines, each ended by CR LF, between STX and ETX CR LF.
std::string framedLines(const std::vector<std::string>& lines, bool crLfAfterStx) {
    std::string body = crLfAfterStx ? std::string(kCrLf) : std::string();
    for (const std::string& line : lines) body += line + std::string(kCrLf);
    return framed(body);
}

unsigned baudCode(unsigned baud) {
    static constexpr unsigned kRates[] = {110,   300,   600,   1200,  2400,  4800,  9600,
                                          19200, 28800, 38400, 57600, 14400, 115200};
    const auto* at = std::find(std::begin(kRates), std::end(kRates), baud);
    return at == std::end(kRates) ? 6u : static_cast<unsigned>(at - std::begin(kRates));
}

unsigned interfaceBits(const SerialSettings& s) {
    const unsigned code = baudCode(s.baud);
    return ((code & 8u) << 5) | (code & 7u) | (s.handshake != 'X' ? 0x80u : 0u) |
           (s.parity == 'E' ? 0x40u : 0u) | (s.parity != 'N' ? 0x20u : 0u) | (s.stopBits == 1 ? 0x10u : 0u) |
           (s.dataBits == 8 ? 0x08u : 0u);
}

// The ~HS print-mode digit of each ^MM letter; the reserved letters have none and answer 0.
char printModeDigit(char mediaHandling) {
    constexpr std::string_view kLetters = "RPTCADF", kDigits = "0123459";
    const std::size_t at = kLetters.find(mediaHandling);
    return at == std::string_view::npos ? '0' : kDigits[at];
}

std::string hexFlags(unsigned flags) {
    char text[16];
    std::snprintf(text, sizeof text, "%08X", flags);
    return text;
}

std::string printerStatusReply(const HostView& v) {
    const unsigned errors = (v.has("paper-empty") ? 0x01u : 0u) | (v.has("ribbon-end") ? 0x02u : 0u) |
                            (v.has("cover-open") ? 0x04u : 0u) | (v.has("cutter-jammed") ? 0x08u : 0u) |
                            (v.has("head-overheat") ? 0x10u : 0u);
    const unsigned warnings = v.has("gap-error") ? 0x01u : 0u;
    const auto line = [](std::string_view name, unsigned flags) {
        std::string text = "    " + std::string(name);
        text.resize(20, ' ');
        return text + flag(flags != 0) + " 00000000 " + hexFlags(flags);
    };
    return framedLines({"  PRINTER STATUS", line("ERRORS:", errors), line("WARNINGS:", warnings)}, true);
}

std::string serialNumberReply(const HostView& v) {
    return framedLines({"  SERIAL NUMBER", "  " + v.native.identity[1]}, true);
}

std::string identificationReply(const HostView& v) {
    return framed(v.native.modelName + "," + v.native.firmware + "," + std::to_string(kDotsPerMm) + "," +
                  std::to_string(kMemoryKb) + "KB");
}

std::string memoryReply(const HostView& v) {
    std::size_t used = 0;
    for (const auto& image : v.images) used += image.second;
    const std::size_t freeKb =
        (ImageStore::kMaxTotalBytes - std::min(used, ImageStore::kMaxTotalBytes)) / 1024;
    return padded(kMemoryKb, 4) + "," + padded(kMemoryKb, 4) + "," +
           padded(static_cast<long long>(freeKb), 4) + std::string(kCrLf);
}

std::string headDiagnosticReply(const HostView& v) {
    const ZiiSettings& s = v.zii.current;
    const std::string pitch = padded(s.labelLength, 4);
    return framedLines(
        {
            "Head Temp = " + std::string(v.has("head-overheat") ? "70" : "25"),
            "Ambient Temp = 25",
            "Head Test = Passed",
            "Darkness Adjust = " + std::to_string(s.darkness),
            "Print Speed = " + std::to_string(s.printSpeed),
            "Slew Speed = " + std::to_string(s.slewSpeed),
            "Backfeed Speed = 2",  // ^PR's third value is not kept: its default
            "Static_pitch_length = " + pitch,
            "Dynamic_pitch_length = " + pitch,
            "Max_dynamic_pitch_length = " + pitch,
            "Min_dynamic_pitch_length = " + pitch,
            "COMMAND PFX = ~ : FORMAT PFX = ^ : DELIMITER = ,",
            "Dynamic_dot_error = 0",
        },
        false);
}

char upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

}  // namespace

bool HostView::has(std::string_view statusBit) const {
    const StatusBit* bit = findStatusBit(statusBit);
    return bit && (status[bit->byte] & bit->mask) != 0;
}

HostView hostView(const Printer& printer, bool formatOpen) {
    HostView v;
    v.status = printer.statusBytes();
    v.zii = printer.zii();
    v.native = printer.native();
    v.diagnostics = printer.media().diagnostics;
    v.images = printer.images().list();
    v.formatOpen = formatOpen;
    return v;
}

std::vector<std::string> hostStatusStrings(const HostView& v) {
    const ZiiSettings& s = v.zii.current;
    const bool transfer = s.printMode == 'T';
    const unsigned functions =
        (s.mediaType == 'C' ? 0x80u : 0u) | (v.diagnostics ? 0x20u : 0u) | (transfer ? 1u : 0u);
    return {
        padded(interfaceBits(v.zii.activeSerial), 3) + "," + flag(v.has("paper-empty")) + "," +
            flag(v.has("paused")) + "," + padded(s.labelLength, 4) + ",000,0," + flag(v.diagnostics) + "," +
            flag(v.formatOpen) + ",000,0,0," + flag(v.has("head-overheat")),
        padded(functions, 3) + ",0," + flag(v.has("cover-open")) + "," + flag(v.has("ribbon-end")) + "," +
            flag(transfer) + "," + printModeDigit(s.mediaHandling) + ",0,0,00000000,1," +
            padded(static_cast<long long>(v.images.size()), 3),
        std::to_string(kPassword) + ",0",
    };
}

std::optional<std::string> hostQueryReply(const HostView& view, std::string_view command) {
    if (!isHostQuery(command)) return std::nullopt;
    const std::string_view name = command.substr(0, 3);
    if (name == "~HS") {
        std::string out;
        for (const std::string& part : hostStatusStrings(view)) out += framed(part);
        return out;
    }
    if (name == "~HI") return identificationReply(view);
    if (name == "~HM") return memoryReply(view);
    if (name == "~HD") return headDiagnosticReply(view);
    if (name == "^HH") return configurationReply(view);
    if (name == "^HZ") return command.size() > 3 ? descriptionReply(view, upper(command[3])) : std::nullopt;
    // ~HQ and its two-letter type.
    const std::string type = command.size() >= 5 ? std::string{upper(command[3]), upper(command[4])} : "";
    if (type == "ES") return printerStatusReply(view);
    if (type == "SN") return serialNumberReply(view);
    return std::nullopt;
}

std::optional<std::string> settingsLineReply(const HostView& view, std::string_view line) {
    constexpr std::string_view kPrefix = "! U1 ";
    if (!line.starts_with(kPrefix)) return std::nullopt;
    std::string_view rest = line.substr(kPrefix.size());
    const auto skipSpaces = [&rest] {
        while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
    };
    skipSpaces();
    if (!rest.starts_with("getvar ")) return std::nullopt;  // setvar and do: no reply
    rest.remove_prefix(6);
    skipSpaces();
    if (!rest.starts_with('"')) return std::nullopt;
    const std::size_t close = rest.find('"', 1);
    if (close == std::string_view::npos) return std::nullopt;
    const std::optional<std::string> value = getvarValue(view, rest.substr(1, close - 1));
    return "\"" + value.value_or("?") + "\"";
}

void answerHostQuery(Parser& parser, std::string_view command, bool formatOpen) {
    if (const auto reply = hostQueryReply(hostView(parser.printer(), formatOpen), command))
        parser.reply(*reply);
}

void addHostQueryCommands(CommandSet& commands) {
    // At a line's start these need no line end: software that sends a bare "~HS" waits for the
    // answer before it sends anything more.
    const auto atLineStart = [](Parser& parser, std::string_view command) {
        answerHostQuery(parser, command, parser.connectionState<ZiiFormat>().open);
    };
    // Two entries rather than one a query: every line that starts with "^" or "~" is matched
    // against all fixed commands. "~H" and any letter; "~HQ" and its two-letter type is longer.
    commands.onFixed("~H", 1, atLineStart);
    commands.onFixed("~HQ", 2, atLineStart);
    commands.onLine("! U1 ", [](Parser& parser, std::string_view line) {
        const HostView view = hostView(parser.printer(), parser.connectionState<ZiiFormat>().open);
        if (const auto reply = settingsLineReply(view, line)) parser.reply(*reply);
    });
}

}  // namespace velmora::sim
