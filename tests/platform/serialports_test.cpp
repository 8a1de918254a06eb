// Serial ports as sysfs lists them: a port needs a device behind it and its node, and an 8250
// port a UART that is there.
#include "platform/serialports.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

namespace velmora::platform {
namespace {

namespace fs = std::filesystem;

TEST(SerialPorts, OnlyPortsWithHardwareAndANodeInNumberOrder) {
    char name[] = "/tmp/velmora-ttyroot-XXXXXX";
    ASSERT_TRUE(mkdtemp(name));
    const fs::path root = name;
    struct Tty {
        const char* name;
        bool device;
        const char* uartType;  // nullptr: no type attribute
        bool node;
    };
    const Tty ttys[] = {
        {"ttyS0", true, "0", true},  // the driver's placeholder: no UART
        {"ttyS1", true, "4", true},  // a 16550A
        {"ttyUSB10", true, nullptr, true}, {"ttyUSB2", true, nullptr, true},
        {"ttyACM0", true, nullptr, false},  // no node in /dev
        {"tty1", false, nullptr, true},     // a virtual terminal
    };
    fs::create_directories(root / "dev");
    fs::create_directories(root / "sys/devices/platform/serial");
    for (const Tty& t : ttys) {
        const fs::path dir = root / "sys/class/tty" / t.name;
        fs::create_directories(dir);
        if (t.device) fs::create_directory_symlink(root / "sys/devices/platform/serial", dir / "device");
        if (t.uartType) std::ofstream(dir / "type") << t.uartType << '\n';
        if (t.node) std::ofstream(root / "dev" / t.name);
    }
    EXPECT_EQ(listSerialPorts(root.string() + "/"),
              (std::vector<std::string>{root.string() + "/dev/ttyS1", root.string() + "/dev/ttyUSB2",
                                        root.string() + "/dev/ttyUSB10"}));
    EXPECT_TRUE(listSerialPorts(root.string() + "/nothing").empty());
    fs::remove_all(root);
}

}  // namespace
}  // namespace velmora::platform
