// The serial ports this computer has, as the kernel lists them in sysfs: the ones with a device
// behind them (a UART that is there, a USB adapter), not every console name.
#pragma once

#include <string>
#include <vector>

namespace velmora::platform {

// The device nodes of the serial ports below `root` (see systemRoot()): each tty of
// sys/class/tty with a device behind it whose node is in dev/, where a ttyS port counts only
// when its UART type is known (not 0); in name order, ttyS2 before ttyS10.
std::vector<std::string> listSerialPorts(const std::string& root);

}  // namespace velmora::platform
