// The device factory over the real operating system: the one the programs use.
#include <memory>

#include "platform/device.h"
#include "platform/paralleldevice.h"
#include "platform/serialdevice.h"
#include "platform/tcpsocket.h"

namespace velmora::platform {

namespace {

class SystemDevices final : public DeviceFactory {
  public:
    std::unique_ptr<Device> makeSerial() override { return std::make_unique<SerialDevice>(); }
    std::unique_ptr<Device> makeParallel() override { return std::make_unique<ParallelDevice>(); }
    std::unique_ptr<StreamSocket> makeSocket() override { return std::make_unique<TcpSocket>(); }
    // USB printer discovery (sysfs below VELMORA_SYSROOT) comes later; until then no
    // USB printer is ever found.
    std::unique_ptr<Device> openUsbPrinter(std::string& /*devicePath*/, int& /*modelIndex*/) override {
        return nullptr;
    }
};

}  // namespace

DeviceFactory& systemDevices() {
    static SystemDevices factory;
    return factory;
}

}  // namespace velmora::platform
