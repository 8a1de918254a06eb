// In-process simulated printer devices.
#include "support/simdevice.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace velmora::testing {

namespace {
// A parallel port that reports the ready status byte.
class SimParallel : public SimDevice {
public:
    using SimDevice::SimDevice;
    std::optional<std::uint8_t> parallelStatus() override { return platform::parallel_status::kSelected; }
};
}  // namespace

bool SimDevice::open(const std::string&) {
    open_ = true;
    parser_.reset();
    pending_.clear();
    return true;
}

long SimDevice::write(const std::uint8_t* data, std::size_t n) {
    if (!open_) return -1;
    parser_.feed(data, n);
    pending_ += parser_.takeReplies();
    return static_cast<long>(n);
}

long SimDevice::read(std::uint8_t* buf, std::size_t n) {
    if (!open_) return -1;
    const std::size_t k = std::min(n, pending_.size());
    std::memcpy(buf, pending_.data(), k);
    pending_.erase(0, k);
    return static_cast<long>(k);
}

bool SimDevice::purge() {
    pending_.clear();
    return true;
}

platform::StreamSocket::ConnectResult SimSocket::connect(const std::string&, unsigned, unsigned) {
    device_.open("");
    return ConnectResult::Ok;
}

long SimSocket::receive(std::uint8_t* buf, std::size_t n, unsigned) {
    const long got = device_.read(buf, n);
    return got < 0 ? -1 : got;  // nothing waiting reads as a silent printer: 0
}

std::unique_ptr<platform::Device> SimFactory::makeParallel() { return std::make_unique<SimParallel>(printer_); }

std::vector<platform::UsbPrinterInterface> SimFactory::usbPrinters() {
    return {{"\\\\?\\usb#vid_6d81&pid_2100#SIM0001#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}", "/dev/usb/lp0"}};
}

SimUsbSysroot::SimUsbSysroot() {
    char name[] = "/tmp/velmora-sysroot-XXXXXX";
    if (mkdtemp(name)) path_ = name;
}

SimUsbSysroot::~SimUsbSysroot() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
}

void SimUsbSysroot::addPrinter(int number, const std::string& vendorId, const std::string& productId,
                               const std::string& serial, const std::string& target) {
    namespace fs = std::filesystem;
    const std::string lp = "lp" + std::to_string(number);
    const std::string kernelName = "1-" + std::to_string(number + 1);
    const fs::path device = fs::path(path_) / "sys/devices/pci0000:00/usb1" / kernelName;
    const fs::path entry = device / (kernelName + ":1.0") / "usbmisc" / lp;
    fs::create_directories(entry);
    std::ofstream(device / "idVendor") << vendorId << '\n';
    std::ofstream(device / "idProduct") << productId << '\n';
    if (!serial.empty()) std::ofstream(device / "serial") << serial << '\n';
    fs::create_directory_symlink("../..", entry / "device");
    const fs::path classDir = fs::path(path_) / "sys/class/usbmisc";
    fs::create_directories(classDir);
    fs::create_directory_symlink(fs::relative(entry, classDir), classDir / lp);
    fs::create_directories(fs::path(path_) / "dev/usb");
    fs::create_symlink(target, fs::path(path_) / "dev/usb" / lp);
}

SimLink::SimLink(const std::string& portName) {
    comm.portName = portName;
    comm.baudRate = 115200;
    comm.dataBits = 8;
    comm.socket.SetTarget("127.0.0.1", 9100);
}

}  // namespace velmora::testing
