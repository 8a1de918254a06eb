// The RFID operations on a scripted printer: which replies are values, the late answer, the
// encoder that is not there, and the bytes of a checked tag write.
#include <gtest/gtest.h>

#include "app/settingspage.h"
#include "profile/pageprovider.h"
#include "resources/messages.h"
#include "rfid/rfidsettings.h"
#include "rfid/rfidtagops.h"
#include "support/linkfixture.h"

namespace velmora::testing {
namespace {

using namespace rfid;

class RfidOps : public ::testing::Test {
protected:
    void SetUp() override {
        l.comm.portName = "COM1:";
        ASSERT_EQ(l.comm.Open(), 1);
    }
    ScriptedLink l;
};

TEST(RfidReplies, OnlyRepliesOfTheKeysFormAreValues) {
    struct Case {
        const char* key;
        std::optional<std::string> reply;
        bool valid;
        const char* text;
    };
    const Case cases[] = {
        {"tag-type", "GEN2", true, "GEN2"},  {"tag-type", "ISO-B\r", true, "ISO-B"},
        {"tag-type", "GEN2xyz", false, "GEN2"},  // what the dialog shows, but no list entry
        {"power", " 31\r", true, "31"},     {"power", "0", false, ""},
        {"position", "600  \r", true, "600"}, {"position", "10000", true, "10000"},
        {"position", "99999999999", false, "99999999999"},
        {"valid", "0000000000000017", true, "0000000000000017"}, {"void", std::nullopt, false, ""},
    };
    for (const auto& c : cases) {
        const app::ReadValue v = encoderValue(*findEncoderKey(c.key), c.reply);
        EXPECT_EQ(v.valid, c.valid) << c.key << " " << c.reply.value_or("(none)");
        EXPECT_EQ(v.text, c.text) << c.key << " " << c.reply.value_or("(none)");
        EXPECT_EQ(v.replied, c.reply.has_value());
    }
}

TEST_F(RfidOps, AReplyAfterASilentQueryIsNotTaken) {
    // The power's reply comes late, when the position is asked (a serial read tries three times).
    l.script.readScript = {"GEN2", "", "", "", "8", "600"};
    const app::Outcome got = getEncoderSettings(l.comm, l.clock, {"tag-type", "power", "position"});
    ASSERT_EQ(got.values.size(), 3u);
    EXPECT_TRUE(got.values[0].valid);
    EXPECT_FALSE(got.values[1].replied);
    EXPECT_FALSE(got.values[2].valid);
    EXPECT_NE(got.values[2].why.find("late"), std::string::npos);
    EXPECT_EQ(got.result.messageId, msg::kRfidGetFailed);
    EXPECT_EQ(l.script.written(), ">RFI,1\r>RFI,2\r>RFI,3\r");
}

TEST_F(RfidOps, APrinterWithoutAnEncoderHasNoSection) {
    auto page = profile::pageProvider(*app::findSettingsPage("rfid"), l.comm, l.clock);
    EXPECT_FALSE(page->read().has_value());
    EXPECT_EQ(l.script.written(), ">RFI,1\r>RFI,2\r>RFI,3\r>RFI,4\r>RFI,5\r>RFI,6\r>RFI,7\r");
    EXPECT_NE(page->check("valid", "0"), "");  // counters are read, not set
}

TEST_F(RfidOps, ACheckedWriteAsksForTheVoidCounterAroundTheSeries) {
    TagWriteRequest r;
    r.tagKind = 0;
    r.unlock = true;
    r.data = true;
    r.start = 4;
    r.cells = {"30", "08"};
    r.lock = 1u << 19;
    r.confirmByVoidCounter = true;
    const std::string series = ">RFI,7\r>RFUL\r>RFW,H,4,2,'3008'\r>RFLP,L,'80,00,00'\rP1\r>RFI,7\r";
    struct Case {
        std::vector<std::optional<std::string>> counts;
        bool done;
        std::string sent;
    };
    const Case cases[] = {
        {{"3", "3"}, true, series},
        {{"3", "4"}, false, series},
        {{"3", "z"}, false, series},
        {{"z"}, false, ">RFI,7\r"},  // no count to compare with: no write
    };
    for (const auto& c : cases) {
        l.script.writes.clear();
        l.script.readScript.assign(c.counts.begin(), c.counts.end());
        const app::Outcome wrote = writeTag(l.comm, l.clock, r);
        EXPECT_EQ(wrote.done(), c.done) << *c.counts.back();
        EXPECT_EQ(wrote.result.messageId, c.done ? msg::kRfidWriteOk : msg::kRfidDataFailed);
        EXPECT_EQ(l.script.written(), c.sent);
    }
}

}  // namespace
}  // namespace velmora::testing
