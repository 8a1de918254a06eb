// The builder dialogs as a user drives them: defaults, what "Insert to label" hands over and
// keeps, test prints, the 2D builder's three shapes, unit switching, refusals.
#include <gtest/gtest.h>

#include "app/toolcontext.h"
#include "app/typedtext.h"
#include "resources/messages.h"
#include "resources/stringtable.h"
#include "resources/templates_tester.h"
#include "support/linkfixture.h"
#include "tester/1d_barcodecommand.h"
#include "tester/2d_barcodecommand.h"
#include "tester/blockdrawcommand.h"
#include "tester/charactersetcommand.h"
#include "tester/convertunit.h"
#include "tester/fontfinder.h"
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

class Builders : public ::testing::Test {
protected:
    void SetUp() override {
        l.comm.portName = "COM1:";
        ASSERT_EQ(l.comm.Open(), 1);
    }
    // Opens the builder (again), lets `act` play the user, presses "Insert to label".
    static std::string insert(TesterBuilder& b, const std::function<void(ui::Dialog&)>& act = {}) {
        b.clearInsertRequest();
        b.Create();
        if (act) act(b);
        b.click(IDC_B_INSERT);
        return b.insertRequested() ? b.InsertText() : std::string();
    }
    ScriptedLink l;
    ui::TestHost host;
    app::ToolContext ctx{l.comm, l.clock, host};
};

TEST_F(Builders, DefaultsInsertTheirLines) {
    CTextCommand text(ctx);
    CVectorTextCommand vector(ctx);
    C1D_BarcodeCommand b1(ctx);
    C2D_BarcodeCommand b2(ctx);
    CBlockDrawCommand box(ctx);
    CLabelSetting label(ctx);
    CPrintingSetting printing(ctx);
    CPrinterCopies copies(ctx);
    EXPECT_EQ(insert(text), "T20,20,3,1,1,0,0,N,N,'Bar Code Printer Norvik Label Printer'\r\n");
    EXPECT_EQ(insert(vector), "V20,20,U,35,35,1,N,N,N,0,L,0,'Bar Code Printer Norvik Label Printer'\r\n");
    EXPECT_EQ(insert(b1), "B1100,100,0,2,7,100,0,1,'123456789'\r\n");
    EXPECT_EQ(insert(b2), std::string("B2100,100,M,0,'") + kMaxicodeOpeningData + "'\r\n");
    EXPECT_EQ(insert(box), "BD100,100,800,120,O\r\n");
    EXPECT_EQ(insert(label), "SW812\r\nSL1219,24,G\r\nSM40,40\r\n");
    EXPECT_EQ(insert(printing), "SS3\r\nSD20\r\nSOT\r\n");
    EXPECT_EQ(insert(copies), "P1,1\r\n");
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(Builders, ReopeningKeepsValuesAndSavedSelections) {
    CTextCommand text(ctx);
    text.Create();
    text.chooseItem(IDC_B_ROTATION, 3);
    text.typeText(IDC_B_X, "12.9");
    text.click(IDC_B_INSERT);
    ASSERT_TRUE(text.insertRequested());
    EXPECT_EQ(text.InsertText(), "T12,20,3,1,1,0,3,N,N,'Bar Code Printer Norvik Label Printer'\r\n");
    host.modalScripts.push_back([](ui::Dialog& d) {
        EXPECT_EQ(d.control(IDC_B_ROTATION).curSel(), 3);
        EXPECT_EQ(d.control(IDC_B_X).text(), "12.9");
        return ui::IDOK;
    });
    text.ShowModal();

    C1D_BarcodeCommand b1(ctx);
    EXPECT_EQ(insert(b1,
                     [](ui::Dialog& d) {
                         d.click(IDC_B1_QZONE_ON);
                         d.chooseItem(IDC_B1_TYPE, 9);
                         d.chooseItem(IDC_B_ROTATION, 1);
                     }),
              "B1100,100,9,2,7,100,1,1,12,'123456789'\r\n");
    host.modalScripts.push_back([](ui::Dialog& d) {
        EXPECT_TRUE(d.control(IDC_B1_QZONE).enabled());
        EXPECT_TRUE(d.control(IDC_B1_QZONE_SPIN).enabled());
        return ui::IDOK;
    });
    b1.ShowModal();

    CPrinterCopies copies(ctx);
    insert(copies, [](ui::Dialog& d) { d.typeText(IDC_PC_QUANTITY, "5"); });
    host.modalScripts.push_back([](ui::Dialog& d) {
        EXPECT_EQ(d.control(IDC_PC_QUANTITY).text(), "1");  // copies start from 1 and 1 each time
        return ui::IDOK;
    });
    copies.ShowModal();
}

TEST_F(Builders, TestPrintsSendOneLabel) {
    CTextCommand text(ctx);
    text.Create();
    text.chooseItem(IDC_B_ROTATION, 2);
    text.click(IDC_B_TEST_PRINT);
    C1D_BarcodeCommand b1(ctx);
    b1.Create();
    b1.click(IDC_B_TEST_PRINT);
    C2D_BarcodeCommand b2(ctx);
    b2.Create();
    b2.chooseItem(IDC_B2_SYMBOLOGY, 2);
    b2.chooseItem(IDC_B2_ECC, 3);
    b2.click(IDC_B_TEST_PRINT);
    CBlockDrawCommand box(ctx);
    box.Create();
    box.click(IDC_B_TEST_PRINT);
    EXPECT_EQ(l.script.writes,
              (std::vector<std::string>{"T20,20,3,1,1,0,2,N,N,'Bar Code Printer Norvik Label Printer'\rP1\r",
                                        "B1100,100,0,2,7,100,0,1,'123456789'\rP1\r",
                                        "B2100,100,Q,1,H,4,0,'ABCDEFGHIJKLMN1234567890'\rP1\r",
                                        "BD100,100,800,120,O\rP1\r"}));
}

TEST_F(Builders, TwoDimensionalBuilderReshapesPerSymbology) {
    C2D_BarcodeCommand b2(ctx);
    b2.Create();
    EXPECT_TRUE(b2.control(IDC_B2_MODE).enabled());
    EXPECT_FALSE(b2.control(IDC_B2_ROWS).enabled());
    EXPECT_FALSE(b2.control(IDC_B2_ECC).enabled());
    b2.chooseItem(IDC_B2_MODE, 2);
    EXPECT_EQ(insert(b2).substr(0, 15), "B2100,100,M,3,'");
    b2.chooseItem(IDC_B2_MODE, 3);
    EXPECT_EQ(insert(b2), "B2100,100,M,4,'" + maxicodeModeData(3) + "'\r\n");

    b2.chooseItem(IDC_B2_SYMBOLOGY, 1);
    EXPECT_EQ(b2.control(IDC_B2_TYPE_LETTER).text(), "P");
    EXPECT_EQ(b2.control(IDC_B2_ECC_LABEL).text(), "ECL");
    EXPECT_EQ(b2.control(IDC_B2_ECC).count(), 9);
    EXPECT_FALSE(b2.control(IDC_B2_MODE).enabled());
    EXPECT_TRUE(b2.control(IDC_B2_ROWS).enabled());
    EXPECT_EQ(insert(b2),
              "B2100,100,P,30,5,0,0,1,1,3,10,0,'Bar Code Printer Norvik Label Printer, This is Test Printing.'\r\n");

    b2.chooseItem(IDC_B2_SYMBOLOGY, 2);
    EXPECT_EQ(b2.control(IDC_B2_BAR_LABEL).text(), "Bar Size");
    EXPECT_EQ(b2.control(IDC_B2_MODE_LABEL).text(), "Model");
    EXPECT_EQ(b2.control(IDC_B2_ECC_LABEL).text(), "ECC");
    EXPECT_EQ(insert(b2), "B2100,100,Q,1,L,4,0,'ABCDEFGHIJKLMN1234567890'\r\n");
    EXPECT_EQ(insert(b2,
                     [](ui::Dialog& d) {
                         d.chooseItem(IDC_B2_MODE, 1);
                         d.chooseItem(IDC_B2_ECC, 3);
                     }),
              "B2100,100,Q,2,H,4,0,'ABCDEFGHIJKLMN1234567890'\r\n");
    // A restored opening keeps the QR Code selections.
    host.modalScripts.push_back([](ui::Dialog& d) {
        EXPECT_EQ(d.control(IDC_B2_MODE).curSel(), 1);
        EXPECT_EQ(d.control(IDC_B2_ECC).curSel(), 3);
        return ui::IDOK;
    });
    b2.ShowModal();

    // Back to Maxicode: its defaults again.
    b2.chooseItem(IDC_B2_SYMBOLOGY, 0);
    EXPECT_EQ(insert(b2), "B2100,100,M,0,'" + maxicodeModeData(0) + "'\r\n");
}

TEST_F(Builders, SpinsStepTheirEditsInWholeNumbers) {
    C1D_BarcodeCommand b1(ctx);
    b1.Create();
    EXPECT_EQ(b1.control(IDC_B1_NARROW_SPIN).pos(), 2);  // the spin stands at the value shown
    EXPECT_EQ(b1.control(IDC_B1_NARROW_SPIN).rangeMax(), 100);
    b1.typeText(IDC_B_X, "12.9");
    b1.moveSlider(IDC_B_X_SPIN, 13);
    EXPECT_EQ(b1.control(IDC_B_X).text(), "13");
}

// The bitmap text and 1D barcode spins go on at the other end; the others stop at theirs.
TEST_F(Builders, TextAndLinearBarcodeSpinsWrapAtTheirEnds) {
    CTextCommand text(ctx);
    C1D_BarcodeCommand b1(ctx);
    CVectorTextCommand vector(ctx);
    struct Case {
        TesterBuilder* builder;
        int edit, spin;
        const char* typed;
        int steps;
        const char* shown;
    };
    const Case cases[] = {
        {&text, IDC_B_X, IDC_B_X_SPIN, "1000", 1, "0"},
        {&text, IDC_BT_H_MULTI, IDC_BT_H_SPIN, "1", -1, "4"},
        {&text, IDC_BT_SPACE, IDC_BT_SPACE_SPIN, "100", 1, "0"},
        {&b1, IDC_B1_HEIGHT, IDC_B1_HEIGHT_SPIN, "0", -1, "1000"},
        {&b1, IDC_B1_NARROW, IDC_B1_NARROW_SPIN, "100", 1, "1"},
        {&vector, IDC_VT_WIDTH, IDC_VT_WIDTH_SPIN, "100", 1, "100"},
        {&vector, IDC_VT_FONT_SPACE, IDC_VT_SPACE_SPIN, "-100", -1, "-100"},
    };
    for (const Case& c : cases) {
        c.builder->Create();
        c.builder->typeText(c.edit, c.typed);
        c.builder->stepSpin(c.spin, c.steps);
        EXPECT_EQ(c.builder->control(c.edit).text(), c.shown) << c.builder->caption() << " " << c.typed;
        EXPECT_EQ(c.builder->control(c.spin).wraps(), c.builder != &vector);
    }
}

TEST_F(Builders, BlockDrawTypesSetTheirShape) {
    CBlockDrawCommand box(ctx);
    box.Create();
    EXPECT_FALSE(box.control(IDC_BD_OPTIONAL).enabled());
    EXPECT_EQ(insert(box, [](ui::Dialog& d) { d.chooseItem(IDC_BD_TYPE, 3); }), "BD100,100,800,300,S,10\r\n");
    EXPECT_TRUE(box.control(IDC_BD_OPTIONAL).enabled());
    EXPECT_EQ(insert(box, [](ui::Dialog& d) { d.chooseItem(IDC_BD_TYPE, 4); }), "BD100,100,800,120,B,20\r\n");
}

TEST_F(Builders, LabelSettingShowsEachUnitAndWritesTheSameDots) {
    CLabelSetting label(ctx);
    label.Create();
    label.click(IDC_LS_MM);
    EXPECT_EQ(label.control(IDC_LS_WIDTH).text(), "101.6");
    EXPECT_EQ(label.control(IDC_LS_LENGTH).text(), "152.4");
    EXPECT_EQ(label.control(IDC_LS_X_MARGIN).text(), "5.08");
    EXPECT_EQ(label.control(IDC_LS_WIDTH_UNIT).text(), "mm");
    EXPECT_EQ(insert(label), "SW812\r\nSL1219,24,G\r\nSM40,40\r\n");
    label.click(IDC_LS_DOTS);
    EXPECT_EQ(label.control(IDC_LS_WIDTH).text(), "812.8");
    EXPECT_EQ(label.control(IDC_LS_LENGTH).text(), "1219.2");
    EXPECT_EQ(label.control(IDC_LS_Y_MARGIN).text(), "40.64");
    EXPECT_EQ(insert(label, [](ui::Dialog& d) { d.click(IDC_LS_BLACK_MARK); }), "SW812\r\nSL1219,24,B\r\nSM40,40\r\n");
    // Inches the command's integer cannot carry as dots are refused with the range.
    label.click(IDC_LS_INCH);
    EXPECT_EQ(insert(label, [](ui::Dialog& d) { d.typeText(IDC_LS_WIDTH, "99999999"); }), "");
    ASSERT_EQ(host.messageTexts().size(), 1u);
    EXPECT_EQ(host.messageTexts()[0].substr(0, 24), "Enter a number between -");
}

TEST_F(Builders, PrintingSettingSliderAndApplyBoxes) {
    CPrintingSetting printing(ctx);
    printing.Create();
    printing.moveSlider(IDC_PS_SLIDER, 20);
    EXPECT_EQ(printing.control(IDC_PS_DENSITY_TEXT).text(), "0");
    EXPECT_EQ(insert(printing), "SS3\r\nSD0\r\nSOT\r\n");
    EXPECT_EQ(insert(printing,
                     [](ui::Dialog& d) {
                         d.click(IDC_PS_SPEED_ON);
                         d.click(IDC_PS_DENSITY_ON);
                         d.click(IDC_PS_DIRECTION_ON);
                     }),
              "");
}

TEST_F(Builders, NumbersBeyondTheCommandAreRefusedWithTheRange) {
    struct Case {
        int edit;
        const char* typed;
        const char* message;
    };
    const Case cases[] = {
        {IDC_B_X, "1000", "Enter a number between 0 and 999."},
        {IDC_B_X, "abc", "Enter a number."},
        {IDC_BT_H_MULTI, "-99999999999", "Enter an integer between -2147483648 and 2147483647."},
        {IDC_BT_SPACE, "99999999999999999999999", "Enter an integer between -2147483648 and 2147483647."},
        {IDC_BT_SPACE, "x1", "Enter an integer."},
    };
    for (const auto& c : cases) {
        host.clear();
        CTextCommand text(ctx);
        EXPECT_EQ(insert(text, [&](ui::Dialog& d) { d.typeText(c.edit, c.typed); }), "") << c.typed;
        EXPECT_EQ(host.messageTexts(), std::vector<std::string>{c.message}) << c.typed;
    }
    host.clear();
    C1D_BarcodeCommand b1(ctx);
    EXPECT_EQ(insert(b1, [](ui::Dialog& d) { d.typeText(IDC_B1_HEIGHT, "3000000000"); }), "");
    EXPECT_EQ(host.messageTexts(), std::vector<std::string>{"Enter an integer between -2147483648 and 2147483647."});
    host.clear();
    CBlockDrawCommand box(ctx);
    EXPECT_EQ(insert(box, [](ui::Dialog& d) { d.typeText(IDC_BD_END_X, "1e12"); }), "");
    EXPECT_EQ(host.messageTexts(), std::vector<std::string>{"Enter a number between -2147483648 and 2147483647."});
}

TEST_F(Builders, QuotedTextThatWouldEndTheCommandIsRefused) {
    const std::string refusal = resources::LoadString(msg::kQuotedFieldBreaks);
    CTextCommand text(ctx);
    CVectorTextCommand vector(ctx);
    C1D_BarcodeCommand b1(ctx);
    C2D_BarcodeCommand b2(ctx);
    for (TesterBuilder* b : std::initializer_list<TesterBuilder*>{&text, &vector, &b1, &b2}) {
        host.clear();
        EXPECT_EQ(insert(*b, [](ui::Dialog& d) { d.typeText(IDC_B_DATA, "it's"); }), "");
        b->click(IDC_B_TEST_PRINT);
        b->typeText(IDC_B_DATA, "two\r\nlines");
        b->click(IDC_B_TEST_PRINT);
        b->typeText(IDC_B_DATA, "C:\\");  // the backslash would escape the closing apostrophe
        b->click(IDC_B_TEST_PRINT);
        EXPECT_EQ(host.messageTexts(), std::vector<std::string>(4, refusal));
        EXPECT_FALSE(b->ended());
    }
    EXPECT_TRUE(l.script.writes.empty());
    // Escaped, they go out exactly as typed.
    host.clear();
    EXPECT_EQ(insert(text, [](ui::Dialog& d) { d.typeText(IDC_B_DATA, "it\\'s C:\\\\"); }),
              "T20,20,3,1,1,0,0,N,N,'it\\'s C:\\\\'\r\n");
    EXPECT_TRUE(host.messageTexts().empty());
}

TEST_F(Builders, FontFinderFindsOrShowsNothing) {
    CFontFinder finder(ctx);
    finder.Create();
    EXPECT_EQ(finder.control(IDC_FF_SIMILAR_FONT).text(), "3");
    finder.click(IDC_FF_FIND_SIMILAR);
    finder.click(IDC_FF_FIND_ROUND);
    auto shown = [&](int f, int x, int y) {
        return finder.control(f).text() + finder.control(x).text() + finder.control(y).text();
    };
    EXPECT_EQ(shown(IDC_FF_SIMILAR_FONT, IDC_FF_SIMILAR_X, IDC_FF_SIMILAR_Y), "033");
    EXPECT_EQ(shown(IDC_FF_ROUND_FONT, IDC_FF_ROUND_X, IDC_FF_ROUND_Y), "511");
    finder.click(IDC_FF_PRINT);
    EXPECT_EQ(l.script.written(), "SL600,0,C\rT50,50,0,3,3,0,0,N,N,'TEST148'\rT50,350,5,1,1,0,0,N,N,'TEST148'\rP1\r");

    l.script.writes.clear();
    finder.typeText(IDC_FF_WIDTH, "1000");
    finder.click(IDC_FF_FIND_SIMILAR);
    finder.click(IDC_FF_FIND_ROUND);
    EXPECT_EQ(shown(IDC_FF_SIMILAR_FONT, IDC_FF_SIMILAR_X, IDC_FF_SIMILAR_Y), "");
    EXPECT_EQ(shown(IDC_FF_ROUND_FONT, IDC_FF_ROUND_X, IDC_FF_ROUND_Y), "");
    finder.click(IDC_FF_PRINT);
    EXPECT_TRUE(l.script.writes.empty());
    EXPECT_EQ(host.messageTexts(), std::vector<std::string>{"No font comes close to that size; nothing was printed."});
}

TEST_F(Builders, CharacterSetSeriesStopsAtTheFirstFailedWrite) {
    CCharacterSetCommand cs(ctx);
    cs.Create();
    cs.chooseItem(IDC_CS_TABLE, 12);
    cs.click(IDC_CS_INTERNATIONAL);
    ASSERT_EQ(l.script.writes.size(), 17u);
    EXPECT_EQ(l.script.writes[10].substr(0, 21), "CS10,12\rT30,750,3,1,1");
    l.script.writes.clear();
    for (int i = 0; i < 200; ++i) l.script.writeScript.push_back(-1);
    cs.click(IDC_CS_ALL_TABLES);
    EXPECT_EQ(l.messages.shown.size(), 1u);  // one report, not one per label
    cs.click(IDC_CS_VECTOR);
    EXPECT_EQ(cs.control(IDC_CS_H_LABEL).text(), "Width");
    EXPECT_EQ(cs.control(IDC_CS_H_SIZE).text(), "35");
    EXPECT_FALSE(cs.control(IDC_CS_FONT).enabled());
}

TEST_F(Builders, ConverterComputesOnlyOnConvert) {
    CConvertUnit cu(ctx);
    cu.Create();
    cu.typeText(IDC_CU_INPUT, "100");
    cu.click(IDC_CU_DOTS_INCH);
    EXPECT_EQ(cu.control(IDC_CU_INPUT_UNIT).text(), "dots");
    EXPECT_EQ(cu.control(IDC_CU_RESULT_UNIT).text(), "inch");
    EXPECT_EQ(cu.control(IDC_CU_RESULT).text(), "0");
    cu.click(IDC_CU_CONVERT);
    EXPECT_EQ(cu.control(IDC_CU_RESULT).text(), "0.492126");
    cu.typeText(IDC_CU_INPUT, "x");
    cu.click(IDC_CU_CONVERT);
    EXPECT_EQ(host.messageTexts(), std::vector<std::string>{"Enter a number."});
}

}  // namespace
}  // namespace velmora::testing
