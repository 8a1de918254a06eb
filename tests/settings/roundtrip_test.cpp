// Page -> simulator -> page: each page writes through the in-process simulated printer and reads
// back what it wrote; and the simulator's side of the switch bytes (a value byte that looks like
// a line end or an escape, staged until its commit, both prefixes).
#include <gtest/gtest.h>

#include "resources/templates_settings.h"
#include "settings/hardwareinfosetting.h"
#include "settings/languagesetting.h"
#include "settings/printerinfo.h"
#include "settings/printerpagesetting.h"
#include "settings/serialsetting.h"
#include "sim/parser.h"
#include "support/simdevice.h"
#include "ui/testhost.h"

namespace velmora::testing {
namespace {

using namespace resources;
using namespace settings;
using namespace std::string_literals;

TEST(NativeSim, SwitchValueBytesAreDataAndWaitForTheirCommit) {
    for (char prefix : {'^', '*'}) {
        for (std::uint8_t value : {0x00, 0x0A, 0x0D, 0x1B, 0xFF}) {
            sim::Printer printer;
            sim::Parser parser(printer);
            parser.feed(std::string{prefix} + "MBS3," + static_cast<char>(value) + "\r");
            EXPECT_EQ(printer.native().switches[2], 0x00);  // staged only
            parser.feed(std::string{prefix} + "MBR3,1");
            EXPECT_EQ(parser.takeReplies(), "\0"s);
            parser.feed(std::string{prefix} + "MBA\x03\r");
            parser.feed(std::string{prefix} + "MBR3,2");
            EXPECT_EQ(parser.takeReplies(), std::string(1, static_cast<char>(value))) << int(value);
        }
    }
}

TEST(NativeSim, RepliesOfTheQueries) {
    sim::Printer printer;
    sim::Parser parser(printer);
    struct Case {
        std::string command, reply;
    };
    const Case cases[] = {
        {"^MBU0,400\r^PI5,0\r\n", "400\r\n"},
        {"^MBU0,900\r^PI5,0\r\n", "400\r\n"},  // out of range: kept
        {"^MBU5,-5\r^PI5,2\r\n", "-5\r\n"},
        {"TA-12\r\n^PI4,2\r\n", "-012\r\n"},
        {"SA+7\r\n^SA\r\n", "+007\r\n"},
        {"^MBU\x0f,99\r^PI5,0\r\n^SA\r\n", "812\r\n+000\r\n"},
        {"^MBY2,ABCDEFGHIJ\r\n^MBX2\r", "ABCDEFG\r\n"},
        {"^MBY\x0f,2\r\n^MBX2\r", "VELMORA\r\n"},
        {"*MBY\x0f\x0c^PI3,0,0\r\n^PI3,0,1\r\n", "0\r\n4820\r\n"},
        {"^PI9\r\n", ""},
    };
    for (const auto& c : cases) {
        parser.feed(c.command);
        EXPECT_EQ(parser.takeReplies(), c.reply) << c.command;
    }
    parser.feed("\x1b\x1c\x1d" "1234567890123\r\n^MBL1");
    EXPECT_EQ(printer.native().usbSerial, "1234567890123");
    EXPECT_TRUE(printer.native().labelLengthCheck);
}

TEST(NativeSim, LanguageSwitchesKeepTheirBytesWhileLocked) {
    sim::Printer printer;
    sim::Parser parser(printer);
    parser.feed("\x1b\x1c\x1f\x01\x08*MBS1,\x05*MBA\x01\r*MBS2,\x05*MBA\x02\r"s);
    EXPECT_EQ(printer.native().switches[0], 0x06);
    EXPECT_EQ(printer.native().switches[1], 0x05);
}

class RoundTrip : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(link.comm.Open(), 1); }
    SimLink link;
    ui::TestHost host;
    app::ToolContext ctx{link.comm, link.clock, host};
};

TEST_F(RoundTrip, PrintAndPage) {
    CPrinterPageSetting page(ctx);
    page.Create();
    for (int id : {IDC_PP_WIDTH_GET, IDC_PP_GAP_LENGTH_GET, IDC_PP_STROBE_GET, IDC_PP_SPEED_GET, IDC_PP_OFFSET_GET,
                   IDC_PP_TEAROFF_GET})
        page.click(id);
    page.typeText(IDC_PP_WIDTH, "640");
    page.typeText(IDC_PP_GAP_LENGTH, "-5");
    page.click(IDC_PP_STROBE_4);
    page.chooseItem(IDC_PP_SPEED, 5);
    page.click(IDC_PP_TEAROFF_NEG);
    page.typeText(IDC_PP_TEAROFF, "12");
    for (int id : {IDC_PP_WIDTH_SET, IDC_PP_GAP_LENGTH_SET, IDC_PP_STROBE_SET, IDC_PP_SPEED_SET, IDC_PP_TEAROFF_SET})
        page.click(id);

    CPrinterPageSetting again(ctx);
    again.Create();
    for (int id : {IDC_PP_WIDTH_GET, IDC_PP_GAP_LENGTH_GET, IDC_PP_STROBE_GET, IDC_PP_SPEED_GET, IDC_PP_TEAROFF_GET})
        again.click(id);
    EXPECT_EQ(again.control(IDC_PP_WIDTH).text(), "640");
    EXPECT_EQ(again.control(IDC_PP_GAP_LENGTH).text(), "-5");
    EXPECT_TRUE(again.control(IDC_PP_STROBE_4).checked());
    EXPECT_EQ(again.control(IDC_PP_SPEED).curSel(), 5);
    EXPECT_EQ(again.control(IDC_PP_TEAROFF).text(), "12");
    EXPECT_TRUE(again.control(IDC_PP_TEAROFF_NEG).checked());
    for (const auto& m : host.messages) EXPECT_EQ(m.text.find("failed"), std::string::npos) << m.text;
}

TEST_F(RoundTrip, InterfaceLanguageIdentityAndInformation) {
    CSerialSetting serial(ctx);
    serial.Create();
    serial.click(IDC_NSER_GET);
    serial.chooseItem(IDC_NSER_BAUD, 2);
    serial.chooseItem(IDC_NSER_PARITY_CHECK, 1);
    serial.click(IDC_NSER_SET);
    EXPECT_EQ(link.printer.native().switches[1], 0x68);

    CLanguageSetting language(ctx);
    language.Create();
    language.click(IDC_LANG_GET);
    EXPECT_EQ(language.control(IDC_LANG_CODEPAGE).curSel(), 6);
    language.chooseItem(IDC_LANG_CODEPAGE, 23);
    language.chooseItem(IDC_LANG_ICS, 2);
    language.click(IDC_LANG_LOCK);
    language.click(IDC_LANG_SET);
    CLanguageSetting languageAgain(ctx);
    languageAgain.Create();
    languageAgain.click(IDC_LANG_GET);
    EXPECT_EQ(languageAgain.control(IDC_LANG_CODEPAGE).curSel(), 23);
    EXPECT_EQ(languageAgain.control(IDC_LANG_ICS).curSel(), 2);
    EXPECT_TRUE(languageAgain.control(IDC_LANG_LOCK).checked());

    CHardwareInfoSetting identity(ctx);
    identity.Create();
    identity.typeText(IDC_HW_SERIAL, "ABC123");
    identity.click(IDC_HW_SERIAL_SET);
    identity.click(IDC_HW_SERIAL_GET);
    EXPECT_EQ(identity.control(IDC_HW_SERIAL).text(), "ABC123");

    CPrinterInfo info(ctx);
    info.Create();
    info.click(IDC_PI_INIT_CUTTER);
    info.click(IDC_PI_GET);
    EXPECT_EQ(info.control(IDC_PI_MODEL).text(), "VELMORA SIM\r\n");
    EXPECT_EQ(info.control(IDC_PI_CUTTER).text(), "0 times");
    EXPECT_EQ(info.control(IDC_PI_CUTTER_PERMANENT).text(), "905 times");
    EXPECT_EQ(host.messages.back().text, "Get printer information is successful.");
}

}  // namespace
}  // namespace velmora::testing
