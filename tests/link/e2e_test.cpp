// The port object against the simulator over real transports: TCP on loopback and a
// pseudo-terminal used as a serial port. Real clock, short bounded waits.
#include <gtest/gtest.h>

#include <array>
#include <chrono>

#include "app/handshake.h"
#include "app/toolcontext.h"
#include "link/comm.h"
#include "platform/device.h"
#include "platform/server.h"
#include "resources/templates_zii_basic.h"
#include "sim/server.h"
#include "support/linkfixture.h"
#include "ui/testhost.h"
#include "zii/usersetting_zii_basictab.h"

namespace velmora::testing {
namespace {

class RealLink : public ::testing::Test {
protected:
    void SetUp() override {
        port = server.startTcp(0);
        ASSERT_NE(port, 0u) << server.error();
        comm.portName = "ETHERNET";
        comm.socket.SetTarget("127.0.0.1", port);
        comm.socket.timeouts = {1000, 1000, 300};
        comm.baudRate = 115200;
        comm.dataBits = 8;
    }
    std::string query(const std::string& q, std::size_t n) {
        comm.WriteText(q);
        std::string buf(n, '\0');
        const int got = comm.ReadBytes(reinterpret_cast<std::uint8_t*>(buf.data()), n);
        buf.resize(got > 0 ? got : 0);
        return buf;
    }
    sim::Printer printer;
    sim::Server server{printer};
    unsigned port = 0;
    platform::RealClock clock;
    RecordingMessages messages;
    link::CComm comm{platform::systemDevices(), clock, messages};
};

TEST_F(RealLink, HandshakeAndStatusOverTcp) {
    printer.setStatus("cover-open", true);
    ASSERT_TRUE(app::OpenAndHandshake(comm, clock));
    EXPECT_EQ(query("^cp\r", 2), std::string("\x40\x00", 2));
    EXPECT_EQ(query("^cu\r", 1), std::string("\x40", 1));
}

TEST_F(RealLink, SilentPrinterCostsOnlyTheBoundedWait) {
    printer.setSilent(true);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(app::OpenAndHandshake(comm, clock));
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    EXPECT_LT(ms.count(), 2000);
    EXPECT_FALSE(comm.socket.connected);  // a failed handshake ends the connection
}

// Bytes the printer never took are a failed write, reported like on the other links; the
// process lives on (no SIGPIPE).
TEST_F(RealLink, WriteToAPrinterThatClosedTheConnectionFails) {
    printer.setDropAfterBytes(5);  // the handshake's 4 bytes are answered, then one more byte
    ASSERT_TRUE(app::OpenAndHandshake(comm, clock));
    EXPECT_EQ(comm.WriteText(std::string(131000, 'x')), 0);
    EXPECT_EQ(messages.shown, std::vector<int>{111});
    EXPECT_EQ(comm.WriteText("^cp\r"), 0);
    EXPECT_EQ(query("^cp\r", 2), "");
}

// A printer that answers the connect check and then stops answering: the ten reads of a Get
// wait their full bound once, not ten times, and the fixed pauses stay as they are.
TEST_F(RealLink, APrinterThatFallsSilentCostsOneWaitPerAction) {
    platform::TestClock pauses;  // the protocol's pauses are counted, not waited
    link::CComm quiet{platform::systemDevices(), pauses, messages};
    quiet.portName = "ETHERNET";
    quiet.socket.SetTarget("127.0.0.1", port);
    quiet.socket.timeouts = {1000, 1000, 1000};
    ASSERT_TRUE(app::OpenAndHandshake(quiet, pauses));
    printer.setSilent(true);
    ui::TestHost host;
    app::ToolContext ctx{quiet, pauses, host};
    zii::CUserSetting_ZII_BasicTab page(ctx);
    page.Create();
    for (int round = 0; round < 2; ++round) {  // each Get is an action of its own
        pauses.clearPauses();
        const auto start = std::chrono::steady_clock::now();
        page.click(resources::IDC_ZB_GET);
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
        EXPECT_GE(ms.count(), 1000);
        EXPECT_LT(ms.count(), 1000 + 9 * 100 + 600);  // ten reads took 10 s before
        EXPECT_EQ(page.repliesReceived(), 0);
        EXPECT_EQ(pauses.totalPaused(), 9 * 80u + 10 * 70u + 30u + 10 * 50u);
    }
}

TEST_F(RealLink, RefusedConnectShowsMessage150) {
    server.stop();
    EXPECT_EQ(comm.Open(), 0);
    EXPECT_EQ(messages.shown, std::vector<int>{150});
}

TEST(RealSerial, HandshakeOverAPseudoTerminal) {
    sim::Printer printer;
    sim::Server server(printer);
    const std::string path = server.startPty();
    ASSERT_FALSE(path.empty()) << server.error();
    platform::RealClock clock;
    RecordingMessages messages;
    link::CComm comm(platform::systemDevices(), clock, messages);
    comm.portName = "COM3:";
    comm.portMap.set("COM3", path);
    comm.baudRate = 115200;
    comm.dataBits = 8;
    ASSERT_TRUE(app::OpenAndHandshake(comm, clock));
    printer.setStatus("ribbon-end", true);
    comm.WriteText("^cu\r");
    clock.sleepMs(50);
    std::array<std::uint8_t, 1> reply{};
    EXPECT_EQ(comm.ReadBytes(reply.data(), 1), 1);
    EXPECT_EQ(reply[0], 0x04);
    EXPECT_TRUE(messages.shown.empty());
}

}  // namespace
}  // namespace velmora::testing
