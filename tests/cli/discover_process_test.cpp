// velmora-cli discover as a user runs it, on loopback addresses only: simulators at 127.0.0.2 ...
// 127.0.0.9 among addresses that refuse, one that never answers the connect and one that takes
// it and says nothing; then USB printers and a serial port presented by a fake sysfs tree.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "cli/fleet.h"
#include "link/usbprinter.h"
#include "support/json.h"
#include "support/processes.h"
#include "support/unanswering.h"
#include "support/simdevice.h"

namespace velmora::testing {
namespace {

namespace fs = std::filesystem;
using Steady = std::chrono::steady_clock;

std::string portOf(const std::string& address) { return address.substr(address.rfind(':') + 1); }

std::string readFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(Discover, FindsTheSimulatorsOfALoopbackSubnetWithTheirModelsWithinTheBound) {
    auto first =
        std::make_unique<SimProcess>(std::vector<std::string>{"--listen", "127.0.0.2", "--model", "LX-2"});
    ASSERT_FALSE(first->address.empty());
    const std::string port = portOf(first->address);
    std::vector<std::unique_ptr<SimProcess>> sims;
    sims.push_back(std::move(first));
    for (int n = 3; n <= 9; ++n) {
        const std::string address = "127.0.0." + std::to_string(n);
        sims.push_back(std::make_unique<SimProcess>(std::vector<std::string>{
            "--listen", address, "--port", port, "--model", "LX-" + std::to_string(n)}));
        ASSERT_EQ(sims.back()->address, address + ":" + port);
    }
    Unanswering silent("127.0.0.20", static_cast<unsigned>(std::stoul(port)));
    ASSERT_TRUE(silent.ok);
    SimProcess quiet({"--listen", "127.0.0.21", "--port", port, "--silent"});
    ASSERT_FALSE(quiet.address.empty());
    const std::string list =
        fs::temp_directory_path() / ("velmora-discover-" + std::to_string(getpid()) + ".txt");

    const auto start = Steady::now();
    const ProcessResult r =
        runCliProcess("discover --subnet 127.0.0.0/24 --port " + port + " --printers-file " + list);
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(Steady::now() - start).count();
    EXPECT_LT(took, 5000) << r.output;
    ASSERT_EQ(r.status, 0) << r.output;
    for (int n = 2; n <= 9; ++n) {
        const std::string at = "127.0.0." + std::to_string(n) + ":" + port;
        const auto line = r.output.find("--tcp " + at + " ");
        ASSERT_NE(line, std::string::npos) << at << "\n" << r.output;
        const std::string row = r.output.substr(line, r.output.find('\n', line) - line);
        EXPECT_NE(row.find(" LX-" + std::to_string(n) + " "), std::string::npos) << row;
        EXPECT_NE(row.find("V1.00"), std::string::npos) << row;
    }
    EXPECT_NE(r.output.find("127.0.0.21:" + port + ": took the connection, no answer to the status query"),
              std::string::npos)
        << r.output;
    EXPECT_EQ(r.output.find("127.0.0.20:"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("127.0.0.0/24 on port " + port + ": 254 addresses in "), std::string::npos)
        << r.output;
    EXPECT_NE(r.output.find(": 8 printers, 1 not answering as printers, "), std::string::npos) << r.output;
    EXPECT_NE(r.output.find(" refused, 1 silent"), std::string::npos) << r.output;

    // The list it wrote is one the fleet commands take, and every printer on it answers.
    std::string error;
    const auto printers = cli::parsePrinterList(readFile(list), cli::CliOptions{}, error);
    ASSERT_TRUE(printers) << error;
    EXPECT_EQ(printers->size(), 8u);
    const ProcessResult status = runCliProcess("--printers " + list + " status");
    EXPECT_EQ(status.status, 0) << status.output;
    fs::remove(list);
}

TEST(Discover, UsageErrorsNameWhatIsWrong) {
    const struct {
        const char* args;
        const char* says;
    } cases[] = {
        {"discover --subnet 10.0.0.0/16", "too wide"},
        {"discover --subnets 10.0.0.0/24", "not --subnets"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        const ProcessResult r = runCliProcess(c.args);
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.output.find(c.says), std::string::npos) << r.output;
    }
}

TEST(Discover, KnownUsbPrintersAndASerialPortThatAnswers) {
    SimProcess serial({"--pty", "--baud", "19200", "--model", "LX-SERIAL"});
    ASSERT_FALSE(serial.ptyPath.empty());
    SimUsbSysroot root;
    root.addPrinter(0, "5a2e", "0a08", "SN0", "/dev/null");
    root.addPrinter(1, "1234", "5678", "SN1", "/dev/null");  // another make's printer
    const fs::path tty = fs::path(root.path()) / "sys/class/tty/ttyUSB0";
    fs::create_directories(tty);
    fs::create_directory_symlink(root.path() + "/sys/devices", tty / "device");
    fs::create_symlink(serial.ptyPath, fs::path(root.path()) / "dev/ttyUSB0");

    const ProcessResult r = runCliProcess("discover --serial-scan", "VELMORA_SYSROOT='" + root.path() + "'");
    ASSERT_EQ(r.status, 0) << r.output;
    const std::string model = link::UsbPrintNames(link::UsbModelCode("vid_5a2e&pid_0a08", false)).front();
    const auto usb = r.output.find("--lpt " + root.path() + "/dev/usb/lp0 ");
    ASSERT_NE(usb, std::string::npos) << r.output;
    const std::string usbRow = r.output.substr(usb, r.output.find('\n', usb) - usb);
    EXPECT_NE(usbRow.find(model), std::string::npos) << usbRow;
    EXPECT_NE(usbRow.find("USB (USB 5a2e:0a08)"), std::string::npos) << usbRow;
    EXPECT_EQ(r.output.find("/dev/usb/lp1"), std::string::npos) << r.output;
    const auto tty0 = r.output.find("--serial " + root.path() + "/dev/ttyUSB0 --baud 19200 ");
    ASSERT_NE(tty0, std::string::npos) << r.output;
    const std::string ttyRow = r.output.substr(tty0, r.output.find('\n', tty0) - tty0);
    EXPECT_NE(ttyRow.find("LX-SERIAL"), std::string::npos) << ttyRow;
    EXPECT_NE(ttyRow.find("serial scan"), std::string::npos) << ttyRow;
    EXPECT_NE(r.output.find("network: not searched; give --subnet CIDR"), std::string::npos) << r.output;

    // For a script: each printer found as an object of its own.
    const ProcessResult j = runCliProcess("--json discover", "VELMORA_SYSROOT='" + root.path() + "'");
    EXPECT_EQ(j.status, 0) << j.output;
    std::string error;
    const auto json = parseJson(j.output, error);
    ASSERT_TRUE(json) << error << ": " << j.output;
    ASSERT_EQ((*json)["found"].items.size(), 1u) << j.output;
    const Json& found = (*json)["found"].items[0];
    EXPECT_EQ(found["via"].text, "usb");
    EXPECT_EQ(found["connection"].text, "--lpt " + root.path() + "/dev/usb/lp0");
    EXPECT_EQ(found["model"].text, model);
    EXPECT_EQ(found["note"].text, "USB 5a2e:0a08");
}

}  // namespace
}  // namespace velmora::testing
