// velmora-cli: option parsing, and each command against an in-process simulated printer.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli.h"
#include "support/clirun.h"
#include "support/simdevice.h"

namespace velmora::testing {
namespace {

using cli::CliOptions;

TEST(CliOptions, DefaultsAndConnections) {
    std::string error;
    auto o = cli::parseCliOptions({"connect"}, error);
    ASSERT_TRUE(o);
    EXPECT_EQ(o->connection, CliOptions::Connection::Tcp);
    EXPECT_EQ(o->host, "127.0.0.1");
    EXPECT_EQ(o->port, 9100u);
    EXPECT_EQ(o->baud, 115200u);
    EXPECT_EQ(o->dataBits, 8);

    o = cli::parseCliOptions({"--serial", "/dev/ttyUSB0", "--baud", "9600", "--data-bits", "7", "--parity",
                              "even", "--stop-bits", "1.5", "status", "--cu"},
                             error);
    ASSERT_TRUE(o) << error;
    EXPECT_EQ(o->connection, CliOptions::Connection::Serial);
    EXPECT_EQ(o->baud, 9600u);
    EXPECT_EQ(o->parity, 2);
    EXPECT_EQ(o->stopBits, 1);
    EXPECT_EQ(o->command, (std::vector<std::string>{"status", "--cu"}));

    o = cli::parseCliOptions({"--tcp", "printer.local", "connect"}, error);
    ASSERT_TRUE(o);
    EXPECT_EQ(o->host, "printer.local");
    EXPECT_EQ(o->port, 9100u);
}

TEST(CliOptions, UsageErrors) {
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"frobnicate"},
        {"--baud", "1200", "connect"},
        {"--parity", "mark", "connect"},
        {"--tcp", "h:0", "connect"},
        {"--tcp", "h:99999", "connect"},
        {"--tcp", "a", "--usb", "connect"},
        {"--timeout", "soon", "connect"},
        {"status", "--cx"},
        {"read", "0"},
        {"send"},
        {"connect", "extra"},
        {"--serial"},
    };
    for (const auto& args : bad) {
        std::string error;
        EXPECT_FALSE(cli::parseCliOptions(args, error)) << (args.empty() ? "" : args[0]);
        EXPECT_FALSE(error.empty());
    }
}

TEST_F(CliRun, ConnectRunsTheHandshakeAndReportsSuccess) {
    EXPECT_EQ(run({"connect"}), cli::kExitOk);
    EXPECT_EQ(err.str(), "Velmora: Success open port.\n");
    EXPECT_EQ(printer.journal().tail(), "^cp\r");
    // The handshake waits 50 ms after its query, plus the pause that follows every network send.
    EXPECT_EQ(clock.totalPaused(), 100u);
}

TEST_F(CliRun, SilentPrinterFailsTheHandshake) {
    printer.setSilent(true);
    EXPECT_EQ(run({"status"}), cli::kExitFailure);
    EXPECT_EQ(err.str(), "Velmora: Cannot open port! Please check printer and cable.\n");
    EXPECT_EQ(out.str(), "");
}

TEST_F(CliRun, StatusPrintsTheTickedBoxes) {
    printer.setStatus("paper-empty", true);
    printer.setStatus("printing-label", true);
    EXPECT_EQ(run({"status"}), cli::kExitOk);
    EXPECT_EQ(out.str(), "Paper Empty\nOn Printing label\n");
    EXPECT_EQ(run({"status", "--cu"}), cli::kExitOk);
    EXPECT_EQ(out.str(), "Paper Empty\n");
    printer.setStatusBytes(0, 0);
    EXPECT_EQ(run({"status"}), cli::kExitOk);
    EXPECT_EQ(out.str(), "Status OK\n");
}

TEST_F(CliRun, SendDecodesEscapesAndReadPrintsHex) {
    EXPECT_EQ(run({"send", "A\\x1b\\r\\n\\\\z\\q"}), cli::kExitOk);
    EXPECT_EQ(printer.journal().tail(), "^cp\rA\x1b\r\n\\z\\q");

    // The handshake's reply is consumed by the handshake; a query sent now is read back.
    EXPECT_EQ(run({"read", "4"}), cli::kExitFailure);
    EXPECT_EQ(err.str(), "velmora-cli: the printer sent nothing\n");
}

TEST_F(CliRun, UsageErrorsSendNothing) {
    EXPECT_EQ(run({"read", "x"}), cli::kExitUsage);
    EXPECT_EQ(run({"--codepage", "NO-SUCH-CODEPAGE", "connect"}), cli::kExitUsage);
    EXPECT_EQ(printer.journal().totalBytes(), 0u);
}

}  // namespace
}  // namespace velmora::testing
