// What to tell a user whom the system refused a device: which group grants it, or a udev rule.
#pragma once

#include <string>

namespace velmora::platform {

enum class DeviceUse { SerialPort, Printer };

// One line for a failed open of `device` with errno `error`: empty unless the error is a
// refusal of permission (EACCES, EPERM). Names the device's own group when it has one other
// than root, else the group that usually grants such a device: dialout for a serial port, lp
// for a printer.
std::string deviceAccessAdvice(const std::string& device, int error, DeviceUse use = DeviceUse::Printer);

}  // namespace velmora::platform
