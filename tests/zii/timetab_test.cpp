// The ZII real-time clock page: enable rules, the "^ST" block for a picked or the computer's
// time (zero padding, midnight, 24-hour clock), and the picker texts it accepts.
#include <gtest/gtest.h>

#include "resources/templates_zii_pages.h"
#include "support/linkfixture.h"
#include "ui/testhost.h"
#include "zii/usersetting_zii_timetab.h"

namespace velmora::testing {
namespace {

using namespace resources;
using zii::CUserSetting_ZII_TimeTab;

std::string block(const std::string& line) { return "^XA\r\n" + line + "\r\n^XZ\r\n^XA^JUS^XZ\r\n"; }

class TimeTab : public ::testing::Test {
  protected:
    void SetUp() override {
        l.comm.portName = "COM1:";
        ASSERT_EQ(l.comm.Open(), 1);
        l.clock.setWall(*platform::fromLocalTime({2031, 7, 4, 9, 8, 7}));
        page.Create();
        l.clock.clearPauses();
    }
    std::vector<bool> enables() const {
        std::vector<bool> out;
        for (int id : {IDC_ZRTC_TO_COMPUTER, IDC_ZRTC_TO_CHOSEN, IDC_ZRTC_DATE, IDC_ZRTC_TIME})
            out.push_back(page.control(id).enabled());
        return out;
    }

    ScriptedLink l;
    ui::TestHost host;
    app::ToolContext ctx{l.comm, l.clock, host};
    CUserSetting_ZII_TimeTab page{ctx};
};

TEST_F(TimeTab, PickersFollowTheBoxAndTheChosenRadio) {
    EXPECT_FALSE(page.control(IDC_ZRTC_SET_CLOCK).checked());
    EXPECT_TRUE(page.control(IDC_ZRTC_TO_COMPUTER).checked());
    EXPECT_EQ(page.control(IDC_ZRTC_DATE).text(), "2031-07-04");  // the pickers open on "now"
    EXPECT_EQ(page.control(IDC_ZRTC_TIME).text(), "09:08:07");
    EXPECT_EQ(enables(), (std::vector<bool>{false, false, false, false}));
    page.click(IDC_ZRTC_SET_CLOCK);
    EXPECT_EQ(enables(), (std::vector<bool>{true, true, false, false}));
    page.click(IDC_ZRTC_TO_CHOSEN);
    EXPECT_EQ(enables(), (std::vector<bool>{true, true, true, true}));
    page.click(IDC_ZRTC_SET_CLOCK);
    EXPECT_EQ(enables(), (std::vector<bool>{false, false, false, false}));
    page.click(IDC_ZRTC_SET_CLOCK);
    page.click(IDC_ZRTC_TO_COMPUTER);
    EXPECT_EQ(enables(), (std::vector<bool>{true, true, false, false}));
}

TEST_F(TimeTab, WithTheBoxClearSetSendsNothing) {
    page.click(IDC_ZRTC_SET);
    EXPECT_TRUE(l.script.writes.empty());
    EXPECT_FALSE(page.lastWrite());
}

TEST_F(TimeTab, PickedDateAndTimeAreSentPaddedOnTheTwentyFourHourClock) {
    struct Case {
        const char* date;
        const char* time;
        const char* line;
    };
    const Case cases[] = {
        {"2024-03-05", "14:07:09", "^ST03,05,2024,14,07,09,M"},
        {"2024-12-31", "00:00:00", "^ST12,31,2024,00,00,00,M"},  // midnight is hour 00
        {"2025-01-09", "23:59:59", "^ST01,09,2025,23,59,59,M"},
        {"2024-02-29", "12:00:00", "^ST02,29,2024,12,00,00,M"},  // noon stays 12
        {"0999-10-10", "01:02:03", "^ST10,10,0999,01,02,03,M"},  // four-digit year
    };
    page.click(IDC_ZRTC_SET_CLOCK);
    page.click(IDC_ZRTC_TO_CHOSEN);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        l.script.writes.clear();
        page.typeText(IDC_ZRTC_DATE, c.date);
        page.typeText(IDC_ZRTC_TIME, c.time);
        page.click(IDC_ZRTC_SET);
        EXPECT_EQ(l.script.writes, std::vector<std::string>{block(c.line)});
    }
    EXPECT_TRUE(l.clock.pauses().empty());
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(TimeTab, ComputersClockIsReadAtSetTime) {
    page.click(IDC_ZRTC_SET_CLOCK);
    l.clock.setWall(*platform::fromLocalTime({2024, 1, 2, 0, 5, 9}));
    page.click(IDC_ZRTC_SET);
    EXPECT_EQ(l.script.written(), block("^ST01,02,2024,00,05,09,M"));
    EXPECT_EQ(page.lastWrite(), 1);
}

TEST(PickerText, OnlyRealDatesAndTimesAreRead) {
    platform::LocalTime t;
    for (const char* good : {"2024-02-29", "2000-02-29", "1999-12-31", "2023-04-30"})
        EXPECT_TRUE(zii::parsePickerDate(good, t)) << good;
    for (const char* bad : {"2023-02-29", "1900-02-29", "2024-04-31", "2024-13-01", "2024-00-10", "2024-3-05",
                            "24-03-05", "2024/03/05", "2024-03-05 ", ""})
        EXPECT_FALSE(zii::parsePickerDate(bad, t)) << bad;
    for (const char* good : {"00:00:00", "23:59:59"}) EXPECT_TRUE(zii::parsePickerTime(good, t)) << good;
    for (const char* bad : {"24:00:00", "12:60:00", "12:00:60", "1:02:03", "12-00-00", "12:00"})
        EXPECT_FALSE(zii::parsePickerTime(bad, t)) << bad;
    EXPECT_EQ(t, (platform::LocalTime{2023, 4, 30, 23, 59, 59}));  // refused texts change nothing
}

}  // namespace
}  // namespace velmora::testing
