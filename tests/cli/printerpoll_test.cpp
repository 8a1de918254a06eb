// One poll of the status monitor against the in-process simulator: what a printer that answers,
// one that is silent, one that answers nonsense and one that cannot be reached leave in the
// reading. A value whose reply was not valid is never there.
#include "cli/printerpoll.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "support/scripteddevice.h"
#include "support/simdevice.h"

namespace velmora::testing {
namespace {

cli::CliOptions tcpPrinter() {
    cli::CliOptions o;
    o.host = "10.0.0.7";
    return o;
}

TEST(PrinterPoll, AnsweringPrinterGivesItsBitsCountersAndIdentity) {
    sim::Printer printer;
    printer.setStatus("paper-empty", true);
    printer.setStatus("paused", true);
    printer.editNative([](sim::NativeState& n) { n.counters[sim::kCutterCounter] = {12, 3456}; });
    SimFactory devices(printer);
    platform::TestClock clock;

    const fleet::PollReading r = cli::pollPrinter(tcpPrinter(), {true, true}, devices, clock);
    ASSERT_TRUE(r.up) << r.why;
    ASSERT_TRUE(r.statusValid);
    std::vector<std::string> set;
    for (const auto& f : r.flags)
        if (f.set) set.push_back(f.name);
    EXPECT_EQ(r.flags.size(), 9u);
    EXPECT_EQ(set, (std::vector<std::string>{"paper-empty", "paused"}));
    ASSERT_EQ(r.counters.size(), 6u);
    EXPECT_EQ(r.counters[0].name, "motor");
    EXPECT_EQ(r.counters[0].unit, "meter");
    EXPECT_EQ(r.counters[0].value, 125u);
    EXPECT_EQ(r.counters[5].name, "cutter-permanent");
    EXPECT_EQ(r.counters[5].unit, "times");
    EXPECT_EQ(r.counters[5].value, 3456u);
    EXPECT_EQ(r.model, "VELMORA SIM");
    EXPECT_EQ(r.firmware, "V1.00");
    EXPECT_GT(r.took.count(), 0);  // the protocol's pauses, on the test clock

    // What the watch does not want is not asked.
    printer.journal().clear();
    const fleet::PollReading bare = cli::pollPrinter(tcpPrinter(), {false, false}, devices, clock);
    EXPECT_TRUE(bare.up);
    EXPECT_FALSE(bare.model);
    EXPECT_TRUE(bare.counters.empty());
    EXPECT_EQ(printer.journal().tail(), "^cp\r");
}

TEST(PrinterPoll, FaultsLeaveNoValueThatCannotBeTrusted) {
    struct Case {
        const char* what;
        sim::Faults faults;
        bool up;
        const char* why;  // part of it
    };
    const Case cases[] = {
        {"silent", {.silent = true}, false, "no answer to the status query"},
        {"short replies", {.shortReplies = true}, false, "no whole reply to the status query"},
        {"garbage", {.garbage = true}, true, "bits that no status has: 7A 7A"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        sim::Printer printer;
        printer.setFaults(c.faults);
        SimFactory devices(printer);
        platform::TestClock clock;
        const fleet::PollReading r = cli::pollPrinter(tcpPrinter(), {true, true}, devices, clock);
        EXPECT_EQ(r.up, c.up);
        EXPECT_FALSE(r.statusValid);
        EXPECT_TRUE(r.flags.empty());
        EXPECT_TRUE(r.counters.empty());
        EXPECT_FALSE(r.model);
        EXPECT_NE(r.why.find(c.why), std::string::npos) << r.why;
    }
}

TEST(PrinterPoll, APrinterThatCannotBeReachedSaysWhy) {
    ScriptedFactory devices;
    devices.prepareSocket = [](ScriptedSocket& s) {
        s.connectResult = platform::StreamSocket::ConnectResult::ConnectFailed;
        s.connectErrno = ECONNREFUSED;
    };
    devices.script.refusedPaths["/dev/ttyUSB9"] = EACCES;
    platform::TestClock clock;
    EXPECT_EQ(cli::pollPrinter(tcpPrinter(), {}, devices, clock).why, "cannot connect: Connection refused");
    cli::CliOptions serial;
    serial.connection = cli::CliOptions::Connection::Serial;
    serial.device = "/dev/ttyUSB9";
    const fleet::PollReading r = cli::pollPrinter(serial, {}, devices, clock);
    EXPECT_FALSE(r.up);
    EXPECT_EQ(r.why, "cannot open /dev/ttyUSB9: Permission denied");
}

}  // namespace
}  // namespace velmora::testing
