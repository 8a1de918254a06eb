// The status query as an operation: which replies are valid (a whole reply, no unknown bits, not
// after a short one), what the value says, the step before the second read, and a failed write.
#include <gtest/gtest.h>

#include <deque>
#include <optional>

#include "status/statusops.h"
#include "support/linkfixture.h"

namespace velmora::testing {
namespace {

using status::cpQuery;
using status::cuQuery;

class StatusOps : public ::testing::Test {
protected:
    void SetUp() override {
        l.comm.portName = "COM1:";
        l.comm.baudRate = 115200;
        ASSERT_EQ(l.comm.Open(), 1);
    }
    ScriptedLink l;
};

TEST_F(StatusOps, WhatMakesAReplyValid) {
    const std::string silent[] = {"", "", ""};  // one read that gets nothing (a serial read tries three times)
    struct Case {
        const status::StatusQuery& query;
        std::deque<std::optional<std::string>> reads;
        bool valid;
        std::string text;
        int messageId;
        int steps;
    };
    const Case cases[] = {
        {cpQuery(), {std::string("\x80\x40", 2)}, true, "Paper Empty, On Printing label", 0, 0},
        {cpQuery(), {std::string("\x00\x00", 2)}, true, "Status OK", 0, 0},
        {cuQuery(), {std::string("\x24", 1)}, true, "Cutter jammed, Ribbon End Error", 0, 0},
        // Bits no status has: nonsense, however many known bits stand beside them.
        {cpQuery(), {std::string("\x01\x00", 2)}, false, "", 0, 0},
        {cpQuery(), {std::string("\x00\x10", 2)}, false, "", 0, 0},
        {cpQuery(), {"zz"}, false, "Cover Open, Cutter jammed, Thermal Head overheat, Gap Detection Error, "
                                   "On Printing label, Issued label is paused", 0, 0},
        {cuQuery(), {"z"}, false, "Cover Open, Cutter jammed, Thermal Head overheat, Gap Detection Error", 0, 0},
        // No whole reply, or one that may be the rest of a short one.
        {cpQuery(), {}, false, "", 112, 1},
        {cpQuery(), {std::string("\x80", 1)}, false, "", 112, 1},
        {cpQuery(), {std::string("\x80", 1), std::string("\x40", 1)}, false, "", 112, 1},
        {cpQuery(), {std::string("\x80", 1), std::string("\x80\x00", 2)}, false, "Paper Empty", 112, 1},
        // A reply that was only late is this query's.
        {cpQuery(), {silent[0], silent[1], silent[2], std::string("\x80\x00", 2)}, true, "Paper Empty", 0, 1},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(n++);
        l.script.readScript = c.reads;
        int steps = 0;
        const app::Outcome o = status::queryStatus(l.comm, l.clock, c.query, [&](const app::Step& s) {
            EXPECT_EQ(s.kind, app::Step::Kind::ValueRead);
            ++steps;
        });
        ASSERT_EQ(o.values.size(), 1u);
        EXPECT_EQ(o.values[0].valid, c.valid) << o.values[0].why;
        EXPECT_EQ(o.values[0].valid, o.values[0].why.empty());
        EXPECT_EQ(o.values[0].text, c.text);
        EXPECT_EQ(o.done(), c.valid);
        EXPECT_EQ(o.result.messageId, c.messageId);
        EXPECT_EQ(steps, c.steps);
    }
}

TEST_F(StatusOps, AFailedQueryReadsNothing) {
    l.script.writeScript = {-1, -1, -1, -1};
    l.script.readScript = {std::string("\x00\x00", 2)};
    const app::Outcome o = status::queryStatus(l.comm, l.clock, cpQuery());
    EXPECT_FALSE(o.done());
    EXPECT_TRUE(o.values.empty());
    EXPECT_EQ(l.script.reads, 0);
    EXPECT_EQ(l.messages.shown, std::vector<int>{111});
}

}  // namespace
}  // namespace velmora::testing
