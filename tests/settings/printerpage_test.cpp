// The print and page settings page: its enable rules, the bytes of each Set and Get, the decode
// tables, the messages, and the choices that never become a byte.
#include <gtest/gtest.h>

#include "resources/stringtable.h"
#include "resources/templates_settings.h"
#include "settings/printerpagesetting.h"
#include "support/hex.h"
#include "support/linkfixture.h"
#include "ui/testhost.h"

namespace velmora::testing {
namespace {

using namespace resources;
using namespace std::string_literals;
using settings::CPrinterPageSetting;

class PrinterPage : public ::testing::Test {
  protected:
    void SetUp() override {
        l.comm.portName = "COM1:";
        ASSERT_EQ(l.comm.Open(), 1);
        page.Create();
        l.clock.clearPauses();
    }
    ScriptedLink l;
    ui::TestHost host;
    app::ToolContext ctx{l.comm, l.clock, host};
    CPrinterPageSetting page{ctx};
};

TEST(PrinterPageTables, SwitchBytesAndDecoding) {
    EXPECT_EQ(settings::strobeByte(1), 0x40);
    EXPECT_EQ(settings::strobeByte(2), 0x80);
    EXPECT_EQ(settings::gapDetectByte(1), 0x20);
    EXPECT_EQ(settings::speedByte(6), 0xC0);
    EXPECT_EQ(settings::speedByte(0), 0x00);
    EXPECT_EQ(settings::decodeSpeed(0x65), 3);
    EXPECT_EQ(settings::decodeSpeed(0xE0), 0);
    EXPECT_EQ(settings::decodeSpeed(0x1F), 0);
    EXPECT_EQ(settings::decodeStrobe(0x40), 1);
    EXPECT_EQ(settings::decodeStrobe(0x60), std::nullopt);  // strobe and gap bits: neither
    EXPECT_EQ(settings::decodeGapDetect(0x60), std::nullopt);
    EXPECT_EQ(settings::decodeGapDetect(0x20), 1);
}

TEST_F(PrinterPage, StartsWithOnlyGetsInitializeAndLabelLengthCheck) {
    for (const auto& row : CPrinterPageSetting::kRows) {
        EXPECT_FALSE(page.control(row.editId).enabled());
        EXPECT_TRUE(page.control(row.getId).enabled());
        EXPECT_FALSE(page.control(row.getId + 1).enabled());
        EXPECT_EQ(page.control(row.editId).text(), "0");
    }
    for (int id : {IDC_PP_STROBE_2, IDC_PP_SPEED, IDC_PP_OFFSET_NEG, IDC_PP_GAP_DETECT, IDC_PP_SPEED_SET})
        EXPECT_FALSE(page.control(id).enabled()) << id;
    for (int id : {IDC_PP_LLC_DISABLE, IDC_PP_LLC_ENABLE, IDC_PP_LLC_SET, IDC_PP_INITIALIZE})
        EXPECT_TRUE(page.control(id).enabled()) << id;
    EXPECT_FALSE(page.control(IDC_PP_DENSITY_SPIN).visible());
    EXPECT_EQ(page.control(IDC_PP_GAP_DETECT).items(),
              (std::vector<std::string>{"Lower Position of Gap", "Upper Position of Gap"}));
    EXPECT_EQ(page.control(IDC_PP_GAP_DETECT).curSel(), 0);
    EXPECT_EQ(page.control(IDC_PP_SPEED).curSel(), -1);
    EXPECT_TRUE(page.control(IDC_PP_LLC_DISABLE).checked());
}

TEST_F(PrinterPage, NumericGetFillsTheBoxAndItsSet) {
    l.script.readScript = {"2000\r\n", "\r\n", ""};
    page.click(IDC_PP_WIDTH_GET);
    EXPECT_EQ(l.script.written(), "^PI5,0\r\n");
    EXPECT_EQ(page.control(IDC_PP_WIDTH).text(), "2000");
    // Out of range: the framework names it, the Get still succeeded.
    EXPECT_EQ(host.messageTexts(),
              (std::vector<std::string>{"Enter an integer between 0 and 832.", "Getting paper width is successful"}));
    EXPECT_TRUE(page.control(IDC_PP_WIDTH_SET).enabled());

    host.clear();
    page.typeText(IDC_PP_WIDTH, "0");
    page.click(IDC_PP_DENSITY_GET);
    EXPECT_EQ(page.control(IDC_PP_DENSITY).text(), "0");  // a bare line end reads as 0
    EXPECT_EQ(host.messageTexts(), std::vector<std::string>{"Getting print density is successful"});

    host.clear();
    page.click(IDC_PP_LENGTH_GET);
    EXPECT_EQ(host.messageTexts(), std::vector<std::string>{"Getting paper length is failed"});
    EXPECT_FALSE(page.control(IDC_PP_LENGTH_SET).enabled());
    EXPECT_FALSE(page.control(IDC_PP_LENGTH).enabled());
}

TEST_F(PrinterPage, NumericSetValidatesTheWholePage) {
    l.script.readScript = {"812\r\n", "24\r\n"};
    page.click(IDC_PP_WIDTH_GET);
    page.click(IDC_PP_GAP_LENGTH_GET);
    l.script.writes.clear();
    host.clear();

    page.typeText(IDC_PP_WIDTH, "900");
    page.click(IDC_PP_WIDTH_SET);
    EXPECT_EQ(host.messageTexts(), std::vector<std::string>{"Enter an integer between 0 and 832."});
    page.click(IDC_PP_GAP_LENGTH_SET);  // another row's bad value blocks this Set too
    EXPECT_TRUE(l.script.writes.empty());

    host.clear();
    page.typeText(IDC_PP_WIDTH, "832");
    page.typeText(IDC_PP_GAP_LENGTH, "-5");
    page.click(IDC_PP_GAP_LENGTH_SET);
    page.click(IDC_PP_WIDTH_SET);
    EXPECT_EQ(l.script.writes, (std::vector<std::string>{"^MBU5,-5\r", "^MBU0,832\r"}));
    EXPECT_EQ(host.messageTexts(), (std::vector<std::string>{"Setting gap length is successful",
                                                             "Setting paper width is successful"}));
}

TEST_F(PrinterPage, SwitchSetsSendTheirOwnBitsThenTheCommit) {
    l.script.readScript = {"\x40"s, "\x20"s, "\x65"s};
    page.click(IDC_PP_STROBE_GET);
    EXPECT_EQ(l.script.written(), "^MBR4,1");
    EXPECT_TRUE(page.control(IDC_PP_STROBE_3).checked());
    page.click(IDC_PP_GAP_DETECT_GET);
    EXPECT_EQ(page.control(IDC_PP_GAP_DETECT).curSel(), 1);
    page.click(IDC_PP_SPEED_GET);
    EXPECT_EQ(page.control(IDC_PP_SPEED).curSel(), 3);
    EXPECT_EQ(host.messageTexts(),
              (std::vector<std::string>{"Getting strobe is successful", "Getting gap detect position is successful",
                                        "Getting speed is successful"}));

    l.script.writes.clear();
    host.clear();
    page.click(IDC_PP_STROBE_SET);
    page.click(IDC_PP_GAP_DETECT_SET);
    page.chooseItem(IDC_PP_SPEED, 6);
    page.click(IDC_PP_SPEED_SET);
    const std::vector<std::string> expected = {"^MBS4,\x40\r", "^MBA\x04\r", "^MBS4,\x20\r", "^MBA\x04\r",
                                               "^MBS3,\xc0\r", "^MBA\x03\r"};
    ASSERT_EQ(l.script.writes.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(hex(l.script.writes[i]), hex(expected[i]));
    EXPECT_EQ(host.messageTexts(), (std::vector<std::string>{"Setting strobe is successful",
                                                             "Setting gap detect position is successful",
                                                             "Setting speed is successful"}));
}

TEST_F(PrinterPage, AByteOutsideTheTableLeavesNoChoiceAndNothingIsSent) {
    l.script.readScript = {"\x60"s, "\x60"s};
    page.click(IDC_PP_STROBE_GET);
    page.click(IDC_PP_GAP_DETECT_GET);
    EXPECT_FALSE(page.control(IDC_PP_STROBE_2).checked() || page.control(IDC_PP_STROBE_3).checked() ||
                 page.control(IDC_PP_STROBE_4).checked());
    EXPECT_EQ(page.control(IDC_PP_GAP_DETECT).curSel(), -1);
    EXPECT_TRUE(page.control(IDC_PP_STROBE_SET).enabled());
    l.script.writes.clear();
    host.clear();
    page.click(IDC_PP_STROBE_SET);
    page.click(IDC_PP_GAP_DETECT_SET);
    EXPECT_TRUE(l.script.writes.empty());
    EXPECT_EQ(host.messageTexts(),
              (std::vector<std::string>{"Setting strobe is failed", "Setting gap detect position is failed"}));
}

TEST_F(PrinterPage, FailedValueWriteSendsNoCommit) {
    l.script.readScript = {"\x80"s};
    page.click(IDC_PP_STROBE_GET);
    l.script.writes.clear();
    host.clear();
    l.script.writeScript = {-1, -1, -1, -1};
    page.click(IDC_PP_STROBE_SET);
    EXPECT_EQ(l.script.written(), "");
    EXPECT_EQ(host.messageTexts(), std::vector<std::string>{"Setting strobe is failed"});
    EXPECT_EQ(l.messages.shown, std::vector<int>{111});
}

TEST_F(PrinterPage, SignedGetsReadDigitsOnly) {
    l.script.readScript = {"-012\r\n", "+1x0\r\n", ""};
    page.click(IDC_PP_OFFSET_GET);
    EXPECT_EQ(l.script.written(), "^SA\r\n");
    EXPECT_EQ(page.control(IDC_PP_OFFSET).text(), "12");
    EXPECT_TRUE(page.control(IDC_PP_OFFSET_NEG).checked());
    EXPECT_TRUE(page.control(IDC_PP_OFFSET_SET).enabled());
    page.click(IDC_PP_TEAROFF_GET);
    page.click(IDC_PP_TEAROFF_GET);
    EXPECT_EQ(page.control(IDC_PP_TEAROFF).text(), "0");
    EXPECT_FALSE(page.control(IDC_PP_TEAROFF_SET).enabled());
    EXPECT_EQ(host.messageTexts(),
              (std::vector<std::string>{"Getting offset is successful", "Getting tear-off/cutting position is failed",
                                        "Getting tear-off/cutting position is failed"}));

    l.script.writes.clear();
    page.typeText(IDC_PP_OFFSET, "007");
    page.click(IDC_PP_OFFSET_SET);
    EXPECT_EQ(l.script.writes, std::vector<std::string>{"SA-007\r\n"});  // as typed
}

TEST_F(PrinterPage, ImmediateCommands) {
    page.click(IDC_PP_LLC_ENABLE);
    page.click(IDC_PP_LLC_SET);
    page.click(IDC_PP_LLC_DISABLE);
    page.click(IDC_PP_LLC_SET);
    page.click(IDC_PP_INITIALIZE);
    EXPECT_EQ(l.script.writes, (std::vector<std::string>{"^MBL1", "^MBL0", "^MBU\x0f,99\r"}));
    EXPECT_EQ(host.messageTexts(), std::vector<std::string>{"Initialize all user setting data is successful"});
    EXPECT_TRUE(l.clock.pauses().empty());
}

}  // namespace
}  // namespace velmora::testing
