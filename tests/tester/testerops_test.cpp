// The tester's operations: Multi Send's steps and its stop at a failed write, an empty text that
// is all sent, what a read shows, and the character-set test's refusal of a set no list has.
#include <gtest/gtest.h>

#include "support/linkfixture.h"
#include "tester/testerops.h"
#include "tester/twobyteops.h"

namespace velmora::testing {
namespace {

class TesterOps : public ::testing::Test {
protected:
    void connect(const std::string& port) {
        l.comm.portName = port;
        if (port == "ETHERNET") l.comm.socket.SetTarget("127.0.0.1", 9100);
        ASSERT_NE(l.comm.Open(), 0);
        l.script.writes.clear();
    }
    std::string written(const app::Outcome& o, const std::string& key) {
        for (const auto& [k, v] : o.written)
            if (k == key) return v;
        return "(none)";
    }
    ScriptedLink l;
};

TEST_F(TesterOps, MultiSendCountsEachSendAndStopsAtTheFirstFailure) {
    struct Case {
        std::string port;
        std::string text;
        int count;
        std::deque<long> writeScript;
        std::vector<std::size_t> steps;
        bool done;
        std::string sends;
    };
    const Case cases[] = {
        {"COM1:", "SW812\r\n", 3, {}, {1, 2, 3}, true, "3"},
        {"COM1:", "SW812\r\n", 0, {}, {}, true, "0"},
        {"COM1:", "SW812\r\n", 3, {7, -1, -1, -1, -1}, {1}, false, "1"},
        // An empty text is all sent, though the network answers a send of nothing with 0.
        {"ETHERNET", "", 2, {}, {1, 2}, true, "2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.port + " " + std::to_string(c.count));
        ScriptedLink fresh;
        fresh.comm.portName = c.port;
        if (c.port == "ETHERNET") fresh.comm.socket.SetTarget("127.0.0.1", 9100);
        ASSERT_NE(fresh.comm.Open(), 0);
        fresh.script.writeScript = c.writeScript;
        std::vector<std::size_t> steps;
        const app::Outcome o = tester::multiSend(fresh.comm, fresh.clock, c.text, c.count, [&](const app::Step& s) {
            EXPECT_EQ(s.total, static_cast<std::size_t>(c.count));
            steps.push_back(s.done);
        });
        EXPECT_EQ(steps, c.steps);
        EXPECT_EQ(o.done(), c.done);
        EXPECT_EQ(written(o, "sends"), c.sends);
        EXPECT_EQ(fresh.messages.shown.size(), c.done ? 0u : 1u);  // one report for the series
    }
}

TEST_F(TesterOps, AReadShowsTheBytesAsTheyCame) {
    connect("COM1:");
    l.script.readScript = {std::string("zz\0\xFF\r", 5)};
    app::Outcome o = tester::readFromPrinter(l.comm);
    ASSERT_TRUE(o.done());
    EXPECT_TRUE(o.values[0].valid);
    EXPECT_EQ(o.values[0].raw, std::string("zz\0\xFF\r", 5));
    o = tester::readFromPrinter(l.comm);  // nothing more came
    EXPECT_FALSE(o.done());
    EXPECT_FALSE(o.values[0].replied);
    EXPECT_FALSE(o.values[0].valid);
}

TEST_F(TesterOps, PrintsRefuseWhatNoListHolds) {
    connect("COM1:");
    for (const int bad : {-1, 16}) {
        tester::CharsetRequest r;
        r.set = bad;
        EXPECT_EQ(tester::printCharsetTest(l.comm, r).result.status, app::Status::Refused);
        r.set = 0;
        r.table = bad + (bad < 0 ? 0 : 9);  // -1 and 25
        EXPECT_EQ(tester::printCharsetTest(l.comm, r).result.status, app::Status::Refused);
    }
    tester::TwoBytePrintRequest chart;
    chart.table = 4;
    EXPECT_EQ(tester::printTwoByteChart(l.comm, chart).result.status, app::Status::Refused);
    EXPECT_TRUE(l.script.writes.empty());
    // A chart says how many labels went and steps once per label.
    chart.table = 0;
    chart.start = chart.end = "B0";
    std::size_t steps = 0;
    const app::Outcome o = tester::printTwoByteChart(l.comm, chart, [&](const app::Step&) { ++steps; });
    EXPECT_EQ(tester::labelsPrinted(o), 1);
    EXPECT_EQ(steps, 1u);
    EXPECT_EQ(written(o, "chart"), std::to_string(l.script.writes[0].size()) + " bytes");
}

}  // namespace
}  // namespace velmora::testing
