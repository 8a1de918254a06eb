// velmora-cli discover: the printers this computer can reach. The network only where the user
// says (--subnet), USB printers of known models, and serial ports only when asked
// (--serial-scan: the connection doctor's scan takes seconds a port).
#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <ostream>

#include "cli/commands.h"
#include "doctor/doctor.h"
#include "fleet/discovery.h"
#include "fleet/monitorstate.h"
#include "fleet/netrange.h"
#include "fleet/networksearch.h"
#include "link/usbprinter.h"
#include "platform/files.h"
#include "platform/netscan.h"
#include "platform/serialports.h"
#include "platform/spooler.h"
#include "platform/usbdiscovery.h"

namespace velmora::cli {

namespace {

using Steady = std::chrono::steady_clock;

constexpr std::size_t kSerialParallel = 8;

struct DiscoverArgs {
    std::vector<fleet::Ipv4Subnet> subnets;
    unsigned port = 9100;
    bool serialScan = false;
    std::string printersFile;
};

std::optional<DiscoverArgs> parseDiscoverArgs(const Args& args, std::string& error) {
    DiscoverArgs a;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& name = args[i];
        if (name == "--serial-scan") {
            a.serialScan = true;
            continue;
        }
        if (i + 1 >= args.size()) {
            error = name + " needs a value";
            return std::nullopt;
        }
        const std::string& value = args[++i];
        if (name == "--subnet") {
            const auto subnet = fleet::parseSubnet(value, error);
            if (!subnet) return std::nullopt;
            a.subnets.push_back(*subnet);
        } else if (name == "--port") {
            const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), a.port);
            if (ec != std::errc() || end != value.data() + value.size() || a.port == 0 || a.port > 65535) {
                error = "--port takes 1 to 65535";
                return std::nullopt;
            }
        } else if (name == "--printers-file") {
            if (value.empty()) {
                error = "--printers-file needs a file";
                return std::nullopt;
            }
            a.printersFile = value;
        } else {
            error = "discover takes --subnet, --port, --serial-scan and --printers-file, not " + name;
            return std::nullopt;
        }
    }
    return a;
}

std::string seconds(Steady::time_point since) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f s", std::chrono::duration<double>(Steady::now() - since).count());
    return text;
}

// Model and firmware over a fresh connection with short bounds.
void identify(const CliOptions& where, platform::DeviceFactory& devices, platform::Clock& clock,
              fleet::FoundPrinter& found) {
    link::SilentMessages messages;
    link::CComm comm(devices, clock, messages);
    frontend::configureLink(comm, where);
    fleet::identify(comm, clock, found);
}

// The usblp printers whose USB ids are those of a known model; the device node is the printer's
// address (a parallel-style connection in the printer list). They are not opened: a print queue
// may be using them.
void searchUsb(Session& s, fleet::DiscoveryReport& report) {
    std::size_t known = 0;
    for (const platform::UsbPrinterInterface& iface : s.comm.devices().usbPrinters()) {
        const std::string ids = iface.path.size() > link::kUsbIdOffset
                                    ? iface.path.substr(link::kUsbIdOffset, link::kUsbIdChars)
                                    : "";
        const int code = link::UsbModelCode(ids, false);
        if (code < 0 || iface.node.empty()) continue;
        ++known;
        fleet::FoundPrinter p;
        p.via = fleet::FoundPrinter::Via::Usb;
        p.connection = "--lpt " + iface.node;
        const auto names = link::UsbPrintNames(code);
        if (!names.empty()) p.model = names.front();
        // "vid_5a2e&pid_0a08" as "5a2e:0a08"
        p.note = "USB " + ids.substr(4, 4) + ":" + ids.substr(13, 4);
        report.printers.push_back(p);
    }
    report.summary.push_back("USB: " + std::to_string(known) + (known == 1 ? " printer" : " printers") +
                             " of a known model");
}

std::string serialConnection(const std::string& node, const platform::SerialSettings& s) {
    std::string out = "--serial " + node + " --baud " + std::to_string(s.baudRate);
    static const char* const parities[] = {"none", "odd", "even"};
    if (s.dataBits != 8) out += " --data-bits " + std::to_string(s.dataBits);
    if (s.parity != 0) out += std::string(" --parity ") + parities[s.parity];
    if (s.stopBits != 0) out += std::string(" --stop-bits ") + (s.stopBits == 1 ? "1.5" : "2");
    return out;
}

void searchSerial(const CliOptions& base, Session& s, fleet::DiscoveryReport& report) {
    const auto start = Steady::now();
    const std::vector<std::string> ports = platform::listSerialPorts(platform::systemRoot());
    std::vector<std::optional<fleet::FoundPrinter>> found(ports.size());
    fleet::inParallel(ports.size(), kSerialParallel, [&](std::size_t i) {
        doctor::DoctorTarget target;
        target.kind = doctor::DoctorTarget::Kind::Serial;
        target.portName = "COM1:";
        target.device = ports[i];
        doctor::DoctorSystem system(s.comm.devices(), s.clock, platform::spoolerWithoutQueues());
        doctor::DoctorReport scan;
        doctor::scanSerial(target, system, scan);
        if (!scan.serialFound) return;
        fleet::FoundPrinter p;
        p.via = fleet::FoundPrinter::Via::Serial;
        p.connection = serialConnection(ports[i], *scan.serialFound);
        CliOptions where = base;
        where.connection = CliOptions::Connection::Serial;
        where.device = ports[i];
        where.baud = scan.serialFound->baudRate;
        where.dataBits = scan.serialFound->dataBits;
        where.parity = scan.serialFound->parity;
        where.stopBits = scan.serialFound->stopBits;
        identify(where, s.comm.devices(), s.clock, p);
        found[i] = p;
    });
    std::size_t count = 0;
    for (const auto& p : found)
        if (p) {
            report.printers.push_back(*p);
            ++count;
        }
    report.summary.push_back("serial: " + std::to_string(ports.size()) +
                             (ports.size() == 1 ? " port" : " ports") + " scanned in " + seconds(start) +
                             ": " + std::to_string(count) + (count == 1 ? " printer" : " printers"));
}

int cmdDiscover(Session& s, const Args& args) {
    std::string error;
    const auto parsed = parseDiscoverArgs(args, error);
    if (!parsed) {
        s.err << "velmora-cli: " << error << '\n';
        return kExitUsage;
    }
    const DiscoverArgs& a = *parsed;
    CliOptions base;
    fleet::DiscoveryReport report;
    if (!a.subnets.empty()) fleet::searchNetwork({a.subnets, a.port}, s.comm.devices(), s.clock, report);
    searchUsb(s, report);
    if (a.serialScan) searchSerial(base, s, report);
    if (a.subnets.empty()) {
        std::string mine;
        for (const std::string& net : platform::localIpv4Networks()) mine += (mine.empty() ? "" : ", ") + net;
        report.summary.push_back("network: not searched; give --subnet CIDR" +
                                 (mine.empty() ? std::string() : " (this computer is on " + mine + ")"));
    }
    if (!a.serialScan) report.summary.push_back("serial: not searched; give --serial-scan (seconds a port)");
    s.out << fleet::discoveryTable(report);
    s.out.flush();
    for (const fleet::FoundPrinter& p : report.printers) {
        using Via = fleet::FoundPrinter::Via;
        const char* via = p.via == Via::Network ? "network" : p.via == Via::Usb ? "usb" : "serial";
        s.report.found.push_back(
            {{"via", via}, {"connection", p.connection}, {"model", p.model}, {"firmware", p.firmware}, {"note", p.note}});
    }
    if (!a.printersFile.empty()) {
        if (report.printers.empty()) {
            s.err << "velmora-cli: no printer found; " << a.printersFile << " is not written\n";
        } else {
            const std::size_t n = report.printers.size();
            const std::string header = "velmora-cli discover, " + fleet::utcTimestamp(s.clock.wallNow()) +
                                       ": " + std::to_string(n) + (n == 1 ? " printer" : " printers");
            if (!platform::writeOutputFile(a.printersFile, fleet::printerListText(report, header), error)) {
                s.err << "velmora-cli: cannot write " << a.printersFile << ": " << error << '\n';
                return kExitFailure;
            }
        }
    }
    return report.printers.empty() ? kExitFailure : kExitOk;
}

const bool registered = registerCommand({
    "discover",
    "discover [--subnet CIDR]... [--port N] [--serial-scan] [--printers-file FILE]   the printers this "
    "computer "
    "can reach: on the subnets given (at most /22 each, port 9100), over USB, on the serial ports",
    [](const Args&) { return true; },  // the command names what is wrong itself
    cmdDiscover,
    [](const Args&) { return true; },
    [](const Args& a) {
        std::string error;
        const auto parsed = parseDiscoverArgs(a, error);
        return parsed && !parsed->printersFile.empty() ? std::vector<std::string>{parsed->printersFile}
                                                       : std::vector<std::string>{};
    },
});

}  // namespace

}  // namespace velmora::cli
