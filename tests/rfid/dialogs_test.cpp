// The RFID configuration, write and read dialogs against scripted replies: the bytes they send,
// their pauses and messages, and the sound behaviour where a reading or a write is incomplete.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/typedtext.h"
#include "resources/messages.h"
#include "resources/stringtable.h"
#include "resources/templates_rfid.h"
#include "rfid/crfidread.h"
#include "rfid/crfidsetting.h"
#include "rfid/crfidwriteread.h"
#include "support/hex.h"
#include "support/linkfixture.h"
#include "ui/testhost.h"

namespace velmora::testing {
namespace {

using namespace resources;
using namespace rfid;

template <class Dialog>
class OnScript : public ::testing::Test {
protected:
    explicit OnScript(const char* port = "COM1:") { l.comm.portName = port; }
    void SetUp() override {
        ASSERT_EQ(l.comm.Open(), 1);
        dialog.Create();
        l.clock.clearPauses();
    }
    std::size_t pausesOf(unsigned ms) const { return std::ranges::count(l.clock.pauses(), ms); }
    ScriptedLink l;
    ui::TestHost host;
    app::ToolContext ctx{l.comm, l.clock, host};
    Dialog dialog{ctx};
};

using Setting = OnScript<CRFIDSetting>;
using Write = OnScript<CRFIDWriteRead>;
using Read = OnScript<CRFIDRead>;

const std::vector<std::optional<std::string>> kSevenReplies = {"GEN2", "8", "600 \r", "3", "2", "17", "4"};

TEST_F(Setting, GetFillsTheControlsAndOpensSet) {
    EXPECT_FALSE(dialog.control(IDC_RS_SET).enabled());
    l.script.readScript.assign(kSevenReplies.begin(), kSevenReplies.end());
    dialog.click(IDC_RS_GET);
    EXPECT_EQ(l.script.written(), ">RFI,1\r>RFI,2\r>RFI,3\r>RFI,4\r>RFI,5\r>RFI,6\r>RFI,7\r");
    EXPECT_EQ(pausesOf(100), 7u);
    EXPECT_EQ(host.messageTexts(), std::vector<std::string>{"Get RFID setting is successful"});
    EXPECT_EQ(dialog.control(IDC_RS_POWER).itemText(dialog.control(IDC_RS_POWER).curSel()), "7");
    EXPECT_EQ(dialog.control(IDC_RS_POSITION).text(), "600");
    EXPECT_EQ(dialog.control(IDC_RS_VALID).text(), "17");
    for (int id : {IDC_RS_TAG_TYPE, IDC_RS_POWER, IDC_RS_POSITION, IDC_RS_RETRY, IDC_RS_LABELS, IDC_RS_SET, IDC_RS_RESET})
        EXPECT_TRUE(dialog.control(id).enabled()) << id;

    l.script.writes.clear();
    host.clear();
    dialog.chooseItem(IDC_RS_POWER, 0);
    dialog.click(IDC_RS_SET);
    EXPECT_EQ(l.script.written(), ">RFS,5,3,2,1\r>RFTP,600\r");
    EXPECT_EQ(host.messageTexts(), std::vector<std::string>{"Set RFID setting is successful"});

    // A position that is not a whole number, or a list left empty, is never sent.
    for (auto spoil : {+[](ui::Dialog& d) { d.typeText(IDC_RS_POSITION, "6\r>RFKL"); },
                       +[](ui::Dialog& d) { d.control(IDC_RS_RETRY).setCurSel(-1); }}) {
        l.script.writes.clear();
        host.clear();
        spoil(dialog);
        dialog.click(IDC_RS_SET);
        EXPECT_EQ(l.script.written(), "");
        EXPECT_EQ(host.messageTexts(), std::vector<std::string>{"Set RFID setting is failed"});
        dialog.typeText(IDC_RS_POSITION, "600");
        dialog.chooseItem(IDC_RS_RETRY, 3);
    }
}

TEST_F(Setting, AGetWithAnyItemUnansweredFailsAndOpensNothing) {
    // Items 1 to 6 answer, the seventh does not; then only the seventh answers.
    for (std::size_t answered : {6u, 1u}) {
        host.clear();
        l.script.readScript.clear();
        if (answered == 6)
            l.script.readScript.assign(kSevenReplies.begin(), kSevenReplies.begin() + 6);
        else
            l.script.readScript = {"4"};  // read by the first query; the other six get nothing
        dialog.click(IDC_RS_GET);
        EXPECT_EQ(host.messageTexts(), std::vector<std::string>{"Get RFID setting is failed"});
        EXPECT_FALSE(dialog.control(IDC_RS_SET).enabled());
    }
}

TEST_F(Setting, DefaultsResetAndCalibration) {
    dialog.click(IDC_RS_DEFAULT);
    EXPECT_EQ(dialog.control(IDC_RS_TAG_TYPE).curSel(), 0);
    EXPECT_EQ(dialog.control(IDC_RS_POSITION).text(), "600");
    EXPECT_FALSE(dialog.control(IDC_RS_SET).enabled());
    EXPECT_EQ(l.script.written(), "");
    dialog.click(IDC_RS_CALIBRATE);
    l.script.readScript.assign(kSevenReplies.begin(), kSevenReplies.end());
    dialog.click(IDC_RS_GET);
    dialog.click(IDC_RS_RESET);
    EXPECT_EQ(dialog.control(IDC_RS_VALID).text(), "0");
    EXPECT_EQ(dialog.control(IDC_RS_VOID).text(), "0");
    EXPECT_TRUE(l.script.written().starts_with(">RFCP\r>RFI,1\r"));
    EXPECT_TRUE(l.script.written().ends_with(">RFVR\r"));
}

// Sets the data range and types the cells.
void setData(ui::Dialog& d, int start, int count, const std::vector<std::string>& cells, bool ascii = false) {
    d.chooseItem(IDC_RW_FORMAT, ascii ? 1 : 0);
    d.chooseItem(IDC_RW_START, start);
    d.chooseItem(IDC_RW_COUNT, count - 2);
    d.click(IDC_RW_SET_DATA);
    for (std::size_t i = 0; i < cells.size(); ++i) d.typeText(IDC_RW_CELL_FIRST + start + static_cast<int>(i), cells[i]);
}

const std::vector<std::string> kTwelve = {"30", "08", "33", "B2", "DD", "D9", "01", "40", "00", "00", "00", "01"};

TEST_F(Write, OpensComposing) {
    EXPECT_EQ(dialog.control(IDC_RW_ACCESS).text(), "5E.2B.7A.19");
    EXPECT_EQ(dialog.control(IDC_RW_KILL).text(), "5E.2B.7A.19");
    EXPECT_EQ(dialog.control(IDC_RW_START).curSel(), 4);
    EXPECT_EQ(dialog.control(IDC_RW_COUNT).itemText(dialog.control(IDC_RW_COUNT).curSel()), "12");
    EXPECT_EQ(dialog.control(IDC_RW_FORMAT).curSel(), 0);
    EXPECT_TRUE(dialog.control(IDC_RW_EPC).checked());
    EXPECT_FALSE(dialog.control(IDC_RW_LABEL).checked() || dialog.control(IDC_RW_METAL).checked());
    for (int id : {int{IDC_RW_WRITE}, int{IDC_RW_RESET_DATA}, int{IDC_RW_CELL_FIRST}, IDC_RW_CELL_FIRST + 63})
        EXPECT_FALSE(dialog.control(id).enabled()) << id;
    dialog.click(IDC_RW_DO_LOCK);
    EXPECT_TRUE(dialog.control(IDC_RW_WRITE).enabled());
    dialog.click(IDC_RW_DO_LOCK);
    EXPECT_FALSE(dialog.control(IDC_RW_WRITE).enabled());
}

TEST_F(Write, SetDataRangeEndsAtTheLastCell) {
    struct Case {
        int start, count;
        bool accepted;
    };
    for (const Case& c : {Case{16, 48, true}, Case{16, 49, false}, Case{16, 53, false}, Case{0, 64, true},
                          Case{1, 64, false}}) {
        host.clear();
        dialog.click(IDC_RW_RESET_DATA);
        setData(dialog, c.start, c.count, {});
        EXPECT_EQ(host.messageTexts().empty(), c.accepted) << c.start << "+" << c.count;
        EXPECT_EQ(dialog.control(IDC_RW_CELL_FIRST + c.start).enabled(), c.accepted);
        if (c.accepted) {
            EXPECT_FALSE(dialog.control(IDC_RW_SET_DATA).enabled());
        }
    }
    dialog.click(IDC_RW_RESET_DATA);
    setData(dialog, 0, 2, {}, true);
    EXPECT_EQ(dialog.control(IDC_RW_CELL_FIRST).limitText(), 1);
}

TEST_F(Write, TheSeriesInOrderWithTheLabelPrintedLast) {
    dialog.click(IDC_RW_LABEL);
    setData(dialog, 4, 12, kTwelve);
    EXPECT_EQ(dialog.focusId(), IDC_RW_WRITE);  // the last cell of the range hands on to Write
    for (int id : {int{IDC_RW_DO_DATA}, int{IDC_RW_DO_LOCK}, int{IDC_RW_DO_UNLOCK}, IDC_RW_LOCK_BIT0 + 19}) dialog.click(id);
    dialog.click(IDC_RW_WRITE);
    EXPECT_EQ(l.script.written(),
              ">RFUL\r>RFW,H,4,12,'300833B2DDD9014000000001'\r>RFLP,L,'80,00,00'\rP1\r");
    EXPECT_EQ(host.messageTexts(), std::vector<std::string>{"Writing is success"});
}

TEST_F(Write, NothingIsSentForDataThatIsNotOneByteACellOrWithoutATagKind) {
    struct Case {
        const char* why;
        int kind;  // -1 none
        std::vector<std::string> cells;
        const char* message;
    };
    std::vector<std::string> typo = kTwelve, missing = kTwelve;
    typo[3] = "G2";
    missing[11] = "1";
    for (const Case& c : {Case{"no kind", -1, kTwelve, "Choose the tag kind (Label or Metal) first."},
                          Case{"typo", 0, typo, "Writing data is failed"},
                          Case{"half a byte", 1, missing, "Writing data is failed"}}) {
        CRFIDWriteRead d(ctx);
        d.Create();
        host.clear();
        if (c.kind >= 0) d.click(c.kind ? IDC_RW_METAL : IDC_RW_LABEL);
        setData(d, 4, 12, c.cells);
        d.click(IDC_RW_DO_DATA);
        d.click(IDC_RW_DO_UNLOCK);
        d.click(IDC_RW_WRITE);
        EXPECT_EQ(host.messageTexts(), std::vector<std::string>{c.message}) << c.why;
    }
    EXPECT_EQ(l.script.written(), "");
}

// A character cell holds one byte of the printer's code page, however many bytes of UTF-8 it
// takes; an apostrophe goes out only escaped by a backslash in the cell before it.
TEST_F(Write, CharacterCellsTakeCodePageBytesAndOnlyEscapedApostrophes) {
    struct Case {
        std::vector<std::string> cells;
        std::string sent;  // "" when refused
    };
    const Case cases[] = {
        {{"\xC3\xA9", "\\", "'", "s"}, ">RFw,A,0,4,'\xE9\\'s'\r"},  // é\'s
        {{"a", "'", "b", "c"}, ""},
        {{"a", "b", "c", "\\"}, ""},  // would escape the closing apostrophe
    };
    for (const Case& c : cases) {
        CRFIDWriteRead d(ctx);
        d.Create();
        host.clear();
        l.script.writes.clear();
        d.click(IDC_RW_METAL);
        setData(d, 0, 4, {c.cells[0]}, true);
        EXPECT_EQ(d.focusId(), IDC_RW_CELL_FIRST + 1);  // one character fills a cell
        for (int i = 1; i < 4; ++i) d.typeText(IDC_RW_CELL_FIRST + i, c.cells[static_cast<std::size_t>(i)]);
        d.click(IDC_RW_DO_DATA);
        d.click(IDC_RW_WRITE);
        EXPECT_EQ(l.script.written(), c.sent) << c.cells[1];
        EXPECT_EQ(host.messageTexts(), std::vector<std::string>{c.sent.empty()
                                                                    ? resources::LoadString(msg::kQuotedFieldBreaks)
                                                                    : "Writing is success"});
    }
}

TEST_F(Write, AFailedWriteEndsTheSeriesWithoutAPrint) {
    // The unlock goes out, the data write fails all its tries.
    dialog.click(IDC_RW_LABEL);
    setData(dialog, 4, 12, kTwelve);
    for (int id : {IDC_RW_DO_DATA, IDC_RW_DO_LOCK, IDC_RW_DO_UNLOCK}) dialog.click(id);
    l.script.writeScript = {6, -1, -1, -1, -1};
    dialog.click(IDC_RW_WRITE);
    EXPECT_EQ(l.script.written(), ">RFUL\r");
    EXPECT_EQ(host.messageTexts(), std::vector<std::string>{"Writing data is failed"});
    EXPECT_FALSE(dialog.control(IDC_RW_CELL_FIRST + 4).enabled());
    EXPECT_TRUE(dialog.control(IDC_RW_SET_DATA).enabled());
}

TEST_F(Write, PasswordsAreEightHexDigits) {
    struct Case {
        const char *access, *kill, *message;
    };
    for (const Case& c : {Case{"12.34.56.78", "5E2B7A19", "Set RFID setting is successful"},
                          Case{"12.34.56", "5E2B7A19", "Value of access is invalid!"},
                          Case{"12.34.56.7G", "5E2B7A19", "Value of access is invalid!"},
                          Case{"12345678", "123456789", "Value of kill is invalid!"}}) {
        host.clear();
        l.script.writes.clear();
        dialog.typeText(IDC_RW_ACCESS, c.access);
        dialog.typeText(IDC_RW_KILL, c.kill);
        dialog.click(IDC_RW_PASSWORD);
        EXPECT_EQ(host.messageTexts(), std::vector<std::string>{c.message}) << c.access;
        EXPECT_EQ(l.script.written().empty(), c.message[0] != 'S');
    }
    dialog.typeText(IDC_RW_ACCESS, "12.34.56.78");
    dialog.typeText(IDC_RW_KILL, "5E2B7A19");
    l.script.writes.clear();
    dialog.click(IDC_RW_PASSWORD);
    EXPECT_EQ(l.script.written(), ">RFZ,'5E2B7A19,5E2B7A19,12345678,5E2B7A19'\r");
}

TEST_F(Read, TheReplyFillsItsRangeAndDashesElsewhere) {
    struct Case {
        int start, count;
        bool ascii;
        std::string reply;
        std::vector<std::pair<int, std::string>> cells;  // cell number, text
    };
    const Case cases[] = {
        {4, 12, false, "300833B2DDD9014000000001", {{4, "-"}, {5, "30"}, {16, "01"}, {17, "-"}}},
        {0, 4, true, "ABCD", {{1, "A"}, {4, "D"}, {5, "-"}}},
        {4, 12, false, "300833B2DD", {{9, "DD"}, {10, ""}, {16, ""}, {17, "-"}}},
    };
    for (const Case& c : cases) {
        host.clear();
        l.script.writes.clear();
        l.script.readScript = {c.reply};
        dialog.chooseItem(IDC_RW_FORMAT, c.ascii ? 1 : 0);
        dialog.chooseItem(IDC_RW_START, c.start);
        dialog.chooseItem(IDC_RW_COUNT, c.count - 2);
        dialog.click(IDC_RR_READ);
        EXPECT_EQ(host.messageTexts(), std::vector<std::string>{"Reading data is successful"});
        for (const auto& [n, text] : c.cells) EXPECT_EQ(dialog.cell(n), text) << c.reply << " cell " << n;
    }
    EXPECT_EQ(l.script.written(), ">RFR,H,4,12,S\r");
    EXPECT_EQ(pausesOf(4000), 3u);

    host.clear();
    dialog.click(IDC_RR_READ);  // nothing comes: the cells keep their texts
    EXPECT_EQ(host.messageTexts(), std::vector<std::string>{"Reading data is failed"});
    EXPECT_EQ(dialog.cell(9), "DD");

    l.script.writes.clear();
    dialog.click(IDC_RR_PRINT);
    EXPECT_EQ(l.script.written(), ">RFR,H,8,11,P\r");  // the print form's own numbers
    dialog.click(IDC_RW_METAL);
    dialog.click(IDC_RW_USER);
    EXPECT_FALSE(dialog.control(IDC_RW_FORMAT).enabled());
    dialog.chooseItem(IDC_RW_START, 16);
    dialog.chooseItem(IDC_RW_COUNT, 62);
    l.script.writes.clear();
    dialog.click(IDC_RR_READ);
    EXPECT_EQ(l.script.written(), "");
    EXPECT_EQ(host.messageTexts().back(), "Invalid value!\nPlease check StartBlockNumber and Number of bytes.");
}

TEST_F(Read, AReplyThatComesInPartsIsReadWhole) {
    // A link that gives at most 10 bytes a read: the rest is not left for the next command.
    l.script.readScript = {"300833B2DD", "D901400000", "0001"};
    dialog.click(IDC_RR_READ);
    EXPECT_EQ(dialog.cell(16), "01");
    EXPECT_TRUE(l.script.readScript.empty());
}

class UsbRead : public OnScript<CRFIDRead> {
protected:
    UsbRead() : OnScript<CRFIDRead>("USB") {}
};

TEST_F(UsbRead, SixteenBytePiecesWithTheirPause) {
    l.script.readScript = {"300833B2DDD9014000000001"};
    dialog.click(IDC_RR_READ);
    EXPECT_EQ(l.script.written(), ">RFR,H,4,12,S\r");
    EXPECT_EQ(pausesOf(kUsbPieceWaitMs), 1u);  // one whole piece of 16, then the last 8
    EXPECT_EQ(dialog.cell(13), "00");
    EXPECT_EQ(dialog.cell(16), "01");

    // 64 hexadecimal characters: four whole pieces, four pauses.
    l.clock.clearPauses();
    l.script.readScript = {std::string(64, 'A')};
    dialog.chooseItem(IDC_RW_COUNT, 30);
    dialog.click(IDC_RR_READ);
    EXPECT_EQ(pausesOf(kUsbPieceWaitMs), 4u);
    EXPECT_EQ(dialog.cell(36), "AA");
}

}  // namespace
}  // namespace velmora::testing
