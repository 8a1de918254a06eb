// The device factory over the real operating system: the one the programs use.
#include <memory>

#include "platform/device.h"
#include "platform/paralleldevice.h"
#include "platform/serialdevice.h"
#include "platform/tcpsocket.h"
#include "platform/usbdiscovery.h"
#include "platform/usbprinterdevice.h"

namespace velmora::platform {

namespace {

class SystemDevices final : public DeviceFactory {
  public:
    std::unique_ptr<Device> makeSerial() override { return std::make_unique<SerialDevice>(); }
    std::unique_ptr<Device> makeParallel() override { return std::make_unique<ParallelDevice>(); }
    std::unique_ptr<StreamSocket> makeSocket() override { return std::make_unique<TcpSocket>(); }
    // Read afresh each time: the port object rediscovers the printer before every USB transfer.
    std::vector<UsbPrinterInterface> usbPrinters() override { return enumerateUsbPrinters(systemRoot()); }
    std::unique_ptr<Device> makeUsb() override { return std::make_unique<UsbPrinterDevice>(); }
};

}  // namespace

DeviceFactory& systemDevices() {
    static SystemDevices factory;
    return factory;
}

}  // namespace velmora::platform
