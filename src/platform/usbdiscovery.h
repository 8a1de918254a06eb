// USB printer discovery on Linux: the printer-class devices that the kernel's usblp driver
// exposes (sysfs class/usbmisc/lpN, device node /dev/usb/lpN), each given the interface path
// that Windows would report for it, so the port object's matching reads the vendor and product
// ids where it expects them. Everything is read below a root directory (VELMORA_SYSROOT, default
// "/"), so tests present a printer made of a fake sysfs tree.
#pragma once

#include <string>
#include <vector>

#include "platform/device.h"

namespace velmora::platform {

// The USB printer device interface class, as it ends every interface path.
constexpr const char* kUsbPrinterInterfaceClass = "{28d78fad-5a12-11d1-ae5b-0000f803a8c2}";

// The root below which sysfs and /dev are read: $VELMORA_SYSROOT when set and not empty, else "/".
std::string systemRoot();

// "\\?\usb#vid_xxxx&pid_xxxx#SERIAL#{28d78fad-...}" from the ids as sysfs gives them (hexadecimal
// text, taken in lower case and padded to four digits). An empty serial is replaced by
// `fallbackSerial` (the kernel's name for the device, "1-1.2"), as Windows puts an instance id
// there for a device without a serial number.
std::string usbInterfacePath(const std::string& vendorId, const std::string& productId, const std::string& serial,
                             const std::string& fallbackSerial);

// The usblp devices below `root`, ordered by their number (lp0, lp1, ..., lp10). A device whose
// vendor or product id cannot be read is left out.
std::vector<UsbPrinterInterface> enumerateUsbPrinters(const std::string& root);

// A printer-class interface of a USB device (interface class 07), whichever driver has it.
struct UsbPrinterFunction {
    std::string kernelName;  // "1-1.2:1.0"
    std::string vendorId;    // four lower-case hexadecimal digits
    std::string productId;
    std::string product;     // the device's own name, when it gives one
    std::string driver;      // "usblp", another driver's name, or "" when none has it
    std::string node;        // /dev/usb/lpN when usblp offers it, else ""
};

// Every printer-class interface below `root` (sys/bus/usb/devices), in name order.
std::vector<UsbPrinterFunction> listUsbPrinterFunctions(const std::string& root);

}  // namespace velmora::platform
