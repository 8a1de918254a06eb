// USB printers from sysfs below a root directory, the usblp device class over a pseudo-terminal
// and plain files, and the permission hint for a refused device.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/file.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <map>

#include "platform/deviceaccess.h"
#include "platform/usbdiscovery.h"
#include "platform/usbprinterdevice.h"

namespace velmora::platform {
namespace {

namespace fs = std::filesystem;

const std::string kClass = "#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}";

class TempDir {
public:
    TempDir() {
        char name[] = "/tmp/velmora-usb-XXXXXX";
        path = mkdtemp(name) ? name : "";
    }
    ~TempDir() {
        std::error_code ec;
        if (!path.empty()) fs::remove_all(path, ec);
    }
    std::string path;
};

void writeFile(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    std::ofstream(file) << text;
}

// A USB device with a printer interface whose usbmisc entry is lpN, laid out as the kernel lays
// it out (class entry → interface's usbmisc directory, "device" → the interface).
void addPrinter(const fs::path& root, const std::string& lp, const std::string& kernelName,
                const std::map<std::string, std::string>& attributes) {
    const fs::path device = root / "sys/devices/pci0000:00/usb1" / kernelName;
    for (const auto& [name, value] : attributes) writeFile(device / name, value + "\n");
    const fs::path entry = device / (kernelName + ":1.0") / "usbmisc" / lp;
    fs::create_directories(entry);
    fs::create_directory_symlink("../..", entry / "device");
    fs::create_directories(root / "sys/class/usbmisc");
    fs::create_directory_symlink(fs::relative(entry, root / "sys/class/usbmisc"), root / "sys/class/usbmisc" / lp);
}

TEST(UsbDiscovery, PrintersInNumberOrderWithTheirIdsSerialsAndNodes) {
    TempDir tmp;
    const fs::path root = tmp.path;
    addPrinter(root, "lp10", "1-4", {{"idVendor", "5A2E"}, {"idProduct", "a83"}, {"serial", "Z9"}});
    addPrinter(root, "lp2", "3-1.2", {{"idVendor", "6d81"}, {"idProduct", "2100"}});  // no serial
    addPrinter(root, "lp0", "1-1", {{"idVendor", "5a2e"}, {"idProduct", "0a08"}, {"serial", "SN 0042"}});
    addPrinter(root, "lp3", "1-5", {{"idVendor", "5a2e"}});                     // no product id
    addPrinter(root, "lp4", "1-6", {{"idVendor", "xyz"}, {"idProduct", "0a08"}});  // no hexadecimal id
    addPrinter(root, "hiddev0", "1-7", {{"idVendor", "5a2e"}, {"idProduct", "0a08"}});
    addPrinter(root, "lpx", "1-8", {{"idVendor", "5a2e"}, {"idProduct", "0a08"}});

    const auto found = enumerateUsbPrinters(tmp.path + "/");
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0].path, "\\\\?\\usb#vid_5a2e&pid_0a08#SN 0042" + kClass);
    EXPECT_EQ(found[0].node, tmp.path + "/dev/usb/lp0");
    EXPECT_EQ(found[1].path, "\\\\?\\usb#vid_6d81&pid_2100#3-1.2" + kClass);
    EXPECT_EQ(found[1].node, tmp.path + "/dev/usb/lp2");
    EXPECT_EQ(found[2].path, "\\\\?\\usb#vid_5a2e&pid_0a83#Z9" + kClass);
    // The ids stand where the matching reads them: the 17 characters after the first 8.
    EXPECT_EQ(found[2].path.substr(8, 17), "vid_5a2e&pid_0a83");

    EXPECT_TRUE(enumerateUsbPrinters(tmp.path + "/nothing").empty());
}

class UsbPrinterDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        master = posix_openpt(O_RDWR | O_NOCTTY);
        ASSERT_GE(master, 0);
        ASSERT_EQ(grantpt(master), 0);
        ASSERT_EQ(unlockpt(master), 0);
        slave = ptsname(master);
        // Raw, so bytes pass unchanged, as through a printer's USB pipe.
        const int fd = ::open(slave.c_str(), O_RDWR | O_NOCTTY);
        termios tio{};
        tcgetattr(fd, &tio);
        cfmakeraw(&tio);
        tcsetattr(fd, TCSANOW, &tio);
        keep = fd;
    }
    void TearDown() override {
        if (keep >= 0) ::close(keep);
        if (master >= 0) ::close(master);
    }
    int master = -1;
    int keep = -1;
    std::string slave;
};

TEST_F(UsbPrinterDeviceTest, MovesBytesBothWaysAndReadsNothingAtOnce) {
    UsbPrinterDevice device;
    ASSERT_TRUE(device.open(slave));
    const std::string command = "^cp\r";
    EXPECT_EQ(device.write(reinterpret_cast<const std::uint8_t*>(command.data()), command.size()), 4);
    char got[8] = {};
    EXPECT_EQ(::read(master, got, sizeof got), 4);
    EXPECT_EQ(std::string(got, 4), command);

    std::uint8_t reply[8];
    EXPECT_EQ(device.read(reply, sizeof reply), 0);
    ASSERT_EQ(::write(master, "\x40\x00", 2), 2);
    pollfd ready{keep, POLLIN, 0};  // the pseudo-terminal hands bytes over asynchronously
    ASSERT_EQ(poll(&ready, 1, 2000), 1);
    EXPECT_EQ(device.read(reply, sizeof reply), 2);
    device.close();
    EXPECT_FALSE(device.isOpen());
    EXPECT_EQ(device.read(reply, 1), -1);
}

TEST_F(UsbPrinterDeviceTest, OpenFailuresSayWhy) {
    UsbPrinterDevice device;
    EXPECT_FALSE(device.open("/nonexistent/usb/lp0"));
    EXPECT_EQ(device.lastError(), ENOENT);

    // Another program holds the printer.
    const int holder = ::open(slave.c_str(), O_RDWR | O_NOCTTY);
    ASSERT_EQ(flock(holder, LOCK_EX), 0);
    EXPECT_FALSE(device.open(slave));
    EXPECT_EQ(device.lastError(), EBUSY);
    ::close(holder);
    EXPECT_TRUE(device.open(slave));
    EXPECT_EQ(device.lastError(), 0);

    // A second opener while this one holds it.
    UsbPrinterDevice second;
    EXPECT_FALSE(second.open(slave));
    EXPECT_EQ(second.lastError(), EBUSY);
}

TEST(DeviceAccessAdvice, OnlyForARefusalAndNamingTheDevicesGroup) {
    const std::string advice = deviceAccessAdvice("/dev/usb/lp7", EACCES);
    EXPECT_NE(advice.find("/dev/usb/lp7"), std::string::npos) << advice;
    EXPECT_NE(advice.find("group lp"), std::string::npos) << advice;
    EXPECT_NE(advice.find("udev rule"), std::string::npos) << advice;
    EXPECT_FALSE(deviceAccessAdvice("/dev/usb/lp7", EPERM).empty());
    for (int error : {0, ENOENT, EBUSY, EIO}) EXPECT_EQ(deviceAccessAdvice("/dev/usb/lp7", error), "");
    // A serial port whose group cannot be read (or is root) needs dialout, not lp.
    const std::string serial = deviceAccessAdvice("/dev/ttyUSB7", EACCES, DeviceUse::SerialPort);
    EXPECT_NE(serial.find("group dialout"), std::string::npos) << serial;
}

}  // namespace
}  // namespace velmora::platform
