// End to end: a label composed with the tester's builders, multi-sent to the simulated printer,
// comes out as exactly one printed label with exactly those fields; and the same file sent by
// velmora-cli to a separate velmora-sim writes that label as its JSON file.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "app/toolcontext.h"
#include "resources/templates_tester.h"
#include "sim/labelrecord.h"
#include "support/processes.h"
#include "support/simdevice.h"
#include "tester/tavl_cmdtesterdlg.h"
#include "ui/testhost.h"

namespace velmora::testing {
namespace {

using namespace resources;

class TesterToPrinter : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(link.comm.Open(), 1);
        dlg.Create();
        dir = std::filesystem::temp_directory_path() / ("velmora-e2e-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    // One "Insert to label" from the builder behind `button` after `act`, then "Close".
    void insertOnce(int button, std::function<void(ui::Dialog&)> act) {
        host.modalScripts.push_back([act](ui::Dialog& b) {
            act(b);
            b.click(IDC_B_INSERT);
            return ui::IDCANCEL;
        });
        host.modalScripts.push_back([](ui::Dialog& b) {
            b.click(ui::IDOK);
            return ui::IDOK;
        });
        dlg.click(button);
    }

    SimLink link;
    ui::TestHost host;
    app::ToolContext ctx{link.comm, link.clock, host};
    tester::CTAVL_CmdTesterDlg dlg{ctx};
    std::filesystem::path dir;
};

TEST_F(TesterToPrinter, OneLabelWithTheInsertedFields) {
    insertOnce(IDC_TT_BITMAP_TEXT, [](ui::Dialog& b) { b.typeText(IDC_B_DATA, "Velmora end to end"); });
    insertOnce(IDC_TT_BARCODE_1D, [](ui::Dialog& b) {
        b.chooseItem(IDC_B1_TYPE, 7);
        b.typeText(IDC_B_Y, "200");
        b.typeText(IDC_B_DATA, "4006381333931");
    });
    insertOnce(IDC_TT_LINE_BOX, [](ui::Dialog& b) { b.chooseItem(IDC_BD_TYPE, 4); });
    insertOnce(IDC_TT_COPIES, [](ui::Dialog& b) { b.typeText(IDC_PC_QUANTITY, "2"); });
    EXPECT_EQ(dlg.commandText(),
              "T20,20,3,1,1,0,0,N,N,'Velmora end to end'\r\n"
              "B1100,200,7,2,7,100,0,1,'4006381333931'\r\n"
              "BD100,100,800,120,B,20\r\n"
              "P2,1\r\n");
    dlg.click(IDC_TT_MULTI_SEND);

    const auto labels = link.printer.printedLabels();
    ASSERT_EQ(labels.size(), 1u);
    const sim::LabelRecord& label = labels[0];
    EXPECT_EQ(label.quantity, 2);
    EXPECT_EQ(label.copies, 1);
    EXPECT_TRUE(label.errors.empty());
    const std::vector<sim::LabelField> fields = {
        sim::TextField{20, 20, '3', 1, 1, 0, 0, false, false, "Velmora end to end"},
        sim::Barcode1DField{100, 200, 7, 2, 7, 100, 0, true, std::nullopt, "4006381333931"},
        sim::BoxField{100, 100, 800, 120, 'B', 20},
    };
    EXPECT_EQ(label.fields, fields);

    // The same text saved by the tester and sent by velmora-cli to a separate simulator.
    const std::string file = (dir / "label.txt").string();
    host.fileAnswers.push_back(file);
    dlg.click(IDC_TT_SAVE);
    const std::filesystem::path labelsDir = dir / "labels";
    SimProcess sim({"--labels", labelsDir.string()});
    ASSERT_FALSE(sim.address.empty());
    const ProcessResult r = runCliProcess("--tcp " + sim.address + " tester send " + file);
    ASSERT_EQ(r.status, 0) << r.output;
    // The simulator writes the file once the print command has arrived; allow it a moment.
    const std::filesystem::path written = labelsDir / "label-0001.json";
    for (int i = 0; i < 100 && !std::filesystem::exists(written); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ASSERT_TRUE(std::filesystem::exists(written));
    std::ifstream in(written, std::ios::binary);
    std::string json((std::istreambuf_iterator<char>(in)), {});
    while (!json.empty() && json.back() == '\n') json.pop_back();
    std::string expected = sim::labelToJson(label);
    while (!expected.empty() && expected.back() == '\n') expected.pop_back();
    EXPECT_EQ(json, expected);
    EXPECT_FALSE(std::filesystem::exists(labelsDir / "label-0002.json"));
}

// Escaped apostrophes and backslashes reach the label as the characters they stand for; text
// the code page cannot hold is not sent at all.
TEST_F(TesterToPrinter, EscapedQuotesPrintAndTextTheCodePageLacksIsRefused) {
    insertOnce(IDC_TT_BITMAP_TEXT, [](ui::Dialog& b) { b.typeText(IDC_B_DATA, "it\\'s C:\\\\"); });
    dlg.typeText(IDC_TT_EDITOR, dlg.commandText() + "P1\r\n");
    dlg.click(IDC_TT_MULTI_SEND);
    const auto labels = link.printer.printedLabels();
    ASSERT_EQ(labels.size(), 1u);
    EXPECT_TRUE(labels[0].errors.empty());
    const std::vector<sim::LabelField> fields = {sim::TextField{20, 20, '3', 1, 1, 0, 0, false, false, "it's C:\\"}};
    EXPECT_EQ(labels[0].fields, fields);

    const auto received = link.printer.journal().totalBytes();
    dlg.typeText(IDC_TT_EDITOR, "T20,20,3,1,1,0,0,N,N,'\xD0\x96'\r\nP1\r\n");  // Ж
    dlg.click(IDC_TT_MULTI_SEND);
    EXPECT_EQ(link.printer.journal().totalBytes(), received);
    EXPECT_EQ(dlg.control(IDC_TT_SENT_COUNTER).text(), "");
    const std::string refusal = "code page WINDOWS-1252 cannot hold 1 character(s) of the text; nothing was sent";
    EXPECT_EQ(host.messageTexts(), std::vector<std::string>{refusal});
}

}  // namespace
}  // namespace velmora::testing
