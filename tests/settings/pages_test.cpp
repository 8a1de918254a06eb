// The interface, code page, hardware identity and printer information pages against scripted
// replies: their worked examples, messages and pauses, and the lists that send no byte.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/codepage.h"

#include "resources/templates_settings.h"
#include "settings/hardwareinfosetting.h"
#include "settings/languagesetting.h"
#include "settings/printerinfo.h"
#include "settings/serialsetting.h"
#include "support/hex.h"
#include "support/linkfixture.h"
#include "ui/testhost.h"

namespace velmora::testing {
namespace {

using namespace resources;
using namespace settings;
using namespace std::string_literals;

template <class Page>
class OnScript : public ::testing::Test {
  protected:
    void SetUp() override {
        l.comm.portName = "COM1:";
        ASSERT_EQ(l.comm.Open(), 1);
        page.Create();
        l.clock.clearPauses();
    }
    std::size_t pausesOf(unsigned ms) const { return std::ranges::count(l.clock.pauses(), ms); }
    ScriptedLink l;
    ui::TestHost host;
    app::ToolContext ctx{l.comm, l.clock, host};
    Page page{ctx};
};

using SerialPage = OnScript<CSerialSetting>;
using LanguagePage = OnScript<CLanguageSetting>;
using HardwarePage = OnScript<CHardwareInfoSetting>;
using InfoPage = OnScript<CPrinterInfo>;

TEST(SerialByte, DecodeAndEncode) {
    EXPECT_EQ(decodeSerialByte(0x2B), (SerialChoices{1, 1, 0, 1, 0, 1}));
    EXPECT_EQ(decodeSerialByte(0x40)[kBaud], 0);
    EXPECT_EQ(decodeSerialByte(0x60)[kBaud], 2);
    EXPECT_EQ(serialByte({0, 0, 1, 1, 1, 2}), 0x7C);
    EXPECT_EQ(serialByte({1, 1, 0, 0, 0, 0}), 0x03);
}

TEST_F(SerialPage, GetDecodesAndSetWritesSwitchTwoWithoutCr) {
    EXPECT_FALSE(page.control(IDC_NSER_SET).enabled());
    l.script.readScript = {"\x2b"s};
    page.click(IDC_NSER_GET);
    EXPECT_EQ(l.script.written(), "^MBR2,1");
    EXPECT_EQ(page.control(IDC_NSER_BAUD).itemText(page.control(IDC_NSER_BAUD).curSel()), "38400");
    EXPECT_EQ(page.control(IDC_NSER_PARITY_SELECT).curSel(), 0);
    EXPECT_TRUE(page.control(IDC_NSER_SET).enabled());

    page.click(IDC_NSER_DEFAULT);  // the baud list keeps its choice
    EXPECT_EQ(page.control(IDC_NSER_BAUD).curSel(), 1);
    EXPECT_EQ(page.control(IDC_NSER_STOP_BIT).curSel(), 0);

    l.script.writes.clear();
    host.clear();
    for (auto [id, pos] : {std::pair{IDC_NSER_BAUD, 2}, {IDC_NSER_PARITY_SELECT, 1}, {IDC_NSER_PARITY_CHECK, 1},
                           {IDC_NSER_DATA_LENGTH, 1}, {IDC_NSER_STOP_BIT, 0}, {IDC_NSER_HANDSHAKE, 0}})
        page.chooseItem(id, pos);
    page.click(IDC_NSER_SET);
    EXPECT_EQ(hex(l.script.written()), hex("^MBS2,\x7c^MBA\x02\r"));
    EXPECT_EQ(host.messageTexts(), (std::vector<std::string>{"Set serial communication status is successful",
                                                             "Please, turn off the printer and turn on the printer",
                                                             "Please, close application and re-connect printer"}));
}

TEST_F(SerialPage, NoReplyEnablesNothingAndAnEmptyListSendsNothing) {
    page.click(IDC_NSER_GET);
    EXPECT_FALSE(page.control(IDC_NSER_SET).enabled());
    EXPECT_EQ(host.messageTexts(), std::vector<std::string>{"Get serial communication status is failed"});

    l.script.readScript = {"\x00"s};
    page.click(IDC_NSER_GET);
    page.chooseItem(IDC_NSER_PARITY_CHECK, -1);
    l.script.writes.clear();
    host.clear();
    page.click(IDC_NSER_SET);
    EXPECT_TRUE(l.script.writes.empty());
    EXPECT_EQ(host.messageTexts(), std::vector<std::string>{"Set serial communication status is failed"});
}

TEST_F(LanguagePage, SetSendsTheLockSequenceAroundTwoStarWrites) {
    l.script.readScript = {"\x01"s, "\x1e"s, "00\x08"s};
    page.click(IDC_LANG_GET);
    EXPECT_EQ(hex(l.script.written()), hex("*MBR1,1*MBR3,1\x1b\x1c/"));
    EXPECT_EQ(page.control(IDC_LANG_CODEPAGE).curSel(), 1);
    EXPECT_EQ(page.control(IDC_LANG_ICS).curSel(), -1);  // 30 is beyond the list
    EXPECT_TRUE(page.control(IDC_LANG_LOCK).checked());
    EXPECT_EQ(pausesOf(50), 3u);

    l.script.writes.clear();
    page.chooseItem(IDC_LANG_ICS, 2);
    page.click(IDC_LANG_SET);
    const std::vector<std::string> expected = {"\x1b\x1c\x1f\x00\x08"s, "*MBS1,\x01"s, "*MBA\x01\r"s,
                                               "*MBS3,\x02"s, "*MBA\x03\r"s, "\x1b\x1c\x1f\x01\x08"s};
    ASSERT_EQ(l.script.writes.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(hex(l.script.writes[i]), hex(expected[i]));
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(LanguagePage, SilentPrinterLeavesNoChoiceAndNoByteIsWritten) {
    page.control(IDC_LANG_LOCK).setCheck(1);
    // Each read tries three times before it gives up.
    l.script.readScript = {"", "", "", "", "", "", "\x01"s};
    page.click(IDC_LANG_GET);
    EXPECT_TRUE(page.control(IDC_LANG_SET).enabled());
    EXPECT_FALSE(page.control(IDC_LANG_LOCK).checked());  // a short lock reply reads as zeros
    l.script.writes.clear();
    page.click(IDC_LANG_SET);
    EXPECT_EQ(l.script.writes, (std::vector<std::string>{"\x1b\x1c\x1f\x00\x08"s, "\x1b\x1c\x1f\x00\x08"s}));
}

TEST_F(LanguagePage, UsbReadsAskForTheUsbDigit) {
    l.comm.kind = link::kUsb;
    l.comm.portName = "USB";
    l.script.writes.clear();
    page.click(IDC_LANG_GET);
    EXPECT_NE(l.script.written().find("*MBR1,3"), std::string::npos);
    EXPECT_NE(l.script.written().find("*MBR3,3"), std::string::npos);
}

TEST_F(HardwarePage, GetsSetsAndInitializeWaitTheirTimes) {
    l.script.readScript = {"1.20\r\n", "\r\n", ""};
    page.click(IDC_HW_VERSION_GET);
    page.click(IDC_HW_SERIAL_GET);
    page.click(IDC_HW_ID_GET);
    EXPECT_EQ(l.script.written(), "^MBX0\r\n^MBX1\r^MBX2\r");
    ASSERT_EQ(host.messages.size(), 3u);
    EXPECT_EQ(host.messages[0].text, "H/W version is 1.20.");
    EXPECT_EQ(host.messages[0].caption, "Information");
    EXPECT_EQ(host.messages[0].icon, ui::Icon::Information);
    EXPECT_EQ(host.messages[1].text, "Serial Number is .");
    EXPECT_EQ(host.messages[2].text, "Printer ID is NULL");
    EXPECT_EQ(page.control(IDC_HW_VERSION).text(), "1.20");
    EXPECT_EQ(pausesOf(1000), 1u);

    l.script.writes.clear();
    host.clear();
    l.clock.clearPauses();
    page.click(IDC_HW_ID_INIT);
    page.typeText(IDC_HW_SERIAL, "ABC123");
    page.click(IDC_HW_SERIAL_SET);
    EXPECT_EQ(hex(l.script.written()), hex("^MBY\x0f,2\r\n^MBY1,ABC123\r\n"));
    EXPECT_EQ(pausesOf(CHardwareInfoSetting::kStoreWaitMs), 2u);
    EXPECT_EQ(host.messageTexts(), (std::vector<std::string>{"Initialize printer ID is successful",
                                                             "Set serial number is successful"}));
}

TEST_F(HardwarePage, TextIsHeldToItsLimitInCharactersAndInBytes) {
    page.typeText(IDC_HW_VERSION, "1.234");
    EXPECT_EQ(page.control(IDC_HW_VERSION).text(), "1.23");
    EXPECT_EQ(host.messageTexts(),
              std::vector<std::string>{"Hardware version string can't be more than 4 characters."});
    // Sixteen characters that take more bytes than the command has room for are refused.
    ASSERT_TRUE(platform::setSystemCodePage("UTF-8"));
    host.clear();
    page.typeText(IDC_HW_SERIAL, "ÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄ");
    page.click(IDC_HW_SERIAL_SET);
    platform::setSystemCodePage("WINDOWS-1252");
    EXPECT_TRUE(l.script.writes.empty());
    EXPECT_EQ(host.messageTexts(), std::vector<std::string>{"Serial number string can't be more than 16 characters."});
}

TEST_F(InfoPage, FactsCountersAndTheLastQueryVerdict) {
    l.script.readScript = {"", "", "", "V1.00\r\n", "125\r\n", "4820\r\n", "\r\n", "7", "\r\n", "905\r\n"};
    page.click(IDC_PI_GET);
    EXPECT_EQ(l.script.written(),
              "^PI0\r\n^PI2\r\n^PI3,0,0\r\n^PI3,0,1\r\n^PI3,1,0\r\n^PI3,1,1\r\n^PI3,2,0\r\n^PI3,2,1\r\n");
    EXPECT_EQ(page.control(IDC_PI_MODEL).text(), "");
    EXPECT_EQ(page.control(IDC_PI_FIRMWARE).text(), "V1.00\r\n");
    EXPECT_EQ(page.control(IDC_PI_MOTOR).text(), "125 meter");
    EXPECT_EQ(page.control(IDC_PI_TPH).text(), " meter");
    EXPECT_EQ(page.control(IDC_PI_CUTTER).text(), "0 times");
    EXPECT_EQ(page.control(IDC_PI_CUTTER_PERMANENT).text(), "905 times");
    EXPECT_EQ(host.messageTexts(), std::vector<std::string>{"Get printer information is successful."});
    EXPECT_EQ(pausesOf(40), 8u);

    host.clear();
    l.script.readScript = {"A"};
    page.click(IDC_PI_GET);
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.messages[0].caption, "Warnning");
    EXPECT_EQ(host.messages[0].text, "Get printer information is failed");
    EXPECT_EQ(host.messages[1].text, "Get printer information is failed.");
    EXPECT_EQ(page.control(IDC_PI_MODEL).text(), "");
}

TEST_F(InfoPage, ResetsAndTheUsbSerialNumber) {
    page.click(IDC_PI_INIT_MOTOR);
    page.click(IDC_PI_INIT_TPH);
    page.click(IDC_PI_INIT_CUTTER);
    EXPECT_EQ(l.script.writes, (std::vector<std::string>{"*MBY\x0f\x0c", "*MBY\x0f\x0d", "*MBY\x0f\x0e"}));
    EXPECT_TRUE(host.messages.empty());

    l.script.writes.clear();
    page.typeText(IDC_PI_USB_SERIAL, "123456789012");
    page.click(IDC_PI_USB_SET);
    EXPECT_TRUE(l.script.writes.empty());
    EXPECT_EQ(host.messageTexts(), std::vector<std::string>{"USB Serial Number must be 13 digit number"});
    page.typeText(IDC_PI_USB_SERIAL, "1234567890123");
    page.click(IDC_PI_USB_SET);
    EXPECT_EQ(l.script.writes, std::vector<std::string>{"\x1b\x1c\x1d" "1234567890123\r\n"});
}

}  // namespace
}  // namespace velmora::testing
