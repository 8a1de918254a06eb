// The connection doctor's report, its target, and the checks of the device node and of the
// print queues that hold it; the conversations with the printer are in doctor_checks.cpp.
#include "doctor/doctor.h"

#include <cerrno>
#include <cstdio>
#include <system_error>

#include "platform/usbdiscovery.h"

namespace velmora::doctor {

namespace {

std::string octalMode(unsigned mode) {
    char text[8];
    std::snprintf(text, sizeof text, "%04o", mode & 07777);
    return text;
}

bool isSerialOrParallel(const DoctorTarget& t) {
    return t.kind == DoctorTarget::Kind::Serial || t.kind == DoctorTarget::Kind::Parallel;
}

}  // namespace

std::string DoctorReport::text() const {
    std::string out;
    for (const Finding& f : findings) {
        out += f.level == Finding::Level::Ok ? "ok: " : f.level == Finding::Level::Note ? "note: " : "problem: ";
        out += f.text + "\n";
        if (!f.advice.empty()) out += "    what to do: " + f.advice + "\n";
    }
    out += answered ? "The printer answers.\n" : "The printer does not answer.\n";
    return out;
}

bool DoctorReport::has(Finding::Level level, const std::string& part) const {
    for (const Finding& f : findings)
        if (f.level == level && (f.text + " " + f.advice).find(part) != std::string::npos) return true;
    return false;
}

DoctorSystem::DoctorSystem(platform::DeviceFactory& d, platform::Clock& c, platform::PrintSpooler& s)
    : devices(d),
      clock(c),
      spooler(s),
      inspect(platform::inspectDevice),
      holders([](const std::string& path) { return platform::processesHolding(path); }),
      user(platform::currentUser()),
      sysroot(platform::systemRoot()) {}

DoctorTarget doctorTargetOf(const link::CComm& comm) {
    DoctorTarget t;
    t.portName = comm.portName;
    const std::string& p = comm.portName;
    if (p.compare(0, 3, "COM") == 0) {
        t.kind = DoctorTarget::Kind::Serial;
    } else if (p.compare(0, 3, "LPT") == 0) {
        t.kind = DoctorTarget::Kind::Parallel;
    } else if (p.compare(0, 3, "USB") == 0) {
        t.kind = DoctorTarget::Kind::Usb;
    } else {
        t.kind = DoctorTarget::Kind::Tcp;
    }
    if (isSerialOrParallel(t)) t.device = comm.portMap.devicePath(p);
    t.host = comm.socket.address;
    t.port = comm.socket.port;
    t.serial = {comm.baudRate, comm.dataBits, comm.parity, comm.stopBits};
    return t;
}

const std::vector<unsigned>& doctorBaudRates() {
    static const std::vector<unsigned> rates = {9600, 19200, 38400, 57600, 115200};
    return rates;
}

const std::vector<platform::SerialSettings>& doctorFramings() {
    // The printer's own serial set-up offers 7 or 8 data bits, no, even or odd parity and one or
    // two stop bits; 8N1 is by far the most common and goes first.
    static const std::vector<platform::SerialSettings> framings = [] {
        std::vector<platform::SerialSettings> out;
        out.push_back({0, 8, 0, 0});
        for (int stop : {0, 2})
            for (int data : {8, 7})
                for (int parity : {0, 2, 1})
                    if (!(data == 8 && parity == 0 && stop == 0)) out.push_back({0, data, parity, stop});
        return out;
    }();
    return framings;
}

std::string framingName(const platform::SerialSettings& s) {
    const char parity = s.parity == 1 ? 'O' : s.parity == 2 ? 'E' : 'N';
    return std::to_string(s.dataBits) + parity + (s.stopBits == 0 ? "1" : s.stopBits == 1 ? "1.5" : "2");
}

void checkDeviceNode(const DoctorTarget& target, DoctorSystem& system, DoctorReport& report) {
    const bool serial = target.kind == DoctorTarget::Kind::Serial;
    const std::string& dev = target.device;
    const platform::DeviceStatus status = system.inspect(dev);
    if (!status.exists) {
        std::string advice =
            serial ? "check the cable and that the adapter is plugged in (a USB-serial adapter is /dev/ttyUSB0 or "
                     "/dev/ttyACM0); map the port to the right device in [Ports] of velmora.ini"
                   : target.kind == DoctorTarget::Kind::Usb
                   ? "load the USB printer driver: sudo modprobe usblp"
                   : "load the parallel port driver (sudo modprobe lp) or map the port to the right device in "
                     "[Ports] of velmora.ini";
        const std::string why = status.error && status.error != ENOENT
                                    ? ": " + std::generic_category().message(status.error)
                                    : std::string();
        report.findings.push_back({Finding::Level::Problem, "There is no device " + dev + why, advice});
        return;
    }
    if (!status.characterDevice) {
        report.findings.push_back({Finding::Level::Problem, dev + " is not a character device",
                                   "map the port to the printer's device node in [Ports] of velmora.ini"});
        return;
    }
    const std::string group = status.groupName.empty() ? std::to_string(status.groupId) : status.groupName;
    const std::string owner = "group " + group + ", mode " + octalMode(status.mode);
    if (!platform::mayReadWrite(status, system.user)) {
        const std::string who = system.user.name.empty() ? "this user" : system.user.name;
        const bool groupGrants = ((status.mode >> 3) & 06) == 06 && status.groupId != 0;
        const std::string join = groupGrants ? group : serial ? "dialout" : "lp";
        report.findings.push_back({Finding::Level::Problem,
                                   "Permission denied: " + who + " may not open " + dev + " (" + owner + ")",
                                   "join the group " + join + " (sudo usermod -aG " + join +
                                       " $USER, then log in again), or add a udev rule for the device"});
        return;
    }
    report.findings.push_back({Finding::Level::Ok, dev + " is a character device you may open (" + owner + ")", {}});
    for (const platform::DeviceHolder& h : system.holders(dev)) {
        if (status.pseudoTerminal) {
            // The program on the terminal's other end holds it by design: it is the "printer".
            report.findings.push_back({Finding::Level::Note,
                                       dev + " is a pseudo-terminal; process " + std::to_string(h.pid) + " (" +
                                           h.command + ") holds its other end",
                                       {}});
            continue;
        }
        report.findings.push_back({Finding::Level::Problem,
                                   dev + " is held by process " + std::to_string(h.pid) + " (" + h.command + ")",
                                   "end that program, or wait until it has finished with the printer"});
    }
}

void checkQueues(const DoctorTarget& target, DoctorSystem& system, DoctorReport& report) {
    const bool usb = target.kind == DoctorTarget::Kind::Usb;
    for (const platform::PrintSpooler::Queue& q : system.spooler.enumerate()) {
        const bool attached = usb ? q.portName.compare(0, 6, "usb://") == 0
                                  : system.spooler.attachedTo(q, target.portName, target.device);
        if (!attached) continue;
        if (usb) {
            report.findings.push_back({Finding::Level::Note,
                                       "The CUPS queue " + q.printerName + " prints to a USB printer (" + q.portName +
                                           "); Velmora does not pause it, and it holds the printer while it prints",
                                       "pause it while you work: cupsdisable " + q.printerName});
        } else {
            report.findings.push_back({Finding::Level::Note,
                                       "The CUPS queue " + q.printerName + " prints to " + target.device +
                                           "; Velmora pauses it while connected (needs the lpadmin group)",
                                       {}});
        }
    }
}

DoctorReport RunDoctor(const DoctorTarget& target, DoctorSystem& system) {
    DoctorReport report;
    switch (target.kind) {
        case DoctorTarget::Kind::Serial:
        case DoctorTarget::Kind::Parallel: {
            checkDeviceNode(target, system, report);
            checkQueues(target, system, report);
            // Only a device this user may open is worth talking to.
            const bool usable = !report.findings.empty() && report.findings.front().level == Finding::Level::Ok;
            if (!usable) break;
            if (target.kind == DoctorTarget::Kind::Serial) {
                scanSerial(target, system, report);
            } else {
                checkParallel(target, system, report);
            }
            break;
        }
        case DoctorTarget::Kind::Usb:
            checkUsb(system, report);
            checkQueues(target, system, report);
            break;
        case DoctorTarget::Kind::Tcp:
            checkTcp(target, system, report);
            break;
    }
    return report;
}

}  // namespace velmora::doctor
