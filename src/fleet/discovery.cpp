// Formatting a search's result.
#include "fleet/discovery.h"

#include <algorithm>

namespace velmora::fleet {

namespace {

const char* viaText(FoundPrinter::Via via) {
    switch (via) {
        case FoundPrinter::Via::Network:
            return "network";
        case FoundPrinter::Via::Usb:
            return "USB";
        case FoundPrinter::Via::Serial:
            return "serial scan";
    }
    return "";
}

std::string padded(const std::string& text, std::size_t width) {
    return text + std::string(width > text.size() ? width - text.size() : 0, ' ');
}

std::string orDash(const std::string& text) { return text.empty() ? "-" : text; }

}  // namespace

std::string discoveryTable(const DiscoveryReport& report) {
    std::string out;
    if (report.printers.empty()) {
        out += "No printer found.\n";
    } else {
        std::size_t wConnection = 10, wModel = 5, wFirmware = 8;
        for (const FoundPrinter& p : report.printers) {
            wConnection = std::max(wConnection, p.connection.size());
            wModel = std::max(wModel, orDash(p.model).size());
            wFirmware = std::max(wFirmware, orDash(p.firmware).size());
        }
        out += padded("connection", wConnection + 2) + padded("model", wModel + 2) +
               padded("firmware", wFirmware + 2) + "found by\n";
        for (const FoundPrinter& p : report.printers) {
            out += padded(p.connection, wConnection + 2) + padded(orDash(p.model), wModel + 2) +
                   padded(orDash(p.firmware), wFirmware + 2) + viaText(p.via) +
                   (p.note.empty() ? "" : " (" + p.note + ")") + "\n";
        }
    }
    if (!report.others.empty()) {
        out += "\nNot answering as a printer:\n";
        for (const std::string& o : report.others) out += "  " + o + "\n";
    }
    if (!report.summary.empty()) {
        out += "\n";
        for (const std::string& s : report.summary) out += s + "\n";
    }
    return out;
}

std::string printerListText(const DiscoveryReport& report, const std::string& header) {
    std::string out = "# " + header + "\n";
    std::size_t width = 0;
    for (const FoundPrinter& p : report.printers) width = std::max(width, p.connection.size());
    for (const FoundPrinter& p : report.printers) {
        std::string comment = p.model;
        if (!p.firmware.empty()) comment += (comment.empty() ? "" : " ") + p.firmware;
        if (!p.note.empty()) comment += (comment.empty() ? "" : ", ") + p.note;
        out +=
            comment.empty() ? p.connection + "\n" : padded(p.connection, width + 2) + "# " + comment + "\n";
    }
    return out;
}

}  // namespace velmora::fleet
