// The ZII advanced settings page: start state and enable rules, the two queries with their
// pauses, what each reply selects, and the settings block each combination of rows sends.
#include <gtest/gtest.h>

#include "resources/templates_zii_pages.h"
#include "support/linkfixture.h"
#include "support/simdevice.h"
#include "ui/testhost.h"
#include "zii/usersetting_zii_advancedtab.h"

namespace velmora::testing {
namespace {

using namespace resources;
using zii::CUserSetting_ZII_AdvancedTab;

class AdvancedTab : public ::testing::Test {
  protected:
    void SetUp() override {
        l.comm.portName = "COM1:";
        ASSERT_EQ(l.comm.Open(), 1);
        page.Create();
        l.clock.clearPauses();
    }
    void get(std::string handlingReply, std::string feedReply) {
        l.script.readScript = {handlingReply, feedReply};
        page.click(IDC_ZADV_GET);
        l.script.writes.clear();
        l.clock.clearPauses();
    }
    int sel(int id) const { return page.control(id).curSel(); }
    bool enabled(int id) const { return page.control(id).enabled(); }

    ScriptedLink l;
    ui::TestHost host;
    app::ToolContext ctx{l.comm, l.clock, host};
    CUserSetting_ZII_AdvancedTab page{ctx};
};

TEST_F(AdvancedTab, StartsWithDefaultsAndOnlyMirrorRowAndGetEnabled) {
    // The string table's trailing ";" gives no empty entry; "No feed" is the feed list's last.
    EXPECT_EQ(page.control(IDC_ZADV_MEDIA_HANDLING).count(), 3);
    EXPECT_EQ(page.control(IDC_ZADV_MEDIA_FEED).itemText(sel(IDC_ZADV_MEDIA_FEED)), "No feed");
    EXPECT_EQ(page.control(IDC_ZADV_MEDIA_HANDLING).itemText(sel(IDC_ZADV_MEDIA_HANDLING)), "Tear Off");
    EXPECT_EQ(page.control(IDC_ZADV_BACKFEED).itemText(sel(IDC_ZADV_BACKFEED)), "Default settings");
    EXPECT_TRUE(page.control(IDC_ZADV_USE_BACKFEED).checked());
    for (int id :
         {IDC_ZADV_USE_MEDIA_HANDLING, IDC_ZADV_USE_MEDIA_FEED, IDC_ZADV_USE_BACKFEED,
          IDC_ZADV_MEDIA_HANDLING, IDC_ZADV_MEDIA_FEED, IDC_ZADV_BACKFEED, IDC_ZADV_MIRROR, IDC_ZADV_SET})
        EXPECT_FALSE(enabled(id)) << id;
    EXPECT_TRUE(enabled(IDC_ZADV_USE_MIRROR));
    EXPECT_TRUE(enabled(IDC_ZADV_GET));
    EXPECT_FALSE(page.control(IDC_ZADV_EVERY_LABEL).visible());

    page.click(IDC_ZADV_USE_MIRROR);
    EXPECT_TRUE(enabled(IDC_ZADV_MIRROR));
    EXPECT_FALSE(enabled(IDC_ZADV_SET));  // only a Get offers Set
    page.click(IDC_ZADV_USE_MIRROR);
    EXPECT_FALSE(enabled(IDC_ZADV_MIRROR));
    EXPECT_TRUE(l.script.writes.empty());
}

TEST_F(AdvancedTab, GetQueriesTwelveThenFourteenAndOffersTheRows) {
    l.script.readScript = {"P", "L"};
    page.click(IDC_ZADV_GET);
    EXPECT_EQ(l.script.written(), std::string("\x1b\x1c\x3f\x0c\x1b\x1c\x3f\x0e"));
    EXPECT_EQ(l.clock.pauses(), (std::vector<unsigned>{50, 1, 50, 1}));
    EXPECT_EQ(sel(IDC_ZADV_MEDIA_HANDLING), zii::kPeelOff);
    EXPECT_EQ(sel(IDC_ZADV_MEDIA_FEED), zii::kFeedLabelLength);
    for (int id : {IDC_ZADV_USE_MEDIA_HANDLING, IDC_ZADV_USE_MEDIA_FEED}) {
        EXPECT_TRUE(page.control(id).checked());
        EXPECT_TRUE(enabled(id));
    }
    for (int id : {IDC_ZADV_MEDIA_HANDLING, IDC_ZADV_MEDIA_FEED, IDC_ZADV_SET}) EXPECT_TRUE(enabled(id));
    for (int id : {IDC_ZADV_USE_BACKFEED, IDC_ZADV_BACKFEED}) EXPECT_FALSE(enabled(id));
    EXPECT_EQ(host.waitCursorShown, 1);
    EXPECT_EQ(host.waitCursorDepth, 0);
    EXPECT_TRUE(host.messages.empty());

    // A cleared use box takes its list out of play again.
    page.click(IDC_ZADV_USE_MEDIA_FEED);
    EXPECT_FALSE(enabled(IDC_ZADV_MEDIA_FEED));
}

TEST_F(AdvancedTab, RepliesSelectOnlyWhatTheyNameExactly) {
    struct Case {
        const char* handling;
        const char* feed;
        int handlingSel;  // expected, starting from Cutter / Calibrate Media
        int feedSel;
    };
    const Case cases[] = {
        {"T", "F", zii::kTearOff, zii::kFeedNextLabel},
        {"C", "N", zii::kCutter, zii::kFeedNone},
        {"P", "C", zii::kPeelOff, zii::kFeedCalibrate},
        {"t", "l", zii::kCutter, zii::kFeedCalibrate},        // case matters
        {"T\r", "L\r\n", zii::kCutter, zii::kFeedCalibrate},  // whole texts only
        {"", "", zii::kCutter, zii::kFeedCalibrate},          // no reply
        {"S", "S", zii::kCutter, zii::kFeedCalibrate},
        // A two-character reply followed by a one-character one: the second is judged alone.
        {"TX", "L", zii::kCutter, zii::kFeedLabelLength},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.handling) + "/" + c.feed);
        get("C", "C");
        l.script.readScript = {c.handling, c.feed};
        page.click(IDC_ZADV_GET);
        EXPECT_EQ(sel(IDC_ZADV_MEDIA_HANDLING), c.handlingSel);
        EXPECT_EQ(sel(IDC_ZADV_MEDIA_FEED), c.feedSel);
    }
}

TEST_F(AdvancedTab, SetSendsTheTickedRowsInOneSavedBlock) {
    struct Case {
        const char* name;
        bool handling, feed, mirrorRow, mirror;
        int handlingSel, feedSel;
        std::string text;
    };
    const Case cases[] = {
        {"mirror row only, clear", false, false, true, false, 0, 3, "^XA\r\n^PMN\r\n^XZ\r\n^XA^JUS^XZ\r\n"},
        {"no row", false, false, false, false, 0, 3, "^XA\r\n^XZ\r\n^XA^JUS^XZ\r\n"},
        {"all rows", true, true, true, true, zii::kCutter, zii::kFeedCalibrate,
         "^XA\r\n^MMC,N\r\n^MFC,C\r\n^PMY\r\n^XZ\r\n^XA^JUS^XZ\r\n"},
        {"feed row only, label length", false, true, false, false, 0, zii::kFeedLabelLength,
         "^XA\r\n^MFL,L\r\n^XZ\r\n^XA^JUS^XZ\r\n"},
        {"nothing selected", true, true, false, false, -1, -1,
         "^XA\r\n^MMA,N\r\n^MFN,N\r\n^XZ\r\n^XA^JUS^XZ\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        get("", "");
        auto setBox = [&](int id, bool on) {
            if (page.control(id).checked() != on) page.click(id);
        };
        setBox(IDC_ZADV_USE_MEDIA_HANDLING, c.handling);
        setBox(IDC_ZADV_USE_MEDIA_FEED, c.feed);
        setBox(IDC_ZADV_USE_MIRROR, c.mirrorRow);
        if (c.mirrorRow) setBox(IDC_ZADV_MIRROR, c.mirror);
        page.control(IDC_ZADV_MEDIA_HANDLING).setCurSel(c.handlingSel);
        page.control(IDC_ZADV_MEDIA_FEED).setCurSel(c.feedSel);
        page.click(IDC_ZADV_SET);
        ASSERT_EQ(l.script.writes.size(), 1u);  // one write for the whole block
        EXPECT_EQ(l.script.written(), c.text);
        EXPECT_TRUE(l.clock.pauses().empty());
        EXPECT_TRUE(host.messages.empty());
        page.control(IDC_ZADV_MIRROR).setCheck(0);
    }
}

TEST(AdvancedTabOnSimulator, SetThenGetReadsBackWhatWasSaved) {
    SimLink link;
    ASSERT_EQ(link.comm.Open(), 1);
    ui::TestHost host;
    app::ToolContext ctx{link.comm, link.clock, host};
    CUserSetting_ZII_AdvancedTab page(ctx);
    page.Create();
    page.click(IDC_ZADV_GET);
    EXPECT_EQ(page.control(IDC_ZADV_MEDIA_HANDLING).curSel(), zii::kTearOff);  // the factory values
    EXPECT_EQ(page.control(IDC_ZADV_MEDIA_FEED).curSel(), zii::kFeedNone);
    page.chooseItem(IDC_ZADV_MEDIA_HANDLING, zii::kCutter);
    page.chooseItem(IDC_ZADV_MEDIA_FEED, zii::kFeedCalibrate);
    page.click(IDC_ZADV_USE_MIRROR);
    page.click(IDC_ZADV_MIRROR);
    page.click(IDC_ZADV_SET);
    EXPECT_EQ(link.printer.zii().saved.mediaHandling, 'C');
    EXPECT_EQ(link.printer.zii().saved.powerUpAction, 'C');
    EXPECT_TRUE(link.printer.zii().saved.mirror);

    CUserSetting_ZII_AdvancedTab again(ctx);
    again.Create();
    again.click(IDC_ZADV_GET);
    EXPECT_EQ(again.control(IDC_ZADV_MEDIA_HANDLING).curSel(), zii::kCutter);
    EXPECT_EQ(again.control(IDC_ZADV_MEDIA_FEED).curSel(), zii::kFeedCalibrate);
}

}  // namespace
}  // namespace velmora::testing
