// The command tester's RFID builders as a user drives them: defaults, the ranges and widths of
// the write cells, the dotted passwords, the payload boxes, and the lines they insert.
#include <gtest/gtest.h>

#include "app/dialogcatalog.h"
#include "app/typedtext.h"
#include "resources/messages.h"
#include "resources/stringtable.h"
#include "resources/templates_rfid.h"
#include "resources/templates_tester.h"
#include "support/linkfixture.h"
#include "tester/tavlrfidkillcommand.h"
#include "tester/tavlrfidpasswordcommand.h"
#include "tester/tavlrfidreadcommand.h"
#include "tester/tavlrfidsecuritycommand.h"
#include "tester/tavlrfidwritecommand.h"
#include "ui/testhost.h"

namespace velmora::testing {
namespace {

using namespace resources;
using namespace tester;

class RfidBuilders : public ::testing::Test {
protected:
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

TEST_F(RfidBuilders, RegisteredUnderTheTestersNames) {
    for (const char* name : {"tavl-rfid-write", "tavl-rfid-read", "tavl-rfid-password", "tavl-rfid-security",
                             "tavl-rfid-kill", "rfid-setting", "rfid-write-read", "rfid-read"})
        EXPECT_NE(app::findDialog(name), nullptr) << name;
}

TEST_F(RfidBuilders, InsertedLines) {
    CTavlRfidReadCommand read(ctx);
    CTavlRfidKillCommand kill(ctx);
    CTAVLRfidSecurityCommand security(ctx);
    EXPECT_EQ(insert(read), ">RFR,H,4,12,S\r\n");
    EXPECT_EQ(insert(read, [](ui::Dialog& d) { d.chooseItem(IDC_RB_READ_START, 5); }), ">RFR,H,9,12,S\r\n");
    EXPECT_EQ(insert(kill), ">RFKL\r\n");
    struct Case {
        std::function<void(ui::Dialog&)> act;
        const char* line;
    };
    const Case cases[] = {
        {{}, ">RFLP,L,'00,00,00'\r\n"},
        {[](ui::Dialog& d) { d.click(1280); }, ">RFLP,L,'80,00,00'\r\n"},
        {[](ui::Dialog& d) {
             for (int id : kSecurityPayloadIds) d.click(id);
         },
         ">RFLP,L,'FF,FF,F0'\r\n"},
        {[](ui::Dialog& d) {
             d.click(IDC_RB_UNLOCK);
             d.click(1291);
         },
         ">RFLP,U,'00,00,10'\r\n"},
    };
    for (const Case& c : cases) {
        CTAVLRfidSecurityCommand fresh(ctx);
        EXPECT_EQ(insert(fresh, c.act), c.line);
    }
    EXPECT_EQ(insert(security, [](ui::Dialog& d) { d.click(IDC_RB_AUTO_MODE); }), ">RFLK\r\n");
    // Reopened in auto mode with "Lock" chosen again.
    EXPECT_EQ(insert(security), ">RFLK\r\n");
    EXPECT_EQ(insert(security, [](ui::Dialog& d) { d.click(IDC_RB_UNLOCK_CHOICE); }), ">RFUL\r\n");
    EXPECT_FALSE(security.control(1280).enabled());
}

TEST_F(RfidBuilders, WriteCellsFollowTheRange) {
    CTavlRfidWriteCommand write(ctx);
    write.Create();
    struct Case {
        int startPos, countPos;
        bool accepted;
    };
    for (const Case& c : {Case{6, 5, true}, Case{6, 6, false}, Case{0, 11, true}}) {
        host.clear();
        write.click(IDC_RB_RESET_DATA);
        write.chooseItem(IDC_RB_WRITE_START, c.startPos);
        write.chooseItem(IDC_RB_WRITE_COUNT, c.countPos);
        write.click(IDC_RB_SET_DATA);
        EXPECT_EQ(host.messageTexts().empty(), c.accepted);
        EXPECT_EQ(write.control(IDC_RB_CELL_FIRST + c.startPos).enabled(), c.accepted);
        EXPECT_EQ(write.control(IDC_RB_CELL_FIRST + 11).enabled(), c.accepted);
        EXPECT_EQ(write.control(IDC_RB_CELL_FIRST + 5).enabled(), c.accepted && c.startPos == 0);
    }
    const auto ascii = [](ui::Dialog& d) {
        d.click(IDC_RB_RESET_DATA);
        d.chooseItem(IDC_RB_WRITE_TYPE, 1);
        d.chooseItem(IDC_RB_WRITE_COUNT, 2);
        d.click(IDC_RB_SET_DATA);
        d.typeText(IDC_RB_CELL_FIRST, "AB");
        d.typeText(IDC_RB_CELL_FIRST + 1, "B");
        d.typeText(IDC_RB_CELL_FIRST + 2, "C");
    };
    EXPECT_EQ(insert(write, ascii), ">RFW,A,4,3,'ABC'\r\n");  // one character a cell: "AB" is cut
    // A cell is one byte of the code page, and the data keeps to the rule of quoted text.
    const auto asciiCells = [](std::vector<std::string> cells) {
        return [cells](ui::Dialog& d) {
            d.click(IDC_RB_RESET_DATA);
            d.chooseItem(IDC_RB_WRITE_TYPE, 1);
            d.chooseItem(IDC_RB_WRITE_COUNT, 2);
            d.click(IDC_RB_SET_DATA);
            for (int i = 0; i < 3; ++i) d.typeText(IDC_RB_CELL_FIRST + i, cells[static_cast<std::size_t>(i)]);
        };
    };
    EXPECT_EQ(insert(write, asciiCells({"\xC3\xA9", "\\", "'"})), ">RFW,A,4,3,'\xC3\xA9\\''\r\n");
    for (const std::vector<std::string>& bad : {std::vector<std::string>{"a", "'", "b"}, {"a", "b", "\\"}}) {
        host.clear();
        EXPECT_EQ(insert(write, asciiCells(bad)), "") << bad[1];
        EXPECT_EQ(host.messageTexts(), std::vector<std::string>{resources::LoadString(msg::kQuotedFieldBreaks)});
    }
    const auto hexWith = [](const char* bad) {
        return [bad](ui::Dialog& d) {
            d.click(IDC_RB_RESET_DATA);
            d.chooseItem(IDC_RB_WRITE_COUNT, 1);
            d.click(IDC_RB_SET_DATA);
            d.typeText(IDC_RB_CELL_FIRST, "30");
            d.typeText(IDC_RB_CELL_FIRST + 1, bad);
        };
    };
    EXPECT_EQ(insert(write, hexWith("0F")), ">RFW,H,4,2,'300F'\r\n");
    for (const char* bad : {"0", "0G"}) {
        host.clear();
        EXPECT_EQ(insert(write, hexWith(bad)), "") << bad;
        EXPECT_EQ(host.messageTexts().size(), 1u);
    }
}

TEST_F(RfidBuilders, PasswordsGetTheirDotsAsTyped) {
    CTavlRfidPasswordCommand password(ctx);
    const auto typeDigits = [](ui::Dialog& d, int id, const std::string& digits) {
        d.typeText(id, "");
        for (char c : digits) d.typeText(id, d.control(id).text() + c);
    };
    EXPECT_EQ(insert(password,
                     [&](ui::Dialog& d) {
                         typeDigits(d, IDC_RB_ACCESS, "12345678");
                         EXPECT_EQ(d.control(IDC_RB_ACCESS).text(), "12.34.56.78");
                         d.typeText(IDC_RB_ACCESS, "12.34.56.7");  // deleting
                         d.typeText(IDC_RB_ACCESS, "12.34.56.78");
                     }),
              ">RFZ,'5E2B7A19,5E2B7A19,12345678,5E2B7A19'\r\n");
    for (const auto& c : {std::tuple{"12.34.56", "5E.2B.7A.19", "Value of access is invalid!"},
                          std::tuple{"12.34.56.XY", "5E.2B.7A.19", "Value of access is invalid!"},
                          std::tuple{"12.34.56.78", "5E.2B.7A.1", "Value of kill is invalid!"}}) {
        const char* access = std::get<0>(c);  // plain names: a lambda cannot capture bindings in every compiler
        const char* kill = std::get<1>(c);
        const char* message = std::get<2>(c);
        host.clear();
        EXPECT_EQ(insert(password,
                         [&](ui::Dialog& d) {
                             d.control(IDC_RB_ACCESS).setText(access);
                             d.control(IDC_RB_KILL).setText(kill);
                         }),
                  "");
        EXPECT_EQ(host.messageTexts(), std::vector<std::string>{message});
    }
}

}  // namespace
}  // namespace velmora::testing
