// velmora-cli over USB, end to end: printers presented by a fake sysfs tree below
// VELMORA_SYSROOT whose device nodes lead to a pseudo-terminal served by the simulator.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <sys/wait.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <sstream>

#include "app/handshake.h"
#include "cli/cli.h"
#include "link/comm.h"
#include "platform/clock.h"
#include "platform/device.h"
#include "sim/server.h"
#include "support/linkfixture.h"
#include "support/processes.h"
#include "support/simdevice.h"

namespace velmora::testing {
namespace {

class UsbPrinterOnPty : public ::testing::Test {
protected:
    void SetUp() override {
        pty = server.startPty();
        ASSERT_FALSE(pty.empty()) << server.error();
    }
    sim::Printer printer;
    sim::Server server{printer};
    std::string pty;
    SimUsbSysroot root;
};

TEST_F(UsbPrinterOnPty, ConnectOpensOnlyAKnownPrinterThatOpens) {
    struct Printer {
        const char* vendor;
        const char* product;
        bool onPty;  // else its node leads nowhere
    };
    struct Case {
        const char* what;
        std::vector<Printer> printers;
        bool connects;
    };
    const Case cases[] = {
        {"known", {{"5a2e", "0a08", true}}, true},
        {"ids in upper case, as some devices give them", {{"5A2E", "0A83", true}}, true},
        {"unknown ids, though the catalog lists the product", {{"1234", "0a08", true}}, false},
        {"known but unopenable, then known", {{"6d81", "2100", false}, {"8c5a", "417b", true}}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SimUsbSysroot sysroot;
        for (std::size_t i = 0; i < c.printers.size(); ++i) {
            const Printer& p = c.printers[i];
            sysroot.addPrinter(static_cast<int>(i), p.vendor, p.product, "SN" + std::to_string(i),
                               p.onPty ? pty : sysroot.path() + "/gone");
        }
        printer.journal().clear();
        const ProcessResult r = runCliProcess("--usb connect", "VELMORA_SYSROOT='" + sysroot.path() + "'");
        EXPECT_EQ(r.status, c.connects ? 0 : 1) << r.output;
        EXPECT_NE(r.output.find(c.connects ? "Success open port." : "Cannot open port!"), std::string::npos)
            << r.output;
        // A printer that is not opened hears nothing.
        EXPECT_EQ(printer.journal().tail(), c.connects ? "^cp\r" : "");
    }
}

// Counts the opens of the real USB devices the system factory makes.
class CountingFactory : public platform::DeviceFactory {
public:
    std::unique_ptr<platform::Device> makeSerial() override { return real.makeSerial(); }
    std::unique_ptr<platform::Device> makeParallel() override { return real.makeParallel(); }
    std::unique_ptr<platform::StreamSocket> makeSocket() override { return real.makeSocket(); }
    std::vector<platform::UsbPrinterInterface> usbPrinters() override {
        ++discoveries;
        return real.usbPrinters();
    }
    std::unique_ptr<platform::Device> makeUsb() override {
        class Counted : public platform::Device {
        public:
            Counted(std::unique_ptr<platform::Device> d, int& opens) : d_(std::move(d)), opens_(opens) {}
            bool open(const std::string& path) override { return d_->open(path) && ++opens_; }
            void close() override { d_->close(); }
            bool isOpen() const override { return d_->isOpen(); }
            long write(const std::uint8_t* data, std::size_t n) override { return d_->write(data, n); }
            long read(std::uint8_t* buf, std::size_t n) override { return d_->read(buf, n); }

        private:
            std::unique_ptr<platform::Device> d_;
            int& opens_;
        };
        return std::make_unique<Counted>(real.makeUsb(), opens);
    }
    platform::DeviceFactory& real = platform::systemDevices();
    int opens = 0;
    int discoveries = 0;
};

TEST_F(UsbPrinterOnPty, TransfersReopenTheDeviceUnlessKeepOpen) {
    root.addPrinter(0, "5a2e", "0a0b", "TEST11", pty);
    setenv("VELMORA_SYSROOT", root.path().c_str(), 1);
    CountingFactory devices;
    platform::RealClock clock;
    RecordingMessages messages;
    link::CComm comm(devices, clock, messages);
    comm.portName = "USB";

    ASSERT_TRUE(app::OpenAndHandshake(comm, clock));
    EXPECT_EQ(comm.modelIndex, 11);
    EXPECT_EQ(comm.devicePath, "\\\\?\\usb#vid_5a2e&pid_0a0b#TEST11#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}");
    EXPECT_EQ(devices.opens, 3);  // the connect's own open, the handshake's write and its read
    EXPECT_EQ(comm.handle(), nullptr);

    for (int i = 0; i < 3; ++i) EXPECT_EQ(comm.WriteText("~WC\r"), 1);
    EXPECT_EQ(devices.opens, 6);
    EXPECT_EQ(devices.discoveries, 6);
    EXPECT_EQ(comm.handle(), nullptr);

    comm.keepOpen = true;
    ASSERT_EQ(comm.Open(), 1);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(comm.WriteText("~HS\r"), 1);
    EXPECT_EQ(devices.opens, 7);
    comm.Close();
    comm.keepOpen = false;

    // A last query: once it is answered, the printer has taken everything before it.
    ASSERT_TRUE(app::Handshake(comm, clock));
    EXPECT_EQ(printer.journal().tail(), "^cp\r~WC\r~WC\r~WC\r~HS\r~HS\r~HS\r~HS\r~HS\r^cp\r");
    EXPECT_TRUE(messages.shown.empty());
    unsetenv("VELMORA_SYSROOT");
}

TEST(UsbCliPermission, ARefusedPrinterAddsTheLineAboutAccess) {
    ScriptedFactory devices;
    devices.script.refusedPaths = {{"/dev/usb/lp0", EACCES}};
    platform::TestClock clock;
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(cli::runCli({"--usb", "connect"}, out, err, devices, clock), cli::kExitFailure);
    const std::string text = err.str();
    EXPECT_NE(text.find("Cannot open port! Please check printer and cable."), std::string::npos) << text;
    EXPECT_NE(text.find("velmora-cli: You need write access to /dev/usb/lp0"), std::string::npos) << text;

    // Any other failure keeps to message 216.
    std::ostringstream err2;
    devices.script.refusedPaths = {{"/dev/usb/lp0", EBUSY}};
    EXPECT_EQ(cli::runCli({"--usb", "connect"}, out, err2, devices, clock), cli::kExitFailure);
    EXPECT_EQ(err2.str().find("write access"), std::string::npos) << err2.str();
}

}  // namespace
}  // namespace velmora::testing
