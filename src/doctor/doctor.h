// The connection doctor: finds out why a printer does not answer and says what to do. It looks
// at the device node (there, a character device, this user may open it), at who else holds it
// (CUPS queues, any process), and then talks to the printer: a serial port at every baud rate and
// framing until one answers, the USB printers the kernel offers, or a TCP connection taken apart
// step by step. The command line and the main window show the same report.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "link/comm.h"
#include "platform/clock.h"
#include "platform/device.h"
#include "platform/devicecheck.h"
#include "platform/spooler.h"

namespace velmora::doctor {

struct DoctorTarget {
    enum class Kind { Serial, Parallel, Usb, Tcp };
    Kind kind = Kind::Tcp;
    std::string portName;  // as the panel names it: "COM1:", "LPT1:", "USB", "ETHERNET"
    std::string device;    // serial or parallel device node
    std::string host;
    unsigned port = 9100;
    platform::SerialSettings serial;  // what the panel (or --baud ...) would connect with
};

// The target a configured port object would connect to.
DoctorTarget doctorTargetOf(const link::CComm& comm);

struct Finding {
    enum class Level { Ok, Note, Problem };
    Level level = Level::Ok;
    std::string text;
    std::string advice;  // what to do; empty for an Ok finding
};

struct DoctorReport {
    std::vector<Finding> findings;
    bool answered = false;  // a printer answered the status query
    std::optional<platform::SerialSettings> serialFound;  // the serial scan: what it answered at
    // One line per finding ("ok: ...", "note: ...", "problem: ..."), each advice on the next line.
    std::string text() const;
    bool has(Finding::Level level, const std::string& part) const;  // for tests and callers
};

// What the doctor reads of the system. The defaults are the real one; tests replace parts.
struct DoctorSystem {
    DoctorSystem(platform::DeviceFactory& devices, platform::Clock& clock, platform::PrintSpooler& spooler);

    platform::DeviceFactory& devices;
    platform::Clock& clock;
    platform::PrintSpooler& spooler;
    std::function<platform::DeviceStatus(const std::string&)> inspect;
    std::function<std::vector<platform::DeviceHolder>(const std::string&)> holders;
    platform::UserIds user;
    std::string sysroot;               // where sysfs and /dev are read for USB
    unsigned serialReplyWaitMs = 100;  // each serial try: the pause before its read
    unsigned scanBudgetMs = 12000;     // the whole serial scan stops within this
    unsigned tcpTimeoutMs = 3000;      // each TCP step
};

// The baud rates of the interface panel, in its order.
const std::vector<unsigned>& doctorBaudRates();
// The framings tried at each rate: 8N1 first, then the others the printer offers.
const std::vector<platform::SerialSettings>& doctorFramings();
// "8N1", "7E2".
std::string framingName(const platform::SerialSettings& s);

DoctorReport RunDoctor(const DoctorTarget& target, DoctorSystem& system);

// The checks, one kind of link each (doctor_checks.cpp); each appends to the report.
void checkDeviceNode(const DoctorTarget& target, DoctorSystem& system, DoctorReport& report);
void checkQueues(const DoctorTarget& target, DoctorSystem& system, DoctorReport& report);
void scanSerial(const DoctorTarget& target, DoctorSystem& system, DoctorReport& report);
void checkParallel(const DoctorTarget& target, DoctorSystem& system, DoctorReport& report);
void checkUsb(DoctorSystem& system, DoctorReport& report);
void checkTcp(const DoctorTarget& target, DoctorSystem& system, DoctorReport& report);

}  // namespace velmora::doctor
