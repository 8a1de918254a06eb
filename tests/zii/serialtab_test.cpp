// The ZII serial interface page: reading the serial-settings reply (skipped text and fields,
// unknown values), the query and its pauses, "Default Setting", and the "^SC" Set with its
// messages, including the refusal when a list has no selection.
#include <gtest/gtest.h>

#include "resources/messages.h"
#include "resources/stringtable.h"
#include "resources/templates_zii_pages.h"
#include "support/linkfixture.h"
#include "support/simdevice.h"
#include "ui/testhost.h"
#include "zii/usersetting_zii_serialtab.h"

namespace velmora::testing {
namespace {

using namespace resources;
using zii::CUserSetting_ZII_SerialTab;
using Positions = std::array<int, zii::kSerialFieldCount>;

TEST(SerialReply, FieldsSelectTheirListPositions) {
    struct Case {
        const char* reply;
        Positions positions;
    };
    const Case cases[] = {
        {"115200,8,N,1,D,N", {6, 0, 0, 0, 1}},
        {"ab  115200,8,N,1,D,N", {6, 0, 0, 0, 1}},  // text before the first digit is skipped
        {"9600,,7,E,2,X", {0, 1, 1, 1, 0}},         // the empty field is skipped
        {",,19200,,,8,O,,2,D", {2, 0, 2, 1, 1}},
        {"38400,8,M,1,R,N", {4, 0, -1, 0, -1}},         // unknown parity and protocol
        {"57600,8,n,1,d", {5, 0, -1, 0, -1}},           // letters are case-sensitive
        {"1200,9,N,3,D", {-1, -1, 0, -1, 1}},           // numbers the lists do not have
        {"14400,7", {1, 1, -1, -1, -1}},                // fields that are not there
        {"28800,8,N,1,X,A,115200,7", {3, 0, 0, 0, 0}},  // fields after the fifth are ignored
        {"115200,8,N,1,D\r\n", {6, 0, 0, 0, -1}},       // a line end belongs to the last field
        {"N,N,N,D", {-1, -1, -1, -1, -1}},              // no digit at all: nothing is read
        {"", {-1, -1, -1, -1, -1}},
    };
    for (const auto& c : cases) EXPECT_EQ(zii::parseSerialReply(c.reply), c.positions) << c.reply;
}

class SerialTab : public ::testing::Test {
  protected:
    void SetUp() override {
        l.comm.portName = "COM1:";
        ASSERT_EQ(l.comm.Open(), 1);
        page.Create();
        l.clock.clearPauses();
    }
    Positions selections() const {
        Positions out{};
        for (int i = 0; i < zii::kSerialFieldCount; ++i)
            out[i] = page.control(CUserSetting_ZII_SerialTab::kListIds[i]).curSel();
        return out;
    }
    void choose(const Positions& p) {
        for (int i = 0; i < zii::kSerialFieldCount; ++i)
            page.chooseItem(CUserSetting_ZII_SerialTab::kListIds[i], p[i]);
    }

    ScriptedLink l;
    ui::TestHost host;
    app::ToolContext ctx{l.comm, l.clock, host};
    CUserSetting_ZII_SerialTab page{ctx};
};

TEST_F(SerialTab, StartsEmptyAndGetOrDefaultOffersTheLists) {
    EXPECT_EQ(selections(), (Positions{-1, -1, -1, -1, -1}));
    for (int id : CUserSetting_ZII_SerialTab::kListIds) EXPECT_FALSE(page.control(id).enabled());
    EXPECT_FALSE(page.control(IDC_ZSER_SET).enabled());
    EXPECT_FALSE(page.control(IDC_ZSER_BLUETOOTH_GROUP).visible());

    page.click(IDC_ZSER_DEFAULT);
    std::vector<std::string> chosen;
    for (int id : CUserSetting_ZII_SerialTab::kListIds)
        chosen.push_back(page.control(id).itemText(page.control(id).curSel()));
    EXPECT_EQ(chosen, (std::vector<std::string>{"115200", "8", "None", "1", "Hardware"}));
    for (int id : CUserSetting_ZII_SerialTab::kListIds) EXPECT_TRUE(page.control(id).enabled());
    EXPECT_TRUE(page.control(IDC_ZSER_SET).enabled());
    EXPECT_TRUE(l.script.writes.empty());
    EXPECT_TRUE(l.clock.pauses().empty());
}

TEST_F(SerialTab, GetQueriesElevenAndKeepsListsItCannotRead) {
    page.click(IDC_ZSER_DEFAULT);
    page.chooseItem(IDC_ZSER_PARITY, 2);
    l.script.readScript = {"9600,,7,M,2,X"};
    page.click(IDC_ZSER_GET);
    EXPECT_EQ(l.script.written(), std::string("\x1b\x1c\x3f\x0b"));
    EXPECT_EQ(l.clock.pauses(), (std::vector<unsigned>{30, 1, 30}));
    EXPECT_EQ(selections(), (Positions{0, 1, 2, 1, 0}));  // "M" leaves "Odd" alone
    EXPECT_EQ(host.waitCursorDepth, 0);

    // A silent printer changes nothing; Get still offers the lists, and shows no message.
    CUserSetting_ZII_SerialTab fresh(ctx);
    fresh.Create();
    l.clock.clearPauses();
    fresh.click(IDC_ZSER_GET);
    EXPECT_EQ(l.clock.pauses(), (std::vector<unsigned>{30, 1, 1, 1, 30}));
    EXPECT_EQ(fresh.control(IDC_ZSER_BAUD).curSel(), -1);
    EXPECT_TRUE(fresh.control(IDC_ZSER_SET).enabled());
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(SerialTab, SetSendsOneSavedScCommandAndAsksForARestart) {
    struct Case {
        Positions choice;
        const char* text;
    };
    const Case cases[] = {
        {{6, 0, 0, 0, 1}, "^XA^SC115200,8,N,1,D,N^JUS^XZ\r\n"},
        {{0, 1, 2, 1, 0}, "^XA^SC9600,7,O,2,X,N^JUS^XZ\r\n"},
        {{3, 0, 1, 0, 0}, "^XA^SC28800,8,E,1,X,N^JUS^XZ\r\n"},
    };
    page.click(IDC_ZSER_DEFAULT);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        l.script.writes.clear();
        host.clear();
        choose(c.choice);
        page.click(IDC_ZSER_SET);
        EXPECT_EQ(l.script.writes, std::vector<std::string>{c.text});
        EXPECT_EQ(host.messageTexts(),
                  (std::vector<std::string>{"Set serial communication status is successful",
                                            "Please, turn off the printer and turn on the printer"}));
    }
}

TEST_F(SerialTab, FailedWriteReportsFailure) {
    page.click(IDC_ZSER_DEFAULT);
    l.script.writeScript = {-1, -1, -1, -1};
    page.click(IDC_ZSER_SET);
    EXPECT_EQ(l.messages.shown, std::vector<int>{111});
    EXPECT_EQ(host.messageTexts(), std::vector<std::string>{"Set serial communication status is failed"});
}

TEST_F(SerialTab, SetWithAnEmptyListNamesItAndSendsNothing) {
    for (int field = 0; field < zii::kSerialFieldCount; ++field) {
        SCOPED_TRACE(field);
        host.clear();
        page.click(IDC_ZSER_DEFAULT);
        page.chooseItem(CUserSetting_ZII_SerialTab::kListIds[field], -1);
        page.click(IDC_ZSER_SET);
        EXPECT_EQ(host.messageTexts(),
                  std::vector<std::string>{LoadString(msg::kSelectSerialField[field])});
        EXPECT_TRUE(l.script.writes.empty());
    }
    EXPECT_EQ(LoadString(msg::kSelectSerialField[0]), "Please, select the baudrate.");
}

TEST(SerialTabOnSimulator, SetIsSavedAndTakesEffectAtPowerUp) {
    SimLink link;
    ASSERT_EQ(link.comm.Open(), 1);
    ui::TestHost host;
    app::ToolContext ctx{link.comm, link.clock, host};
    CUserSetting_ZII_SerialTab page(ctx);
    page.Create();
    page.click(IDC_ZSER_GET);
    EXPECT_EQ(page.control(IDC_ZSER_BAUD).itemText(page.control(IDC_ZSER_BAUD).curSel()), "115200");
    page.chooseItem(IDC_ZSER_BAUD, 2);
    page.chooseItem(IDC_ZSER_PARITY, 1);
    page.chooseItem(IDC_ZSER_PROTOCOL, 0);
    page.click(IDC_ZSER_SET);
    const auto saved = link.printer.zii().saved.serial;
    EXPECT_EQ(saved.baud, 19200u);
    EXPECT_EQ(saved.parity, 'E');
    EXPECT_EQ(saved.handshake, 'X');
    EXPECT_EQ(link.printer.zii().activeSerial.baud, 115200u);  // until the printer restarts
    EXPECT_EQ(host.messages.size(), 2u);
}

}  // namespace
}  // namespace velmora::testing
