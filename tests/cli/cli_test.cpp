// velmora-cli: option parsing, and each command against an in-process simulated printer.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/cli.h"
#include "support/clirun.h"
#include "support/scripteddevice.h"
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

    const struct {
        const char* tcp;
        const char* host;
        unsigned port;
    } addresses[] = {
        {"printer.local", "printer.local", 9100}, {"10.0.0.7:9101", "10.0.0.7", 9101},
        {"[::1]:9102", "::1", 9102},              {"[fe80::1%eth0]", "fe80::1%eth0", 9100},
        {"::1", "::1", 9100},
    };
    for (const auto& a : addresses) {
        o = cli::parseCliOptions({"--tcp", a.tcp, "connect"}, error);
        ASSERT_TRUE(o) << a.tcp << ": " << error;
        EXPECT_EQ(o->host, a.host);
        EXPECT_EQ(o->port, a.port);
    }
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
        {"--serial", "", "connect"},
        {"--lpt", "", "connect"},
        {"--tcp", "[::1", "connect"},
        {"--tcp", "[::1]9100", "connect"},
        {"--tcp", "[]:9100", "connect"},
        {"--codepage", "UTF-16", "connect"},
        {"--codepage", "NO-SUCH-CODEPAGE", "connect"},
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

// A status query that gets no reply shows its message and prints nothing: no made-up "Status OK".
TEST(CliScripted, StatusWithoutAReplyPrintsNothing) {
    ScriptedFactory factory;
    factory.prepareSocket = [](ScriptedSocket& s) { s.receiveScript = {"AB", "", ""}; };
    platform::TestClock clock;
    std::ostringstream out, err;
    EXPECT_EQ(cli::runCli({"status"}, out, err, factory, clock), cli::kExitFailure);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(err.str(), "Velmora: Status Data Read Fail!\n");
}

// A serial port the user may not open: the advice names the group of serial ports, not lp.
TEST(CliScripted, RefusedSerialPortAdviceNamesDialout) {
    ScriptedFactory factory;
    factory.script.refusedPaths = {{"/nonexistent/ttyUSB9", EACCES}};
    platform::TestClock clock;
    std::ostringstream out, err;
    EXPECT_EQ(cli::runCli({"--serial", "/nonexistent/ttyUSB9", "connect"}, out, err, factory, clock),
              cli::kExitFailure);
    EXPECT_NE(err.str().find("join the group dialout"), std::string::npos) << err.str();
}

TEST_F(CliRun, SendRefusesTextTheCodePageCannotHold) {
    EXPECT_EQ(run({"send", "caf\xC3\xA9 \xE6\x97\xA5"}), cli::kExitUsage);  // café 日
    EXPECT_EQ(err.str(), "velmora-cli: code page WINDOWS-1252 cannot hold 1 character(s) of the text; nothing was sent\n");
    EXPECT_EQ(printer.journal().tail(), "^cp\r");
    EXPECT_EQ(run({"send", "caf\xC3\xA9\xC2\x81"}), cli::kExitOk);  // U+0081 is byte 81
    EXPECT_EQ(printer.journal().tail(), "^cp\r^cp\rcaf\xE9\x81");  // each run checks first
}

// Every command that sends typed text refuses a character the code page lacks the same way,
// instead of sending "?" in its place.
TEST_F(CliRun, EveryTextCommandRefusesWhatTheCodePageCannotHold) {
    const std::string zhe = "\xD0\x96";  // Ж
    const auto file = std::filesystem::temp_directory_path() / ("velmora-zhe-" + std::to_string(::getpid()));
    std::ofstream(file, std::ios::binary) << std::string("\xFF\xFE\x16\x04", 4);  // Ж in UTF-16
    const std::vector<std::vector<std::string>> commands = {
        {"tester", "send", "--text", zhe},
        {"tester", "send", file.string()},
        {"terminal", "send", "--text", zhe},
        {"terminal", "send", file.string()},
        {"identity", "set", "id=" + zhe},
        {"info", "usb-serial", "123456789012" + zhe},
        {"build", "text", "text=" + zhe, "--test-print"},
    };
    for (const auto& args : commands) {
        printer.journal().clear();
        EXPECT_EQ(run(args), cli::kExitUsage) << args[0] << " " << args[2] << err.str();
        EXPECT_NE(err.str().find("code page WINDOWS-1252 cannot hold 1 character(s) of the text; nothing was sent"),
                  std::string::npos)
            << err.str();
        EXPECT_EQ(printer.journal().tail(), "^cp\r") << args[0] << " " << args[2];
    }
    std::filesystem::remove(file);
}

// Output that cannot be written is a failure, whatever the command did.
TEST_F(CliRun, OutputThatCannotBeWrittenFails) {
    std::ostream broken(nullptr);  // every write fails, as on a full disk
    EXPECT_EQ(cli::runCli({"--help"}, broken, err, factory, clock), cli::kExitFailure);
    EXPECT_EQ(cli::runCli({"status"}, broken, err, factory, clock), cli::kExitFailure);
    EXPECT_NE(err.str().find("cannot write the output"), std::string::npos);
}

}  // namespace
}  // namespace velmora::testing
