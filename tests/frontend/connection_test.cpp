// The connection both programs take: only connection options, one connection at most, and the
// port object set up for it.
#include <gtest/gtest.h>

#include "frontend/connection.h"
#include "support/linkfixture.h"

namespace velmora::testing {
namespace {

using frontend::ConnectionOptions;

TEST(Connection, TakesConnectionOptionsOnly) {
    const struct {
        std::vector<std::string> args;
        const char* error;  // nullptr: accepted
    } cases[] = {
        {{}, nullptr},
        {{"--tcp", "[::1]:9101", "--timeout", "250"}, nullptr},
        {{"--serial", "/dev/ttyUSB0", "--baud", "9600", "--parity", "odd"}, nullptr},
        {{"--lpt", "/dev/lp0"}, nullptr},
        {{"--usb"}, nullptr},
        {{"--tcp", "a", "--usb"}, "give one connection only"},
        {{"--codepage", "CP850"}, "unknown option --codepage"},  // the window would ignore it unseen
        {{"--json"}, "unknown option --json"},
        {{"status"}, "unexpected status"},
        {{"--baud", "1200"}, "--baud takes"},
        {{"--serial"}, "--serial needs a value"},
    };
    for (const auto& c : cases) {
        std::string error;
        const auto options = frontend::parseConnection(c.args, error);
        EXPECT_EQ(options.has_value(), c.error == nullptr) << (c.args.empty() ? "" : c.args[0]) << ": " << error;
        if (c.error) {
            EXPECT_NE(error.find(c.error), std::string::npos) << error;
        }
    }
}

TEST(Connection, SetsThePortObjectUp) {
    std::string error;
    ScriptedLink l;
    frontend::configureLink(l.comm, *frontend::parseConnection({"--tcp", "10.0.0.7:9101", "--timeout", "250"}, error));
    EXPECT_EQ(l.comm.portName, "ETHERNET");
    EXPECT_EQ(l.comm.socket.address, "10.0.0.7");
    EXPECT_EQ(l.comm.socket.port, 9101u);
    EXPECT_EQ(l.comm.socket.timeouts.connectMs, 250u);

    frontend::configureLink(l.comm, *frontend::parseConnection({"--serial", "/dev/ttyUSB3", "--data-bits", "7",
                                                                 "--stop-bits", "2"}, error));
    EXPECT_EQ(l.comm.portName, "COM1:");
    EXPECT_EQ(l.comm.portMap.devicePath("COM1:"), "/dev/ttyUSB3");
    EXPECT_EQ(l.comm.dataBits, 7);
    EXPECT_EQ(l.comm.stopBits, 2);
}

}  // namespace
}  // namespace velmora::testing
