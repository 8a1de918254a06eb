// The two-byte code page prints of both languages: the exact first label of each table, the
// label counts of "print all", block values, the native refusals, the sizes, and a print series
// that stops at the first failed write.
#include <gtest/gtest.h>

#include <memory>

#include "app/dialogcatalog.h"
#include "app/toolcontext.h"
#include "resources/templates_terminal.h"
#include "resources/templates_tester.h"
#include "support/hex.h"
#include "support/linkfixture.h"
#include "tester/tavl_cmdtesterdlg.h"
#include "tester/twobytescodedlg.h"
#include "ui/testhost.h"
#include "zii/zii_twobytescodedlg.h"

namespace velmora::testing {
namespace {

using namespace resources;

std::string row(int lead, int first, int last) {
    std::string out;
    for (int t = first; t <= last; ++t) out += {static_cast<char>(lead), static_cast<char>(t)};
    return out;
}

std::string escapes(const char* lead, int first, int last) {
    std::string out;
    char buf[8];
    for (int t = first; t <= last; ++t) {
        std::snprintf(buf, sizeof buf, "_%s_%02x", lead, t);
        out += buf;
    }
    return out;
}

class TwoByte : public ::testing::Test {
protected:
    void SetUp() override {
        l.comm.portName = "COM1:";
        ASSERT_EQ(l.comm.Open(), 1);
        l.script.writes.clear();
    }
    // The native (false) or ZII (true) dialog, opened.
    std::unique_ptr<tester::TwoByteCodeDialog> open(bool zii) {
        std::unique_ptr<tester::TwoByteCodeDialog> d;
        if (zii)
            d = std::make_unique<zii::CZII_TwobytesCodeDlg>(ctx);
        else
            d = std::make_unique<tester::CTwobytesCodeDlg>(ctx);
        d->Create();
        return d;
    }
    ScriptedLink l;
    ui::TestHost host;
    app::ToolContext ctx{l.comm, l.clock, host};
};

TEST_F(TwoByte, OpensOnKs5601WithTheBitmapFontD) {
    auto d = open(false);
    EXPECT_EQ(d->control(IDC_TB_TABLE).curSel(), 0);
    EXPECT_EQ(d->control(IDC_TB_AREA).text(), "A1 to F7");
    EXPECT_EQ(d->control(IDC_TB_START).text(), "A1");
    EXPECT_EQ(d->control(IDC_TB_END).text(), "F7");
    EXPECT_EQ(d->control(IDC_TB_BITMAP_FONT).items(), (std::vector<std::string>{"a", "b", "c", "d", "e", "f"}));
    EXPECT_EQ(d->control(IDC_TB_BITMAP_FONT).curSel(), 3);
    EXPECT_TRUE(d->control(IDC_TB_BITMAP).checked());
    EXPECT_FALSE(d->control(IDC_TB_WIDTH).enabled());
    d->click(IDC_TB_VECTOR);
    EXPECT_TRUE(d->control(IDC_TB_WIDTH).enabled());
    EXPECT_FALSE(d->control(IDC_TB_BITMAP_FONT).enabled());

    d->chooseItem(IDC_TB_TABLE, 3);
    EXPECT_EQ(d->control(IDC_TB_AREA).text(), "81 to EE, FA to FC");
    EXPECT_EQ(d->control(IDC_TB_BITMAP_FONT).items(), (std::vector<std::string>{"j"}));
    EXPECT_EQ(d->control(IDC_TB_BITMAP_FONT).curSel(), 0);
    d->typeText(IDC_TB_START, "90");
    d->click(IDC_TB_ALL);
    EXPECT_EQ(d->control(IDC_TB_START).text(), "81");
    EXPECT_FALSE(d->control(IDC_TB_START).enabled());
    d->click(IDC_TB_ALL);
    EXPECT_TRUE(d->control(IDC_TB_END).enabled());
}

TEST_F(TwoByte, FirstLabelOfEachTableInBothLanguages) {
    struct Case {
        int table;
        bool zii, vector;
        std::string start;
        std::string expected;
    };
    const Case cases[] = {
        {0, false, false, "B0", "T20,20,d,1,1,0,0,N,N,'" + row(0xB0, 0xA1, 0xFE) + "'\rP1\r"},
        {1, false, false, "A1", "T20,20,m,1,1,0,0,N,N,'" + row(0xA1, 0xA1, 0xFE) + "'\rP1\r"},
        {2, false, true, "A1", "V20,20,B,35,35,1,N,N,N,0,L,0,'" + row(0xA1, 0x40, 0xFE) + "'\rP1\r"},
        {3, false, false, "81", "T20,20,j,1,1,0,0,N,N,'" + row(0x81, 0x3F, 0xFE) + "'\rP1\r"},
        {0, true, false, "B0", "^XA^CI51^FO20,20^A6,35,35^TBN,750,1200^FH_^FD" + escapes("b0", 0xA1, 0xFE) + "^FS^XZ"},
        {1, true, false, "A1", "^XA^CI52^FO20,20^A7,35,35^TBN,750,1200^FH_^FD" + escapes("a1", 0xA1, 0xFE) + "^FS^XZ"},
        {2, true, false, "A1", "^XA^CI53^FO20,20^A8,35,35^TBN,750,1200^FH_^FD" + escapes("a1", 0x40, 0xFE) + "^FS^XZ"},
        {3, true, false, "81", "^XA^CI54^FO20,20^A9,35,35^TBN,750,1200^FH_^FD" + escapes("81", 0x3F, 0xFE) + "^FS^XZ"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.table) + (c.zii ? " zii" : " native"));
        l.script.writes.clear();
        auto d = open(c.zii);
        d->chooseItem(IDC_TB_TABLE, c.table);
        if (c.vector) d->click(IDC_TB_VECTOR);
        d->typeText(IDC_TB_START, c.start);
        d->typeText(IDC_TB_END, c.start);
        d->click(IDC_TB_PRINT);
        ASSERT_EQ(l.script.writes.size(), 1u);
        EXPECT_EQ(hex(l.script.writes[0]), hex(c.expected));
    }
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(TwoByte, PrintAllWritesOneLabelPerLeadByte) {
    const std::size_t counts[] = {87, 87, 72, 124};
    for (bool zii : {false, true}) {
        for (int table = 0; table < 4; ++table) {
            l.script.writes.clear();
            auto d = open(zii);
            d->chooseItem(IDC_TB_TABLE, table);
            d->click(IDC_TB_ALL);
            d->click(IDC_TB_PRINT);
            EXPECT_EQ(l.script.writes.size(), counts[table]) << table << (zii ? " zii" : " native");
            EXPECT_EQ(d->labelsWritten(), static_cast<int>(counts[table]));
        }
    }
    EXPECT_EQ(host.waitCursorDepth, 0);
}

TEST_F(TwoByte, BlockValuesAndSizes) {
    struct Case {
        bool zii;
        std::string start, end, width;
        std::vector<std::string> messages;
        std::size_t labels;
    };
    const std::string start = "Start Block value is wrong!", end = "End Block value is wrong!";
    const std::string digits = "The vector font width and height take 1 to 32 digits.";
    const Case cases[] = {
        {false, "b0", "B1", "35", {}, 2},
        {false, "B", "B1", "35", {start}, 0},
        {false, "B0 ", "B1", "35", {start}, 0},
        {false, "G1", "B1", "35", {start}, 0},
        {false, "B0", "", "35", {end}, 0},
        {false, "C0", "B0", "35", {}, 0},
        // Native lead bytes that would end the quoted text are refused.
        {false, "1F", "20", "35", {start}, 0},
        {false, "27", "27", "35", {start}, 0},
        {false, "20", "30", "35", {end}, 0},
        {false, "28", "30", "35", {}, 9},
        // The ZII escapes carry any byte.
        {true, "10", "27", "35", {}, 24},
        {true, "F7", "A1", "35", {}, 0},
        {true, "A1", "A1", "", {digits}, 0},
        {true, "A1", "A1", std::string(33, '9'), {digits}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.start + "-" + c.end + " width " + c.width);
        l.script.writes.clear();
        host.messages.clear();
        auto d = open(c.zii);
        d->typeText(IDC_TB_START, c.start);
        d->typeText(IDC_TB_END, c.end);
        d->typeText(IDC_TB_WIDTH, c.width);
        d->click(IDC_TB_PRINT);
        EXPECT_EQ(host.messageTexts(), c.messages);
        EXPECT_EQ(l.script.writes.size(), c.labels);
    }
    // The bitmap font takes no sizes; the vector font does (the edits take digits only).
    auto d = open(false);
    d->typeText(IDC_TB_START, "B0");
    d->typeText(IDC_TB_END, "B0");
    d->click(IDC_TB_VECTOR);
    d->typeText(IDC_TB_WIDTH, "");
    d->click(IDC_TB_BITMAP);
    host.messages.clear();
    d->click(IDC_TB_PRINT);
    EXPECT_TRUE(host.messages.empty());
    d->click(IDC_TB_VECTOR);
    d->click(IDC_TB_PRINT);
    EXPECT_EQ(host.messageTexts(), std::vector<std::string>{digits});
}

TEST_F(TwoByte, ASeriesStopsAtTheFirstFailedWrite) {
    for (bool zii : {false, true}) {
        l.script.writes.clear();
        l.messages.shown.clear();
        l.script.writeScript.assign(30, -1);
        auto d = open(zii);
        d->click(IDC_TB_ALL);
        d->click(IDC_TB_PRINT);
        EXPECT_EQ(l.messages.shown, std::vector<int>{111});
        EXPECT_EQ(d->labelsWritten(), 0);
        l.script.writeScript.clear();
    }
}

TEST_F(TwoByte, TheTestersPrintCodesOpensTheNativePrint) {
    tester::CTAVL_CmdTesterDlg testerDlg(ctx);
    testerDlg.Create();
    testerDlg.click(IDC_TT_PRINT_CODES);
    EXPECT_EQ(host.modalTemplates, std::vector<int>{198});
}

}  // namespace
}  // namespace velmora::testing
