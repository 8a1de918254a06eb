// The ZII print quality dialog: a sample series printed on the simulator at the speeds and
// darkness of its identifiers, the chosen label's settings written and saved, manual mode, and
// the ZPL file (written as UTF-16, or reported and nothing sent when it cannot be).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <variant>

#include <unistd.h>

#include "resources/stringtable.h"
#include "resources/templates_zii_tools.h"
#include "support/linkfixture.h"
#include "support/simdevice.h"
#include "ui/testhost.h"
#include "zii/usersetting_zii_qualitydlg.h"

namespace velmora::testing {
namespace {

using namespace resources;
using zii::CUserSetting_ZII_QualityDlg;

std::string identifierOf(const sim::LabelRecord& r) {
    // The identifier is the field printed after "Identifier:".
    for (std::size_t i = 0; i + 1 < r.fields.size(); ++i)
        if (const auto* t = std::get_if<sim::ZiiTextField>(&r.fields[i]); t && t->data == "Identifier:")
            if (const auto* id = std::get_if<sim::ZiiTextField>(&r.fields[i + 1])) return id->data;
    return "?";
}

TEST(QualityOnSimulator, TwelveSamplesCarryTheirSpeedAndDarknessAndPickingOneSetsThem) {
    SimLink link;
    ASSERT_EQ(link.comm.Open(), 1);
    ui::TestHost host;
    app::ToolContext ctx{link.comm, link.clock, host};
    CUserSetting_ZII_QualityDlg dlg(ctx);
    dlg.Create();
    EXPECT_FALSE(dlg.control(IDC_ZQ_PRINT).enabled());
    dlg.click(IDC_ZQ_AUTO);
    EXPECT_TRUE(dlg.control(IDC_ZQ_PRINT).enabled());
    EXPECT_FALSE(dlg.control(IDC_ZQ_SPEED).enabled());
    EXPECT_EQ(dlg.control(IDC_ZQ_IDENTIFIERS).count(), 12);
    EXPECT_EQ(dlg.control(IDC_ZQ_SHOW_SPEED).text(), "2.0 inch/s");
    EXPECT_EQ(dlg.control(IDC_ZQ_SHOW_DARKNESS).text(), "8");
    link.clock.clearPauses();
    dlg.click(IDC_ZQ_PRINT);
    EXPECT_EQ(dlg.samplesWritten(), 12);
    EXPECT_EQ(link.clock.pauses(), std::vector<unsigned>(12, 10));
    const auto labels = link.printer.printedLabels();
    ASSERT_EQ(labels.size(), 12u);
    for (int j = 0; j < 12; ++j) {
        SCOPED_TRACE(j);
        const sim::LabelRecord& r = labels[static_cast<std::size_t>(j)];
        EXPECT_EQ(r.language, sim::LabelLanguage::Zii);
        EXPECT_EQ(identifierOf(r), zii::labelIdentifier(j));
        EXPECT_EQ(r.zii.printSpeed, 2 + j / 2);
        EXPECT_EQ(r.zii.darkness, j % 2 == 0 ? 8 : 17);
        EXPECT_EQ(r.quantity, 1);
    }
    EXPECT_EQ(identifierOf(labels[3]), "AD");

    dlg.chooseItem(IDC_ZQ_IDENTIFIERS, 3);
    EXPECT_EQ(dlg.control(IDC_ZQ_SHOW_SPEED).text(), "3.0 inch/s");
    EXPECT_EQ(dlg.control(IDC_ZQ_SHOW_DARKNESS).text(), "17");
    dlg.click(IDC_ZQ_SET);
    EXPECT_TRUE(dlg.settingsSent());
    const auto saved = link.printer.zii().saved;
    EXPECT_EQ(saved.darkness, 17);
    EXPECT_EQ(saved.printSpeed, 3);
    EXPECT_EQ(link.printer.totalPrintedLabels(), 12u);  // a settings block prints nothing
    EXPECT_TRUE(host.messages.empty());
}

TEST(Quality, SeriesIdentifiersAndDarknessFollowTheLabelCount) {
    struct Case {
        int pos;
        const char* last;
        std::vector<int> darkness;  // per speed
    };
    const Case cases[] = {{0, "AL", {8, 17}},
                          {1, "AR", {9, 14, 19}},
                          {2, "AX", {7, 11, 15, 19}},
                          {3, "BD", {8, 11, 14, 17, 20}},
                          {4, "BJ", {7, 9, 11, 13, 15, 17}}};
    ScriptedLink l;
    ui::TestHost host;
    app::ToolContext ctx{l.comm, l.clock, host};
    CUserSetting_ZII_QualityDlg dlg(ctx);
    dlg.Create();
    dlg.click(IDC_ZQ_AUTO);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pos);
        dlg.chooseItem(IDC_ZQ_COUNT, c.pos);
        const auto& ids = dlg.control(IDC_ZQ_IDENTIFIERS).items();
        EXPECT_EQ(ids.size(), 6 * c.darkness.size());
        EXPECT_EQ(ids.back(), c.last);
        EXPECT_EQ(dlg.control(IDC_ZQ_IDENTIFIERS).curSel(), 0);
        for (std::size_t k = 0; k < c.darkness.size(); ++k) {
            dlg.chooseItem(IDC_ZQ_IDENTIFIERS, static_cast<int>(c.darkness.size() + k));  // the second speed
            EXPECT_EQ(dlg.chosenDarkness(), c.darkness[k]);
            EXPECT_EQ(dlg.chosenSpeed(), 3);
        }
    }
}

class QualityOnScript : public ::testing::Test {
  protected:
    void SetUp() override {
        l.comm.portName = "COM1:";
        ASSERT_EQ(l.comm.Open(), 1);
        dlg.Create();
        dlg.click(IDC_ZQ_MANUAL);
        dlg.chooseItem(IDC_ZQ_SPEED, 4);
        dlg.chooseItem(IDC_ZQ_DARKNESS, 5);
    }
    ScriptedLink l;
    ui::TestHost host;
    app::ToolContext ctx{l.comm, l.clock, host};
    CUserSetting_ZII_QualityDlg dlg{ctx};
    const std::string settings = "~SD05\r\n^XA\r\n^PR6,6\r\n^XZ\r\n^XA^JUS^XZ\r\n";
};

TEST_F(QualityOnScript, ManualModePrintsOneSampleWithoutIdentifierAndSetsItsChoice) {
    EXPECT_FALSE(dlg.control(IDC_ZQ_IDENTIFIERS).enabled());
    EXPECT_EQ(dlg.control(IDC_ZQ_SHOW_SPEED).text(), "6.0 inch/s");
    dlg.click(IDC_ZQ_PRINT);
    EXPECT_EQ(l.script.writes.size(), 1u);
    EXPECT_EQ(l.script.written(), zii::sampleLabel("", 5, "6.0"));
    EXPECT_NE(l.script.written().find("~SD05\r\n^XA\r\n^LH0,0\r\n^PR6\r\n"), std::string::npos);
    EXPECT_NE(l.script.written().find("^FO330,240^A0N,90,90^FD^FS\r\n"), std::string::npos);
    l.script.writes.clear();
    dlg.click(IDC_ZQ_SET);
    EXPECT_EQ(l.script.written(), settings);
}

TEST_F(QualityOnScript, TheZplFileIsUtf16AndAFileThatCannotBeWrittenSendsNothing) {
    const auto dir = std::filesystem::temp_directory_path() / ("velmora-quality-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    dlg.click(IDC_ZQ_SAVE_FILE);
    // Cancelled: message 214, nothing sent.
    dlg.click(IDC_ZQ_SET);
    EXPECT_EQ(host.messageTexts(), std::vector<std::string>{LoadString(214)});
    EXPECT_EQ(host.fileRequests.at(0).filter, "ZPL files(*.zpl)|*.zpl||");
    EXPECT_TRUE(l.script.writes.empty());
    // Not writable: reported, nothing sent.
    host.clear();
    host.fileAnswers.push_back((dir / "missing" / "q.zpl").string());
    dlg.click(IDC_ZQ_SET);
    EXPECT_EQ(host.messages.size(), 1u);
    EXPECT_TRUE(l.script.writes.empty());
    EXPECT_FALSE(dlg.settingsSent());
    // Written: FF FE and the text as UTF-16 little-endian, then sent.
    host.clear();
    const auto file = dir / "q.zpl";
    host.fileAnswers.push_back(file.string());
    dlg.click(IDC_ZQ_SET);
    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    std::string expected = "\xFF\xFE";
    for (char ch : settings) expected += std::string{ch, '\0'};
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(l.script.written(), settings);
    std::filesystem::remove_all(dir);
}

TEST(QualityFailures, ASeriesStopsAtTheFirstFailedWrite) {
    ScriptedLink l;
    l.comm.portName = "COM1:";
    ASSERT_EQ(l.comm.Open(), 1);
    ui::TestHost host;
    app::ToolContext ctx{l.comm, l.clock, host};
    CUserSetting_ZII_QualityDlg dlg(ctx);
    dlg.Create();
    dlg.click(IDC_ZQ_AUTO);
    l.script.writeScript = {-1, -1, -1, -1, -1, -1, -1, -1};
    dlg.click(IDC_ZQ_PRINT);
    EXPECT_EQ(dlg.samplesWritten(), 0);
    EXPECT_EQ(l.messages.shown, std::vector<int>{111});  // reported once
}

}  // namespace
}  // namespace velmora::testing
