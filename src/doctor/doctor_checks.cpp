// The connection doctor's conversations with the printer: the serial scan over baud rates and
// framings, the parallel port, the USB printers the kernel offers, and a TCP connection step by
// step. Each try is the connect handshake's status query ("^cp" CR, a two-byte reply).
#include <cerrno>
#include <cstdio>
#include <system_error>

#include "doctor/doctor.h"
#include "link/usbprinter.h"
#include "platform/tcpsocket.h"
#include "platform/usbdiscovery.h"

namespace velmora::doctor {

namespace {

constexpr char kQuery[] = "^cp\r";
constexpr std::size_t kReplyBytes = 2;
// Each try's write is bounded per byte, so a port whose flow control never lets a byte out
// costs a few milliseconds, not the port's two-second bound.
constexpr unsigned kTryWriteMsPerByte = 25;

// The status query on an open device: true when at least the two reply bytes came back.
bool answers(platform::Device& dev, platform::Clock& clock, unsigned waitMs) {
    dev.purge();
    const auto* q = reinterpret_cast<const std::uint8_t*>(kQuery);
    if (dev.write(q, sizeof kQuery - 1) != static_cast<long>(sizeof kQuery - 1)) return false;
    clock.sleepMs(waitMs);
    std::uint8_t buf[64];
    long got = 0;
    for (long r = 0; got < static_cast<long>(kReplyBytes); got += r) {
        r = dev.read(buf, sizeof buf);
        if (r <= 0) break;
    }
    return got >= static_cast<long>(kReplyBytes);
}

std::string openProblem(const std::string& device, int error) {
    if (error == EBUSY) return device + " is held exclusively by another program";
    return "Cannot open " + device + (error ? ": " + std::generic_category().message(error) : std::string());
}

std::string seconds(std::uint64_t ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f s", static_cast<double>(ms) / 1000.0);
    return text;
}

std::string cliFraming(const platform::SerialSettings& s) {
    static const char* const parities[] = {"none", "odd", "even"};
    return "--baud " + std::to_string(s.baudRate) + " --data-bits " + std::to_string(s.dataBits) + " --parity " +
           parities[s.parity] + " --stop-bits " + (s.stopBits == 0 ? "1" : s.stopBits == 1 ? "1.5" : "2");
}

}  // namespace

void scanSerial(const DoctorTarget& target, DoctorSystem& system, DoctorReport& report) {
    auto dev = system.devices.makeSerial();
    if (!dev->open(target.device)) {
        report.findings.push_back({Finding::Level::Problem, openProblem(target.device, dev->lastError()),
                                   "close the program that uses the port, then try again"});
        return;
    }
    const platform::ModemLines lines = dev->modemLines();
    if (lines.known && !lines.cts) {
        report.findings.push_back({Finding::Level::Note,
                                   "CTS is off on " + target.device + ": the printer (or the cable) holds every byte",
                                   "use the printer's serial cable, with CTS and RTS crossed; check that the printer is on"});
    }
    const std::uint64_t start = system.clock.nowMs();
    std::size_t tries = 0;
    const std::size_t total = doctorFramings().size() * doctorBaudRates().size();
    bool outOfTime = false;
    for (const platform::SerialSettings& framing : doctorFramings()) {
        for (unsigned baud : doctorBaudRates()) {
            if (system.clock.nowMs() - start + system.serialReplyWaitMs > system.scanBudgetMs) {
                outOfTime = true;
                break;
            }
            platform::SerialSettings s = framing;
            s.baudRate = baud;
            ++tries;
            if (!dev->configure(s)) continue;  // a UART without this speed or frame
            dev->setWriteTimeout(kTryWriteMsPerByte);
            if (!answers(*dev, system.clock, system.serialReplyWaitMs)) continue;
            report.answered = true;
            report.serialFound = s;
            const platform::SerialSettings& chosen = target.serial;
            const bool same = chosen.baudRate == s.baudRate && chosen.dataBits == s.dataBits &&
                              chosen.parity == s.parity && chosen.stopBits == s.stopBits;
            const std::string found = "the printer answers at " + std::to_string(baud) + " " + framingName(s);
            if (same) {
                report.findings.push_back({Finding::Level::Ok, "The printer answers at the chosen " +
                                                                   std::to_string(baud) + " " + framingName(s), {}});
            } else {
                report.findings.push_back({Finding::Level::Problem,
                                           found + "; choose that in the panel",
                                           "Baud Rate " + std::to_string(baud) + ", " + framingName(s) +
                                               " (velmora-cli: " + cliFraming(s) + ")"});
            }
            return;
        }
        if (outOfTime) break;
    }
    const std::string spent = seconds(system.clock.nowMs() - start);
    if (outOfTime) {
        report.findings.push_back({Finding::Level::Problem,
                                   "No answer in " + std::to_string(tries) + " of " + std::to_string(total) +
                                       " baud rates and framings; the scan stopped after " + spent,
                                   "check that the printer is on and cabled to " + target.device});
        return;
    }
    report.findings.push_back({Finding::Level::Problem,
                               "No answer at any baud rate (9600 to 115200) with any framing (" +
                                   std::to_string(tries) + " tries in " + spent + ")",
                               "check that the printer is on, not paused, and cabled to " + target.device +
                                   " with its own serial cable; its configuration label shows its serial set-up"});
}

void checkParallel(const DoctorTarget& target, DoctorSystem& system, DoctorReport& report) {
    auto dev = system.devices.makeParallel();
    if (!dev->open(target.device)) {
        report.findings.push_back({Finding::Level::Problem, openProblem(target.device, dev->lastError()),
                                   "close the program that uses the port, then try again"});
        return;
    }
    if (const auto status = dev->parallelStatus()) {
        namespace ps = platform::parallel_status;
        struct Bit {
            std::uint8_t mask;
            const char* what;
        };
        for (const Bit& b : {Bit{ps::kPaperEmpty, "out of paper"}, Bit{ps::kOffLine, "off line"},
                             Bit{ps::kPowerOff, "switched off"}, Bit{ps::kNotConnected, "not connected"}}) {
            if (*status & b.mask)
                report.findings.push_back({Finding::Level::Problem, std::string("The port reports the printer ") + b.what,
                                           "check the printer and its cable"});
        }
    }
    dev->setWriteTimeout(kTryWriteMsPerByte);
    if (answers(*dev, system.clock, system.serialReplyWaitMs)) {
        report.answered = true;
        report.findings.push_back({Finding::Level::Ok, "The printer answers on " + target.device, {}});
    } else {
        report.findings.push_back({Finding::Level::Problem, "The printer does not answer on " + target.device,
                                   "check that it is on and on line; a parallel port without the IEEE 1284 "
                                   "back channel cannot carry replies"});
    }
}

void checkUsb(DoctorSystem& system, DoctorReport& report) {
    const auto functions = platform::listUsbPrinterFunctions(system.sysroot);
    if (functions.empty()) {
        report.findings.push_back({Finding::Level::Problem, "The kernel offers no USB printer",
                                   "check the cable and that the printer is on (lsusb lists what is plugged in)"});
        return;
    }
    bool anyKnown = false;
    for (const platform::UsbPrinterFunction& f : functions) {
        const std::string ids = "vid_" + f.vendorId + "&pid_" + f.productId;
        const bool known = link::UsbModelCode(ids, false) >= 0;
        anyKnown = anyKnown || known;
        const std::string name = "USB printer " + f.vendorId + ":" + f.productId +
                                 (f.product.empty() ? "" : " (" + f.product + ")") + " at " + f.kernelName +
                                 (known ? ", a known model" : ", not a model Velmora knows");
        if (f.driver.empty()) {
            report.findings.push_back({Finding::Level::Problem, name + ": no driver has it",
                                       "load the USB printer driver: sudo modprobe usblp"});
            continue;
        }
        if (f.driver != "usblp") {
            report.findings.push_back({Finding::Level::Problem, name + ": claimed by the driver " + f.driver,
                                       "Velmora needs usblp: echo -n " + f.kernelName + " | sudo tee /sys/bus/usb/drivers/" +
                                           f.driver + "/unbind, then sudo modprobe usblp"});
            continue;
        }
        report.findings.push_back({known ? Finding::Level::Ok : Finding::Level::Note, name + ", " + f.node, {}});
        if (!known || f.node.empty() || report.answered) continue;
        DoctorTarget node;
        node.kind = DoctorTarget::Kind::Usb;
        node.device = f.node;
        const std::size_t before = report.findings.size();
        checkDeviceNode(node, system, report);
        if (report.findings.size() == before || report.findings[before].level != Finding::Level::Ok) continue;
        auto dev = system.devices.makeUsb();
        if (!dev->open(f.node)) {
            report.findings.push_back({Finding::Level::Problem, openProblem(f.node, dev->lastError()),
                                       "a CUPS queue may be printing to it; wait, or pause the queue"});
            continue;
        }
        dev->setWriteTimeout(kTryWriteMsPerByte);
        if (answers(*dev, system.clock, system.serialReplyWaitMs)) {
            report.answered = true;
            report.findings.push_back({Finding::Level::Ok, "The printer answers on " + f.node, {}});
        } else {
            report.findings.push_back({Finding::Level::Problem, "The printer does not answer on " + f.node,
                                       "check that it is on and not paused"});
        }
    }
    if (!anyKnown) {
        report.findings.push_back({Finding::Level::Problem, "None of the USB printers is a model Velmora knows",
                                   "Velmora opens only the printers of its makers; use another interface"});
    }
}

void checkTcp(const DoctorTarget& target, DoctorSystem& system, DoctorReport& report) {
    const platform::TcpProbe p =
        platform::probeTcp(target.host, target.port, kQuery, kReplyBytes, system.tcpTimeoutMs);
    const auto ms = [](unsigned n) { return " (" + std::to_string(n) + " ms)"; };
    if (!p.resolved) {
        report.findings.push_back({Finding::Level::Problem, "The name " + target.host + " was not found" + ms(p.lookupMs),
                                   "check the name, or type the printer's address (its configuration label shows it)"});
        return;
    }
    if (p.address != target.host)
        report.findings.push_back({Finding::Level::Ok, target.host + " is " + p.address + ms(p.lookupMs), {}});
    if (!p.connected) {
        const std::string at = p.address + ":" + std::to_string(target.port);
        if (p.connectError == ECONNREFUSED) {
            report.findings.push_back({Finding::Level::Problem, at + " refused the connection" + ms(p.connectMs),
                                       "a machine is there but nothing listens on port " + std::to_string(target.port) +
                                           ": check the port (printers use 9100) and that it is the printer's address"});
        } else if (p.connectError == ETIMEDOUT) {
            report.findings.push_back({Finding::Level::Problem, at + " did not answer the connection within " +
                                                                   std::to_string(system.tcpTimeoutMs) + " ms",
                                       "check the address, the network cable, and that the printer is on and in "
                                       "this network"});
        } else {
            report.findings.push_back({Finding::Level::Problem,
                                       "Cannot connect to " + at + ": " +
                                           std::generic_category().message(p.connectError) + ms(p.connectMs),
                                       "check the address and the network"});
        }
        return;
    }
    report.findings.push_back({Finding::Level::Ok, "Connected to " + p.address + ":" + std::to_string(target.port) +
                                                       ms(p.connectMs), {}});
    switch (p.reply) {
        case platform::TcpProbe::Reply::Answered:
            report.answered = true;
            report.findings.push_back({Finding::Level::Ok, "The printer answered the status query" + ms(p.replyMs), {}});
            break;
        case platform::TcpProbe::Reply::Silent:
            report.findings.push_back({Finding::Level::Problem,
                                       "The connection was taken but nothing answered the status query within " +
                                           std::to_string(system.tcpTimeoutMs) + " ms",
                                       "this may not be a printer, or the printer is busy with another connection: "
                                       "check the address and port, and switch the printer off and on"});
            break;
        case platform::TcpProbe::Reply::Closed:
            report.findings.push_back({Finding::Level::Problem,
                                       "The printer closed the connection without answering" + ms(p.replyMs),
                                       "another program may hold the printer; close it and try again"});
            break;
        case platform::TcpProbe::Reply::Reset:
        case platform::TcpProbe::Reply::NotTried:
            report.findings.push_back({Finding::Level::Problem, "The printer reset the connection" + ms(p.replyMs),
                                       "another program may hold the printer; close it and try again"});
            break;
    }
}

}  // namespace velmora::doctor
