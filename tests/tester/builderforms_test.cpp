// The builders worked from keys build what their dialogs build when a user makes the same
// choices: the lines "Insert to label" hands over and the test labels.
#include <gtest/gtest.h>

#include <functional>

#include "app/typedtext.h"
#include "resources/messages.h"
#include "resources/stringtable.h"
#include "resources/templates_tester.h"
#include "support/linkfixture.h"
#include "tester/1d_barcodecommand.h"
#include "tester/2d_barcodecommand.h"
#include "tester/blockdrawcommand.h"
#include "tester/builderforms.h"
#include "tester/labelsetting.h"
#include "tester/printercopies.h"
#include "tester/printingsetting.h"
#include "tester/textcommand.h"
#include "tester/vectortextcommand.h"
#include "ui/testhost.h"

namespace velmora::testing {
namespace {

using namespace resources;
using namespace tester;
using Keys = std::vector<std::pair<std::string, std::string>>;

class BuilderForms : public ::testing::Test {
protected:
    void SetUp() override {
        l.comm.portName = "COM1:";
        ASSERT_EQ(l.comm.Open(), 1);
    }
    std::unique_ptr<TesterBuilder> make(const std::string& name) {
        if (name == "text") return std::make_unique<CTextCommand>(ctx);
        if (name == "vector") return std::make_unique<CVectorTextCommand>(ctx);
        if (name == "barcode1d") return std::make_unique<C1D_BarcodeCommand>(ctx);
        if (name == "barcode2d") return std::make_unique<C2D_BarcodeCommand>(ctx);
        if (name == "box") return std::make_unique<CBlockDrawCommand>(ctx);
        if (name == "label") return std::make_unique<CLabelSetting>(ctx);
        if (name == "printing") return std::make_unique<CPrintingSetting>(ctx);
        return std::make_unique<CPrinterCopies>(ctx);
    }
    ScriptedLink l;
    ui::TestHost host;
    app::ToolContext ctx{l.comm, l.clock, host};
};

TEST_F(BuilderForms, KeysBuildWhatTheDialogBuilds) {
    struct Case {
        std::string builder;
        Keys keys;
        std::function<void(ui::Dialog&)> user;
    };
    const Case cases[] = {
        {"text",
         {{"x", "12.9"}, {"rotation", "270"}, {"font", "B"}, {"reverse", "r"}, {"bold", "B"}, {"text", "Hi"}},
         [](ui::Dialog& d) {
             d.typeText(IDC_B_X, "12.9");
             d.chooseItem(IDC_BT_FONT, 11);
             d.chooseItem(IDC_B_ROTATION, 3);
             d.chooseItem(IDC_BT_REVERSE, 1);
             d.chooseItem(IDC_BT_BOLD, 1);
             d.typeText(IDC_B_DATA, "Hi");
         }},
        {"vector",
         {{"width", "40"}, {"bold", "bold"}, {"italic", "italic"}, {"justification", "center"},
          {"text-direction", "right-to-left"}},
         [](ui::Dialog& d) {
             d.typeText(IDC_VT_WIDTH, "40");
             d.chooseItem(IDC_VT_BOLD, 1);
             d.chooseItem(IDC_VT_ITALIC, 1);
             d.chooseItem(IDC_VT_JUSTIFY, 1);
             d.chooseItem(IDC_VT_DIRECTION, 1);
         }},
        {"barcode1d",
         {{"type", "ean13"}, {"rotation", "90"}, {"hri", "off"}, {"q-zone", "5"}},
         [](ui::Dialog& d) {
             d.chooseItem(IDC_B1_TYPE, 7);
             d.chooseItem(IDC_B_ROTATION, 1);
             d.chooseItem(IDC_B1_HRI, 0);
             d.click(IDC_B1_QZONE_ON);
             d.typeText(IDC_B1_QZONE, "5");
         }},
        {"barcode2d",
         {{"type", "pdf417"}, {"max-row", "10"}, {"ecc", "5"}, {"compress", "binary"}, {"origin", "center"},
          {"rotation", "180"}},
         [](ui::Dialog& d) {
             d.chooseItem(IDC_B2_SYMBOLOGY, 1);
             d.typeText(IDC_B2_ROWS, "10");
             d.chooseItem(IDC_B2_ECC, 5);
             d.chooseItem(IDC_B2_COMPRESS, 2);
             d.chooseItem(IDC_B2_ORIGIN, 1);
             d.chooseItem(IDC_B_ROTATION, 2);
         }},
        {"barcode2d",
         {{"type", "qr-code"}, {"mode", "1"}, {"ecc", "q"}},
         [](ui::Dialog& d) {
             d.chooseItem(IDC_B2_SYMBOLOGY, 2);
             d.chooseItem(IDC_B2_MODE, 0);
             d.chooseItem(IDC_B2_ECC, 2);
         }},
        {"barcode2d", {{"mode", "3"}}, [](ui::Dialog& d) { d.chooseItem(IDC_B2_MODE, 2); }},
        {"box",
         {{"type", "s"}, {"end-x", "500"}},
         [](ui::Dialog& d) {
             d.chooseItem(IDC_BD_TYPE, 3);
             d.typeText(IDC_BD_END_X, "500");
         }},
        {"label",
         {{"unit", "dots"}, {"width", "600"}, {"length", "off"}, {"media", "continuous"}, {"x-margin", "8"}},
         [](ui::Dialog& d) {
             d.click(IDC_LS_DOTS);
             d.typeText(IDC_LS_WIDTH, "600");
             d.click(IDC_LS_LENGTH_ON);
             d.click(IDC_LS_CONTINUOUS);
             d.typeText(IDC_LS_X_MARGIN, "8");
         }},
        {"label", {{"unit", "mm"}, {"margin", "off"}}, [](ui::Dialog& d) {
             d.click(IDC_LS_MM);
             d.click(IDC_LS_MARGINS_ON);
         }},
        {"printing",
         {{"speed", "2.5"}, {"density", "7"}, {"direction", "off"}},
         [](ui::Dialog& d) {
             d.click(IDC_PS_SPEED_FIRST);
             d.moveSlider(IDC_PS_SLIDER, 13);
             d.click(IDC_PS_DIRECTION_ON);
         }},
        {"copies", {{"quantity", "4"}}, [](ui::Dialog& d) { d.typeText(IDC_PC_QUANTITY, "4"); }},
    };
    for (const Case& c : cases) {
        const BuilderForm& form = *findBuilderForm(c.builder);
        SCOPED_TRACE(c.builder + " " + c.keys.front().first + "=" + c.keys.front().second);
        auto dialog = make(c.builder);
        dialog->Create();
        c.user(*dialog);
        const Build inserted = buildFromKeys(form, c.keys, false);
        dialog->click(IDC_B_INSERT);
        ASSERT_TRUE(dialog->insertRequested());
        EXPECT_EQ(inserted.status, Build::Status::Ok) << inserted.message;
        EXPECT_EQ(inserted.text, dialog->InsertText());
        if (!form.testPrint) continue;
        auto again = make(c.builder);
        again->Create();
        c.user(*again);
        l.script.writes.clear();
        again->click(IDC_B_TEST_PRINT);
        ASSERT_EQ(l.script.writes.size(), 1u);
        EXPECT_EQ(buildFromKeys(form, c.keys, true).text, l.script.writes[0]);
    }
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(BuilderForms, ValuesNoControlOffersAndValuesTheChecksRefuse) {
    struct Case {
        std::string builder;
        Keys keys;
        Build::Status status;
        std::string message;
    };
    const Case cases[] = {
        {"text", {{"rotation", "45"}}, Build::Status::BadValue, "rotation cannot be 45"},
        {"barcode2d", {{"ecc", "1"}}, Build::Status::BadValue, "ecc cannot be 1"},  // Maxicode has none
        {"printing", {{"density", "21"}}, Build::Status::BadValue, "density cannot be 21"},
        {"label", {{"media", "paper"}, {"margin", "maybe"}}, Build::Status::BadValue, "media cannot be paper"},
        // A choice no list offers is said before any typed value is checked.
        {"text", {{"x", "1000"}, {"bold", "I"}}, Build::Status::BadValue, "bold cannot be I"},
        {"text", {{"x", "1000"}}, Build::Status::Refused, "Enter a number between 0 and 999."},
        {"label", {{"unit", "dots"}, {"width", "3e9"}}, Build::Status::Refused,
         "Enter a number between -2147483647 and 2147483647."},
        {"copies", {{"copies", "two"}}, Build::Status::Refused, "Enter an integer."},
        {"barcode1d", {{"data", "A\rB"}}, Build::Status::Refused, resources::LoadString(msg::kQuotedFieldBreaks)},
        {"text", {{"text", "C:\\"}}, Build::Status::Refused, resources::LoadString(msg::kQuotedFieldBreaks)},
    };
    for (const Case& c : cases) {
        const Build b = buildFromKeys(*findBuilderForm(c.builder), c.keys, false);
        EXPECT_EQ(b.status, c.status) << c.message;
        EXPECT_EQ(b.message, c.message);
        EXPECT_TRUE(b.text.empty());
    }
}

}  // namespace
}  // namespace velmora::testing
