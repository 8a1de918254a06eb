// The settings as label software reads them back: the ^HH configuration listing, the ^HZ XML
// description and the getvar table. Each setting's wording lives in one table below, so the
// three views of a setting cannot disagree.
#include <algorithm>
#include <cctype>
#include <cstdio>

#include "sim/hostqueries.h"

namespace velmora::sim {

namespace {

constexpr char kStx = '\x02';
constexpr char kEtx = '\x03';

std::string signed3(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%+04d", value);
    return text;
}

// A letter's name in a table of letters and names; `otherwise` for a letter not in it.
struct Named {
    char letter;
    const char* name;
};
template <std::size_t N>
std::string nameOf(const Named (&table)[N], char letter, const char* otherwise) {
    for (const Named& n : table) {
        if (n.letter == letter) return n.name;
    }
    return otherwise;
}

constexpr Named kPrintModes[] = {{'T', "TEAR OFF"},   {'P', "PEEL OFF"}, {'R', "REWIND"},
                                 {'A', "APPLICATOR"}, {'C', "CUTTER"},   {'D', "DELAYED CUT"},
                                 {'F', "RFID"},       {'K', "KIOSK"}};
constexpr Named kMediaTypes[] = {{'W', "GAP/NOTCH"}, {'M', "MARK"}, {'C', "CONTINUOUS"}};
// The power-up and head-close actions, as listed and in the words the settings queries use.
constexpr Named kMotions[] = {
    {'F', "FEED"}, {'C', "CALIBRATION"}, {'L', "LENGTH"}, {'S', "SHORT CAL"}, {'N', "NO MOTION"}};
constexpr Named kMotionWords[] = {
    {'F', "feed"}, {'C', "calibrate"}, {'L', "length"}, {'S', "short cal"}, {'N', "no motion"}};

std::string handshakeName(char handshake) {
    return handshake == 'X' ? "XON/XOFF" : handshake == 'R' ? "RTS/CTS" : "DTR/DSR";
}

std::string protocolName(char protocol) {
    return protocol == 'A' ? "ACK/NAK" : protocol == 'Z' ? "ZII" : "NONE";
}

std::string parityName(char parity) { return parity == 'E' ? "EVEN" : parity == 'O' ? "ODD" : "NONE"; }

std::string twoDigits(int value) {
    char text[8];
    std::snprintf(text, sizeof text, "%02d", value % 100);
    return text;
}

// One ZII setting as the configuration listing names it, and its value in use and saved.
struct Setting {
    std::string listed;  // ^HH name
    std::string xml;     // ^HZ element
    std::string current;
    std::string saved;
};

std::vector<Setting> ziiSettings(const HostView& v) {
    std::vector<Setting> out;
    const auto add = [&out, &v](std::string listed, std::string xml, auto value) {
        out.push_back({std::move(listed), std::move(xml), value(v.zii.current), value(v.zii.saved)});
    };
    add("DARKNESS", "DARKNESS", [](const ZiiSettings& s) { return std::to_string(s.darkness) + ".0"; });
    add("PRINT SPEED", "PRINT-RATE",
        [](const ZiiSettings& s) { return std::to_string(s.printSpeed) + " IPS"; });
    add("SLEW SPEED", "SLEW-RATE", [](const ZiiSettings& s) { return std::to_string(s.slewSpeed) + " IPS"; });
    add("TEAR OFF", "TEAR-OFF", [](const ZiiSettings& s) { return signed3(s.tearOff); });
    add("PRINT MODE", "PRINT-MODE",
        [](const ZiiSettings& s) { return nameOf(kPrintModes, s.mediaHandling, "RESERVED"); });
    add("MEDIA TYPE", "MEDIA-TRACKING",
        [](const ZiiSettings& s) { return nameOf(kMediaTypes, s.mediaType, "GAP/NOTCH"); });
    add("PRINT METHOD", "PRINT-METHOD", [](const ZiiSettings& s) {
        return std::string(s.printMode == 'T' ? "THERMAL-TRANS." : "DIRECT-THERMAL");
    });
    add("PRINT WIDTH", "PRINT-WIDTH", [](const ZiiSettings& s) { return std::to_string(s.labelWidth); });
    add("LABEL LENGTH", "LABEL-LENGTH", [](const ZiiSettings& s) { return std::to_string(s.labelLength); });
    add("LABEL TOP", "LABEL-TOP", [](const ZiiSettings& s) { return signed3(s.printOffset); });
    add("PRINT ORIENT.", "PRINT-ORIENTATION",
        [](const ZiiSettings& s) { return std::string(s.inverted ? "INVERTED" : "NORMAL"); });
    add("MIRROR IMAGE", "MIRROR-IMAGE",
        [](const ZiiSettings& s) { return std::string(s.mirror ? "YES" : "NO"); });
    add("MEDIA POWER UP", "MEDIA-POWER-UP",
        [](const ZiiSettings& s) { return nameOf(kMotions, s.powerUpAction, "NO MOTION"); });
    add("HEAD CLOSE", "HEAD-CLOSE",
        [](const ZiiSettings& s) { return nameOf(kMotions, s.headCloseAction, "NO MOTION"); });
    add("BAUD", "BAUD", [](const ZiiSettings& s) { return std::to_string(s.serial.baud); });
    add("DATA BITS", "DATA-BITS",
        [](const ZiiSettings& s) { return std::to_string(s.serial.dataBits) + " BITS"; });
    add("PARITY", "PARITY", [](const ZiiSettings& s) { return parityName(s.serial.parity); });
    add("STOP BITS", "STOP-BITS", [](const ZiiSettings& s) {
        return s.serial.stopBits == 1 ? std::string("1 STOP BIT") : "2 STOP BITS";
    });
    add("HOST HANDSHAKE", "HOST-HANDSHAKE",
        [](const ZiiSettings& s) { return handshakeName(s.serial.handshake); });
    add("PROTOCOL", "PROTOCOL", [](const ZiiSettings& s) { return protocolName(s.serial.protocol); });
    return out;
}

std::string listingLine(const std::string& value, const std::string& name) {
    std::string line = "  " + value;
    line.resize(std::max<std::size_t>(line.size() + 1, 22), ' ');
    return line + name + "\r\n";
}

// Text as XML character data: markup characters as entities, bytes above 0x7F as the Latin-1
// characters of the same number, control bytes (which XML 1.0 cannot carry) as "?".
std::string xmlText(std::string_view text) {
    std::string out;
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (c == '&') {
            out += "&amp;";
        } else if (c == '<') {
            out += "&lt;";
        } else if (c == '>') {
            out += "&gt;";
        } else if (c == '"') {
            out += "&quot;";
        } else if (b >= 0x80) {
            char ref[12];
            std::snprintf(ref, sizeof ref, "&#x%02X;", b);
            out += ref;
        } else {
            out += b < 0x20 ? '?' : c;
        }
    }
    return out;
}

std::string element(const std::string& name, const std::string& text) {
    return "<" + name + ">" + xmlText(text) + "</" + name + ">";
}

std::string line(const std::string& text) { return text + "\r\n"; }

struct GetvarEntry {
    std::string_view name;
    std::string (*value)(const HostView& v);
};

constexpr GetvarEntry kGetvar[] = {
    {"device.languages", [](const HostView&) { return std::string("zpl"); }},
    {"device.friendly_name", [](const HostView& v) { return v.native.identity[2]; }},
    {"device.unique_id", [](const HostView& v) { return v.native.identity[1]; }},
    {"device.host_status",
     [](const HostView& v) {
         const auto parts = hostStatusStrings(v);
         return parts[0] + "\r\n" + parts[1] + "\r\n" + parts[2];
     }},
    {"appl.name", [](const HostView& v) { return v.native.firmware; }},
    {"media.speed", [](const HostView& v) { return std::to_string(v.zii.current.printSpeed) + ".0"; }},
    {"print.tone", [](const HostView& v) { return std::to_string(v.zii.current.darkness) + ".0"; }},
    {"ezpl.print_width", [](const HostView& v) { return std::to_string(v.zii.current.labelWidth); }},
    {"zpl.label_length", [](const HostView& v) { return std::to_string(v.zii.current.labelLength); }},
    {"ezpl.print_method",
     [](const HostView& v) {
         return std::string(v.zii.current.printMode == 'T' ? "thermal trans" : "direct thermal");
     }},
    {"ezpl.power_up_action",
     [](const HostView& v) { return nameOf(kMotionWords, v.zii.current.powerUpAction, "no motion"); }},
    {"ezpl.head_close_action",
     [](const HostView& v) { return nameOf(kMotionWords, v.zii.current.headCloseAction, "no motion"); }},
    {"comm.baud", [](const HostView& v) { return std::to_string(v.zii.activeSerial.baud); }},
};

}  // namespace

std::string configurationReply(const HostView& v) {
    std::string out(1, kStx);
    for (const Setting& s : ziiSettings(v)) out += listingLine(s.current, s.listed);
    const ClockTime& t = v.zii.clock;
    out += listingLine(v.diagnostics ? "DIAGNOSTICS" : "NORMAL MODE", "COMMUNICATIONS");
    out += listingLine("<~>  7EH", "CONTROL CHAR");
    out += listingLine("<^>  5EH", "COMMAND CHAR");
    out += listingLine("<,>  2CH", "DELIM./CHAR");
    out += listingLine("ZPL II", "ZPL MODE");
    out += listingLine(twoDigits(t.month) + "/" + twoDigits(t.day) + "/" + twoDigits(t.year), "RTC DATE");
    out += listingLine(twoDigits(t.hour) + ":" + twoDigits(t.minute), "RTC TIME");
    out += listingLine(v.native.modelName, "MODEL");
    out += listingLine(v.native.firmware, "FIRMWARE");
    out += listingLine(v.native.identity[1], "SERIAL NUMBER");
    out += kEtx;
    out += "\r\n";
    return out;
}

std::optional<std::string> descriptionReply(const HostView& v, char section) {
    if (section != 'A' && section != 'F' && section != 'L' && section != 'R') return std::nullopt;
    const bool all = section == 'A';
    std::string out = "<?xml version=\"1.0\" standalone=\"no\"?>\r\n<PRINTER-DESCRIPTION>\r\n";
    out += line(element("PRINTER-MODEL", v.native.modelName));
    out += line(element("FIRMWARE-VERSION", v.native.firmware));
    out += line(element("SERIAL-NUMBER", v.native.identity[1]));
    out += line(element("DOTS-PER-MM", "8"));
    if (all || section == 'F') {
        out += "<FORMAT-SETTINGS>\r\n";
        for (const Setting& s : ziiSettings(v)) {
            out += line("<" + s.xml + ">" + element("CURRENT", s.current) + element("SAVED", s.saved) + "</" +
                        s.xml + ">");
        }
        out += "</FORMAT-SETTINGS>\r\n";
    }
    if (all || section == 'L') {
        out += "<OBJECT-DIRECTORY>\r\n";
        for (const auto& [name, size] : v.images) {
            out += line("<OBJECT>" + element("NAME", name) + element("SIZE", std::to_string(size)) +
                        "</OBJECT>");
        }
        out += "</OBJECT-DIRECTORY>\r\n";
    }
    if (all || section == 'R') {
        out += "<PRINTER-STATUS>\r\n";
        for (const StatusBit& bit : statusBits()) {
            std::string name(bit.name);
            for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            out += line(element(name, v.has(bit.name) ? "1" : "0"));
        }
        out += line(element("DIAGNOSTICS", v.diagnostics ? "1" : "0"));
        out += line(element("PARTIAL-FORMAT", v.formatOpen ? "1" : "0"));
        out += "</PRINTER-STATUS>\r\n";
    }
    out += "</PRINTER-DESCRIPTION>\r\n";
    return out;
}

std::optional<std::string> getvarValue(const HostView& v, std::string_view name) {
    for (const GetvarEntry& entry : kGetvar) {
        if (entry.name == name) return entry.value(v);
    }
    return std::nullopt;
}

std::vector<std::string_view> getvarNames() {
    std::vector<std::string_view> names;
    for (const GetvarEntry& entry : kGetvar) names.push_back(entry.name);
    return names;
}

}  // namespace velmora::sim
