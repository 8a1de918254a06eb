// In-process simulated printer devices.
#include "support/simdevice.h"

#include <algorithm>
#include <cstring>

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

std::unique_ptr<platform::Device> SimFactory::openUsbPrinter(std::string& devicePath, int& modelIndex) {
    auto d = std::make_unique<SimDevice>(printer_);
    d->open("");
    devicePath = "/dev/usb/lp0";
    modelIndex = 0;
    return d;
}

SimLink::SimLink(const std::string& portName) {
    comm.portName = portName;
    comm.baudRate = 115200;
    comm.dataBits = 8;
    comm.socket.SetTarget("127.0.0.1", 9100);
}

}  // namespace velmora::testing
