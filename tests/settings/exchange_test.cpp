// The native setting vocabulary: switch bytes (the value byte is data whatever it is), the reply
// digit of each link kind, text replies, signed replies, and the commit that waits for its value.
#include <gtest/gtest.h>

#include "settings/settingexchange.h"
#include "support/hex.h"
#include "support/linkfixture.h"

namespace velmora::testing {
namespace {

using namespace settings;
using namespace std::string_literals;

TEST(SettingExchange, CommandBytes) {
    struct Case {
        std::string bytes, expected;
    };
    const Case cases[] = {
        {switchReadBytes('^', 4, link::kSerial), "^MBR4,1"},
        {switchReadBytes('^', 4, link::kUsb), "^MBR4,3"},
        {switchReadBytes('*', 1, link::kParallel), "*MBR1,2"},
        {switchReadBytes('*', 3, link::kEthernet), "*MBR3,2"},
        {switchWriteBytes('^', 4, 0x40, true), "^MBS4,\x40\r"},
        {switchWriteBytes('^', 2, 0x00, false), "^MBS2,\0"s},
        {switchWriteBytes('*', 1, 0x0A, false), "*MBS1,\n"},
        {switchWriteBytes('*', 3, 0x0D, false), "*MBS3,\r"},
        {switchWriteBytes('^', 3, 0x1B, true), "^MBS3,\x1b\r"},
        {commitBytes('^', 4), "^MBA\x04\r"},
        {commitBytes('*', 1), "*MBA\x01\r"},
        {userValueCommand(5, -5), "^MBU5,-5\r"},
        {userValueCommand(0, 812), "^MBU0,812\r"},
        {userValueQuery(5, 0), "^PI5,0\r\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(hex(c.bytes), hex(c.expected));
}

TEST(SettingExchange, TextAndSignedReplies) {
    EXPECT_EQ(normaliseReply("\r\n"), "0");
    EXPECT_EQ(normaliseReply(""), "0");
    EXPECT_EQ(normaliseReply("812\r\n\r"), "812");
    EXPECT_EQ(normaliseReply("8\r12"), "8\r12");
    EXPECT_EQ(trimLineEnd("\n\r\n"), "\n");  // the LF run, then the CR run, nothing more
    EXPECT_EQ(trimLineEnd("17\r\r\n\n"), "17");

    struct Case {
        std::string reply;
        bool valid;
        bool negative;
        int magnitude;
    };
    const Case cases[] = {
        {"-012", true, true, 12},   {"+100\r\n", true, false, 100}, {"0999", true, false, 999},
        {"-12\r\n", false, false, 0}, {"-0a2", false, false, 0},    {"+00", false, false, 0},
        {"", false, false, 0},
    };
    for (const auto& c : cases) {
        const auto v = parseSignedReply(c.reply);
        ASSERT_EQ(v.has_value(), c.valid) << hex(c.reply);
        if (v) {
            EXPECT_EQ(std::pair(v->negative, v->magnitude), std::pair(c.negative, c.magnitude));
        }
    }
}

TEST(SettingExchange, QueryTakesOnlyTheBytesRead) {
    ScriptedLink l;
    l.comm.portName = "COM1:";
    ASSERT_EQ(l.comm.Open(), 1);
    l.script.readScript = {std::string(32, '7'), "12\0" "34"s, ""};
    EXPECT_EQ(queryReply(l.comm, l.clock, "^PI5,0\r\n", 10, 32), std::string(32, '7'));
    EXPECT_EQ(queryReply(l.comm, l.clock, "^PI5,0\r\n", 10, 32), "12");
    EXPECT_EQ(queryReply(l.comm, l.clock, "^PI5,0\r\n", 10, 32), std::nullopt);
}

TEST(SettingExchange, CommitGoesOutOnlyAfterItsValue) {
    ScriptedLink l;
    l.comm.portName = "COM1:";
    ASSERT_EQ(l.comm.Open(), 1);
    l.script.writeScript = {-1, -1, -1, -1};
    EXPECT_EQ(writeSwitch(l.comm, '^', 4, 0x40, true), 0);
    EXPECT_EQ(l.script.written(), "");

    l.script.writes.clear();
    EXPECT_NE(writeSwitch(l.comm, '^', 4, 0x40, true), 0);
    EXPECT_EQ(l.script.writes, (std::vector<std::string>{"^MBS4,\x40\r", "^MBA\x04\r"}));

    // A failed commit fails the whole write, though the value went out.
    l.script.writes.clear();
    l.script.writeScript = {7, -1, -1, -1, -1};
    EXPECT_EQ(writeSwitch(l.comm, '^', 2, 0x2B, false), 0);
    EXPECT_EQ(l.script.written(), "^MBS2,\x2b");
}

}  // namespace
}  // namespace velmora::testing
