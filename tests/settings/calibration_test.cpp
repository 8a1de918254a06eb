// The sensing calibration page and its finer-level dialog: against the simulated media path (a
// proposed level between the populations that ends the gap errors once saved), and against
// scripted replies for the exact bytes, the waits, the range check and the failures.
#include <gtest/gtest.h>

#include "app/menumode.h"
#include "resources/stringtable.h"
#include "resources/templates_calibration.h"
#include "settings/calibrationextra.h"
#include "settings/calibrationtabdialog.h"
#include "support/linkfixture.h"
#include "support/simdevice.h"
#include "ui/testhost.h"

namespace velmora::testing {
namespace {

using namespace resources;
using namespace settings;

// Restores the ZII menu mode after a case that switched it.
struct MenuModeGuard {
    explicit MenuModeGuard(int mode) { app::MenuMode = mode; }
    ~MenuModeGuard() { app::MenuMode = 1; }
};

TEST(CalibrationOnSimulator, ProposesALevelBetweenThePopulationsAndSavingEndsTheGapErrors) {
    struct Case {
        const char* media;
        bool markType;
        int menuMode;
    };
    for (const Case c : {Case{"gap:100:3", false, 1}, Case{"mark:100:5", true, 1}, Case{"gap:60:4", false, 0}}) {
        SCOPED_TRACE(std::string(c.media) + " mode " + std::to_string(c.menuMode));
        MenuModeGuard mode(c.menuMode);
        SimLink link;
        ASSERT_EQ(link.comm.Open(), 1);
        std::string why;
        const auto media = sim::MediaModel::parse(c.media, why);
        link.printer.editMedia([&](sim::MediaState& m) { m.model = *media; });
        const std::string prefix = c.menuMode == 0 ? "^" : "*";
        const int scale = c.menuMode == 0 ? 4 : 1;  // to the sensor's 0..1023
        // A threshold above both populations: the printer loses the label edges.
        link.comm.WriteText(prefix + "MXs," + std::to_string(1000 / scale) + ",7\r~PH\r\n");
        ASSERT_TRUE(link.printer.status("gap-error"));

        ui::TestHost host;
        app::ToolContext ctx{link.comm, link.clock, host};
        CCalibrationTabDialog dlg(ctx);
        dlg.Create();
        EXPECT_EQ(dlg.control(IDC_CAL_TAB).items(), std::vector<std::string>{"  "});
        CCalibration_2& page = dlg.tabCtrl().page();
        EXPECT_EQ(page.control(IDC_CAL_LEVEL_FIRST + 1).text(), c.menuMode == 0 ? "016 :" : "64 :");
        if (c.markType) page.click(IDC_CAL_TYPE_MARK);
        link.clock.clearPauses();
        page.click(IDC_CAL_CHECK);
        ASSERT_FALSE(link.clock.pauses().empty());
        EXPECT_EQ(link.clock.pauses()[0], 4800u);
        EXPECT_TRUE(host.messages.empty()) << host.messageTexts()[0];
        EXPECT_TRUE(page.control(IDC_CAL_SAVE).enabled());
        const SensingAnalysis a = page.analysis();
        ASSERT_GE(a.proposed, 0);
        EXPECT_TRUE(page.control(IDC_CAL_LEVEL_FIRST + a.proposed).checked());
        EXPECT_EQ(page.control(IDC_CAL_VALUE_FIRST + a.low).textColor(), CCalibration_2::kColorMarkedText);
        EXPECT_EQ(page.control(IDC_CAL_VALUE_FIRST + a.low).backColor(), CCalibration_2::kColorMarkedBack);
        EXPECT_EQ(page.control(IDC_CAL_VALUE_FIRST + a.low + 1).textColor(), CCalibration_2::kColorPlainText);
        EXPECT_TRUE(page.chart()->measured);
        const int middle = std::stoi(page.control(IDC_CAL_MIDDLE).text());
        EXPECT_EQ(middle, (a.proposed + 1) * (c.menuMode == 0 ? 8 : 32));
        EXPECT_TRUE(link.printer.media().separates(middle * scale)) << middle;

        page.click(IDC_CAL_SAVE);
        const sim::MediaState m = link.printer.media();
        const auto& stored = c.menuMode == 0 ? m.native : m.zii;
        ASSERT_TRUE(stored);
        EXPECT_EQ(stored->value, middle);
        EXPECT_EQ(stored->gapCount, 7);
        EXPECT_FALSE(link.printer.status("gap-error"));
        link.comm.WriteText("~PH\r\n");
        EXPECT_FALSE(link.printer.status("gap-error"));
        // Back to idle.
        EXPECT_FALSE(page.control(IDC_CAL_SAVE).enabled());
        EXPECT_FALSE(page.control(IDC_CAL_LEVEL_FIRST + a.proposed).enabled());
        EXPECT_EQ(page.control(IDC_CAL_VALUE_FIRST + a.low).text(), "0000");
        EXPECT_FALSE(page.chart()->measured);
    }
}

// A 64-byte reply with the given bucket counts.
std::string reply(std::map<int, int> buckets) {
    std::string bytes(64, '\0');
    for (auto [i, n] : buckets) {
        bytes[2 * i] = static_cast<char>(n & 0xFF);
        bytes[2 * i + 1] = static_cast<char>(n >> 8);
    }
    return bytes;
}

class CalibrationOnScript : public ::testing::Test {
  protected:
    void SetUp() override {
        l.comm.portName = "COM1:";
        ASSERT_EQ(l.comm.Open(), 1);
        dlg.Create();
        l.clock.clearPauses();
    }
    ScriptedLink l;
    ui::TestHost host;
    app::ToolContext ctx{l.comm, l.clock, host};
    CCalibrationTabDialog dlg{ctx};
    CCalibration_2& page = dlg.tabCtrl().page();
};

TEST_F(CalibrationOnScript, ALengthOutOfRangeSendsNothing) {
    for (const char* length : {"0", "1000", "4000000000"}) {
        SCOPED_TRACE(length);
        host.clear();
        page.typeText(IDC_CAL_LENGTH, length);
        page.click(IDC_CAL_CHECK);
        EXPECT_EQ(host.messages.size(), 1u);
        EXPECT_TRUE(l.script.writes.empty());
        EXPECT_TRUE(l.clock.pauses().empty());
    }
    page.typeText(IDC_CAL_LENGTH, "999");
    l.script.readScript.push_back(reply({}));
    page.click(IDC_CAL_CHECK);
    EXPECT_EQ(l.script.written(), "*MXd,7992,G\r");
}

TEST_F(CalibrationOnScript, WaitsInProportionToTheLengthByLinkKind) {
    EXPECT_EQ(CCalibration_2::samplingWaitMs(link::kSerial, 1200), 4800u);
    EXPECT_EQ(CCalibration_2::samplingWaitMs(link::kEthernet, 1200), 2400u);
    EXPECT_EQ(CCalibration_2::samplingWaitMs(link::kParallel, 1200), 7200u);
    EXPECT_EQ(CCalibration_2::samplingWaitMs(link::kUsb, 1200), 7200u);
    l.script.readScript.push_back(reply({{9, 900}, {23, 30}}));
    page.click(IDC_CAL_CHECK);
    EXPECT_EQ(host.actionTotals, std::vector<unsigned>{4800});
}

TEST_F(CalibrationOnScript, AShortReplyOrNoTwoPopulationsLeaveNoLevelToSave) {
    l.script.readScript = {std::string(63, '\x01'), std::string("")};
    page.click(IDC_CAL_CHECK);
    EXPECT_EQ(host.messageTexts(), std::vector<std::string>{LoadString(106)});
    EXPECT_TRUE(l.script.readScript.empty());  // the second read drains the link
    EXPECT_FALSE(page.control(IDC_CAL_SAVE).enabled());

    host.clear();
    l.script.readScript = {reply({})};
    page.click(IDC_CAL_CHECK);
    EXPECT_EQ(host.messageTexts(), std::vector<std::string>{LoadString(106)});
    EXPECT_TRUE(page.control(IDC_CAL_SAVE).enabled());
    EXPECT_EQ(page.levelChoice, -1);
    host.clear();
    l.script.writes.clear();
    page.click(IDC_CAL_SAVE);
    EXPECT_EQ(host.messageTexts(), std::vector<std::string>{LoadString(105)});
    EXPECT_TRUE(l.script.writes.empty());
}

TEST_F(CalibrationOnScript, ATypedMiddleValueAndTheGapCountAreWhatSaveSends) {
    l.script.readScript.push_back(reply({{9, 900}, {23, 30}}));
    page.click(IDC_CAL_CHECK);
    EXPECT_EQ(page.control(IDC_CAL_MIDDLE).text(), "640");
    page.click(IDC_CAL_LEVEL_FIRST + 17);
    EXPECT_EQ(page.control(IDC_CAL_MIDDLE).text(), "576");
    page.typeText(IDC_CAL_MIDDLE, "600");
    page.chooseItem(IDC_CAL_GAP_COUNT, 0);
    l.script.writes.clear();
    page.click(IDC_CAL_SAVE);
    EXPECT_EQ(l.script.written(), "*MXs,600,4\r");
    l.script.writes.clear();
    page.click(IDC_CAL_CANCEL);
    EXPECT_EQ(l.script.written(), "*MXc\r");
}

TEST_F(CalibrationOnScript, CountsNoSamplingGivesLeaveThePageIdle) {
    // Two clear populations, but 150 mm are 1200 rows: no bucket can count 60000.
    l.script.readScript = {reply({{9, 60000}, {23, 3000}})};
    page.click(IDC_CAL_CHECK);
    EXPECT_EQ(host.messageTexts(), std::vector<std::string>{LoadString(106)});
    EXPECT_EQ(page.control(IDC_CAL_VALUE_FIRST + 9).text(), "60000");  // what came is shown
    EXPECT_FALSE(page.control(IDC_CAL_SAVE).enabled());
    EXPECT_FALSE(page.control(IDC_CAL_LEVEL_FIRST + 19).enabled());
    EXPECT_FALSE(page.chart()->measured);
    host.clear();
    l.script.writes.clear();
    page.OnSaveCalibration();  // as a caller that skips the disabled button would
    EXPECT_EQ(host.messageTexts(), std::vector<std::string>{LoadString(105)});
    EXPECT_TRUE(l.script.writes.empty());
}

TEST_F(CalibrationOnScript, EachButtonReadsOnlyTheBoxesItUses) {
    l.script.readScript = {reply({{9, 900}, {23, 30}})};
    page.click(IDC_CAL_CHECK);
    // An emptied middle gap box does not hold up a new check.
    page.typeText(IDC_CAL_MIDDLE, "");
    l.script.writes.clear();
    l.script.readScript = {reply({{9, 900}, {23, 30}})};
    page.click(IDC_CAL_CHECK);
    EXPECT_TRUE(host.messages.empty()) << host.messageTexts()[0];
    EXPECT_EQ(l.script.written(), "*MXd,1200,G\r");
    // A length typed since the measurement does not hold up its save.
    page.typeText(IDC_CAL_LENGTH, "0");
    l.script.writes.clear();
    page.click(IDC_CAL_SAVE);
    EXPECT_TRUE(host.messages.empty()) << host.messageTexts()[0];
    EXPECT_EQ(l.script.written(), "*MXs,640,7\r");
}

TEST_F(CalibrationOnScript, ThePageAndTheFinerLevelsTakeOneRangeForTheStoredValue) {
    for (const char* typed : {"0", "1025"}) {
        SCOPED_TRACE(typed);
        host.clear();
        l.script.writes.clear();
        l.script.readScript = {reply({{10, 900}, {11, 140}})};
        host.modalScripts.push_back([&](ui::Dialog& d) {
            d.typeText(IDC_CALX_MIDDLE, typed);
            d.click(IDC_CALX_SAVE);
            d.click(ui::IDCANCEL);
            return d.result();
        });
        page.click(IDC_CAL_CHECK);
        page.typeText(IDC_CAL_MIDDLE, typed);
        page.click(IDC_CAL_SAVE);
        EXPECT_EQ(host.messageTexts(), std::vector<std::string>(2, "Enter an integer between 1 and 1024."));
        EXPECT_EQ(l.script.written(), "*MXd,1200,G\r");  // no store
    }
}

TEST_F(CalibrationOnScript, NearPopulationsOfferFinerLevelsInEitherMenuMode) {
    for (int mode : {1, 0}) {
        SCOPED_TRACE(mode);
        MenuModeGuard guard(mode);
        host.clear();
        l.script.writes.clear();
        l.script.readScript.push_back(reply({{10, 900}, {11, 140}}));
        std::vector<std::string> captions;
        host.modalScripts.push_back([&](ui::Dialog& d) {
            auto& extra = dynamic_cast<CCalibrationExtra&>(d);
            EXPECT_EQ(extra.distance(), 1);
            EXPECT_EQ(d.control(IDC_CALX_UPPER_LABEL).text(), "352 : ");
            EXPECT_EQ(d.control(IDC_CALX_LOWER_VALUE).text(), "140");
            EXPECT_FALSE(d.control(IDC_CALX_DETAIL_FIRST).visible());
            for (int a = 1; a < 8; ++a) captions.push_back(d.control(IDC_CALX_DETAIL_FIRST + a).text());
            EXPECT_EQ(d.control(IDC_CALX_MIDDLE).text(), "368");
            d.click(IDC_CALX_DETAIL_FIRST + 2);
            d.click(IDC_CALX_SAVE);
            d.click(IDC_CALX_SAVE);  // saved once already
            d.click(ui::IDOK);
            return d.result();
        });
        page.click(IDC_CAL_CHECK);
        EXPECT_EQ(host.modalTemplates, std::vector<int>{196});
        EXPECT_EQ(captions, (std::vector<std::string>{"356 :", "360 :", "364 :", "368 :", "372 :", "376 :", "380 :"}));
        EXPECT_EQ(l.script.written(), std::string(mode == 0 ? "^" : "*") + "MXd,1200,G\r*MXs,360,7\r");
        EXPECT_EQ(host.messageTexts(), std::vector<std::string>{LoadString(105)});
        // The finer level counts 32 a level; the native page keeps 8 a level.
        EXPECT_EQ(page.control(IDC_CAL_MIDDLE).text(), mode == 0 ? "90" : "360");
    }
}

}  // namespace
}  // namespace velmora::testing
