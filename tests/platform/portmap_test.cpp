#include "platform/portmap.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>

namespace velmora::platform {
namespace {

TEST(PortMap, DefaultDevicesFollowThePortNumber) {
    const struct {
        const char* name;
        const char* device;
    } cases[] = {
        {"COM1:", "/dev/ttyS0"},  {"COM1", "/dev/ttyS0"},    {"com2:", "/dev/ttyS1"},
        {"Com9:", "/dev/ttyS8"},  {"COM10:", "/dev/ttyS9"},  {"COM20:", "/dev/ttyS19"},
        {"COM32", "/dev/ttyS31"}, {"LPT1:", "/dev/lp0"},     {"LPT2:", "/dev/lp1"},
        {"lpt4", "/dev/lp3"},     {" COM3: ", "/dev/ttyS2"},
    };
    const PortMap map;
    for (const auto& c : cases) EXPECT_EQ(map.devicePath(c.name), c.device) << c.name;
}

TEST(PortMap, OtherNamesHaveNoDefaultDevice) {
    const PortMap map;
    for (const char* name : {"", ":", "COM", "COM:", "COM0:", "LPT0", "COMX:", "COM1::", "COM-1", "COM+1",
                             "COM1A", "USB", "ETHERNET", "COM99999999999999999999", "LPT 1"}) {
        EXPECT_EQ(map.devicePath(name), "") << '"' << name << '"';
    }
}

TEST(PortMap, MappingsWinOverDefaultsWhateverTheSpelling) {
    PortMap map;
    map.set("com3", "/dev/ttyUSB0");
    map.set("PRINTER:", "/dev/usb/lp0");
    EXPECT_EQ(map.devicePath("COM3:"), "/dev/ttyUSB0");
    EXPECT_EQ(map.devicePath("Com3"), "/dev/ttyUSB0");
    EXPECT_EQ(map.devicePath("printer"), "/dev/usb/lp0");
    EXPECT_EQ(map.devicePath("COM4:"), "/dev/ttyS3");
    EXPECT_TRUE(map.isMapped("COM3:"));
    EXPECT_FALSE(map.isMapped("COM4:"));
    map.set("COM3:", "/dev/ttyACM0");
    EXPECT_EQ(map.devicePath("COM3:"), "/dev/ttyACM0");
    EXPECT_EQ(map.entries().size(), 2u);
    EXPECT_EQ(map.entries().count("COM3"), 1u);
}

// Sets an environment variable for one scope, then puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }
    ~ScopedEnv() {
        if (old_) {
            setenv(name_, old_->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(PortMap, SettingsFileLivesInTheXdgConfigFolder) {
    {
        ScopedEnv xdg("XDG_CONFIG_HOME", "/cfg");
        ScopedEnv home("HOME", "/home/u");
        EXPECT_EQ(PortMap::settingsFilePath(), "/cfg/velmora/velmora.ini");
    }
    {
        ScopedEnv xdg("XDG_CONFIG_HOME", nullptr);
        ScopedEnv home("HOME", "/home/u");
        EXPECT_EQ(PortMap::settingsFilePath(), "/home/u/.config/velmora/velmora.ini");
    }
    {
        ScopedEnv xdg("XDG_CONFIG_HOME", "");
        ScopedEnv home("HOME", "/home/u");
        EXPECT_EQ(PortMap::settingsFilePath(), "/home/u/.config/velmora/velmora.ini");
    }
}

TEST(PortMap, ReadsThePortsSectionOfTheSettingsFile) {
    const std::string base = ::testing::TempDir() + "velmora_portmap_test_" + std::to_string(getpid());
    mkdir(base.c_str(), 0700);
    mkdir((base + "/velmora").c_str(), 0700);
    const std::string path = base + "/velmora/velmora.ini";
    {
        std::ofstream out(path, std::ios::binary);
        out << "[Other]\nCOM1=/dev/wrong\n[ports]\r\ncom3 = /dev/ttyUSB0\r\nLPT2:=/dev/usb/lp1\r\nCOM5=\r\n";
    }
    ScopedEnv xdg("XDG_CONFIG_HOME", base.c_str());
    const PortMap map = PortMap::fromSettings();
    EXPECT_EQ(map.devicePath("COM3:"), "/dev/ttyUSB0");
    EXPECT_EQ(map.devicePath("LPT2:"), "/dev/usb/lp1");
    EXPECT_EQ(map.devicePath("COM1:"), "/dev/ttyS0");
    EXPECT_EQ(map.devicePath("COM5:"), "/dev/ttyS4");  // an empty value maps nothing
    EXPECT_EQ(map.entries().size(), 2u);
    std::remove(path.c_str());
    rmdir((base + "/velmora").c_str());
    rmdir(base.c_str());

    const PortMap none = PortMap::fromSettings();
    EXPECT_TRUE(none.entries().empty());
    EXPECT_EQ(none.devicePath("COM3:"), "/dev/ttyS2");
}

// A settings file that is not what its name promises must not hang, abort or swamp a program at
// start: only a bounded part of a regular file is read, and the map says what it ignored.
TEST(PortMap, ReadsOnlyABoundedRegularSettingsFileAndSaysWhatItIgnored) {
    const std::string base = ::testing::TempDir() + "velmora_portmap_bad_" + std::to_string(getpid());
    mkdir(base.c_str(), 0700);
    const std::string fifo = base + "/fifo.ini", sparse = base + "/sparse.ini";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    {
        std::ofstream out(sparse, std::ios::binary);
        out << "[Ports]\nCOM3=/dev/ttyUSB0\n";
    }
    ASSERT_EQ(truncate(sparse.c_str(), 300LL << 20), 0);  // 300 MB of zero bytes after the lines

    struct Case {
        std::string path;
        std::string noteHas;  // "": no note
        std::string com3;
    };
    const Case cases[] = {
        {fifo, "is not a regular file; ignored", "/dev/ttyS2"},
        {"/dev/zero", "is not a regular file; ignored", "/dev/ttyS2"},
        {base, "is not a regular file; ignored", "/dev/ttyS2"},
        {sparse, "is larger than 64 KiB", "/dev/ttyUSB0"},
        {base + "/missing.ini", "", "/dev/ttyS2"},
    };
    for (const Case& c : cases) {
        PortMap map;
        map.loadFrom(c.path);
        if (c.noteHas.empty()) {
            EXPECT_EQ(map.note(), "") << c.path;
        } else {
            EXPECT_NE(map.note().find(c.path + " " + c.noteHas), std::string::npos) << map.note();
        }
        EXPECT_EQ(map.devicePath("COM3"), c.com3) << c.path;
    }
    std::remove(fifo.c_str());
    std::remove(sparse.c_str());
    rmdir(base.c_str());
}

}  // namespace
}  // namespace velmora::platform
