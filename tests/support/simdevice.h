// The simulated printer as a device in the same process: what the port object writes is parsed
// at once, and what the printer answers is there to read. No threads, no sockets, so tests of
// the tools run in microseconds and can use a test clock.
#pragma once

#include <memory>
#include <string>

#include "link/comm.h"
#include "platform/clock.h"
#include "platform/device.h"
#include "sim/parser.h"
#include "sim/printer.h"

namespace velmora::testing {

class SimDevice : public platform::Device {
public:
    explicit SimDevice(sim::Printer& printer) : parser_(printer) {}
    bool open(const std::string&) override;
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    long write(const std::uint8_t* data, std::size_t n) override;
    long read(std::uint8_t* buf, std::size_t n) override;
    bool purge() override;

private:
    sim::Parser parser_;
    std::string pending_;
    bool open_ = false;
};

class SimSocket : public platform::StreamSocket {
public:
    explicit SimSocket(sim::Printer& printer) : device_(printer) {}
    ConnectResult connect(const std::string&, unsigned, unsigned) override;
    long send(const std::uint8_t* data, std::size_t n, unsigned) override { return device_.write(data, n); }
    long receive(std::uint8_t* buf, std::size_t n, unsigned) override;
    void close() override { device_.close(); }
    bool isOpen() const override { return device_.isOpen(); }

private:
    SimDevice device_;
};

// Every link kind leads to the same simulated printer.
class SimFactory : public platform::DeviceFactory {
public:
    explicit SimFactory(sim::Printer& printer) : printer_(printer) {}
    std::unique_ptr<platform::Device> makeSerial() override { return std::make_unique<SimDevice>(printer_); }
    std::unique_ptr<platform::Device> makeParallel() override;
    std::unique_ptr<platform::StreamSocket> makeSocket() override { return std::make_unique<SimSocket>(printer_); }
    // One USB printer (model 0) at /dev/usb/lp0; every open of it starts a fresh connection.
    std::vector<platform::UsbPrinterInterface> usbPrinters() override;
    std::unique_ptr<platform::Device> makeUsb() override { return std::make_unique<SimDevice>(printer_); }

private:
    sim::Printer& printer_;
};

// A root directory for VELMORA_SYSROOT that presents USB printers as the kernel does: sysfs
// entries with vendor and product ids and a serial number, and device nodes that lead wherever
// the test says (a pseudo-terminal served by the simulator, or nowhere). Removed when destroyed.
class SimUsbSysroot {
public:
    SimUsbSysroot();
    ~SimUsbSysroot();
    SimUsbSysroot(const SimUsbSysroot&) = delete;
    SimUsbSysroot& operator=(const SimUsbSysroot&) = delete;

    // Printer lpN with ids as sysfs gives them ("5a2e", "0a08"); its node /dev/usb/lpN is a
    // symbolic link to `target`.
    void addPrinter(int number, const std::string& vendorId, const std::string& productId, const std::string& serial,
                    const std::string& target);
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// A port object connected to an in-process simulated printer over the given port name.
struct SimLink {
    explicit SimLink(const std::string& portName = "COM1:");
    sim::Printer printer;
    SimFactory factory{printer};
    platform::TestClock clock;
    link::SilentMessages messages;
    link::CComm comm{factory, clock, messages};
};

}  // namespace velmora::testing
