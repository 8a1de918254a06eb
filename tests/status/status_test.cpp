// The status check dialog: what each reply ticks, the short-reply path, the bytes and pause of a
// query, and the tab pages.
#include <gtest/gtest.h>

#include <deque>
#include <optional>

#include "app/toolcontext.h"
#include "resources/templates_status.h"
#include "status/checkprinterstatustabdlg.h"
#include "support/linkfixture.h"
#include "ui/testhost.h"

namespace velmora::testing {
namespace {

using namespace resources;
using status::CCheckPrinterStatusTabDlg;

class StatusCheck : public ::testing::Test {
protected:
    void SetUp() override {
        l.comm.portName = "COM1:";
        l.comm.baudRate = 115200;
        ASSERT_EQ(l.comm.Open(), 1);
        dlg.Create();
        l.clock.clearPauses();
    }
    // Captions of the ticked boxes of a page, in template order.
    static std::vector<std::string> ticked(ui::Dialog& page) {
        std::vector<std::string> out;
        for (const auto& c : page.controls())
            if (c->kind() == ui::ControlKind::CheckBox && c->checked()) out.push_back(c->text());
        return out;
    }
    ui::Dialog& cp() { return dlg.tabCtrl().cpPage(); }
    ui::Dialog& cu() { return dlg.tabCtrl().cuPage(); }

    ScriptedLink l;
    ui::TestHost host;
    app::ToolContext ctx{l.comm, l.clock, host};
    CCheckPrinterStatusTabDlg dlg{ctx};
};

TEST_F(StatusCheck, RepliesTickTheirBoxes) {
    struct Case {
        bool cuQuery;
        std::string reply;
        std::vector<std::string> boxes;
    };
    const Case cases[] = {
        {false, std::string("\x80\x40", 2), {"Paper Empty", "On Printing label"}},
        {false, std::string("\x00\x00", 2), {"Status OK"}},
        {false, std::string("\x01\x00", 2), {}},
        {false, std::string("\x03\x1F", 2), {}},
        {false, std::string("\xFC\xE0", 2),
         {"Paper Empty", "On Building label", "Cover Open", "On Printing label", "Cutter jammed",
          "Issued label is paused", "Thermal Head overheat", "Gap Detection Error", "Ribbon End Error"}},
        {true, std::string("\x24", 1), {"Cutter jammed", "Ribbon End Error"}},
        {true, std::string("\x00", 1), {"Status OK"}},
        {true, std::string("\x03", 1), {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reply.size());
        l.script.readScript = {c.reply};
        ui::Dialog& page = c.cuQuery ? cu() : cp();
        page.click(IDC_STATUS_TEST);
        EXPECT_EQ(ticked(page), c.boxes);
        EXPECT_TRUE(host.messages.empty());
    }
}

TEST_F(StatusCheck, TheUserCannotTickTheIndicators) {
    const std::pair<ui::Dialog*, std::string> replies[] = {{&cp(), std::string("\x80\x40", 2)},
                                                           {&cu(), std::string("\x24", 1)}};
    for (const auto& [page, reply] : replies) {
        l.script.readScript = {reply};
        page->click(IDC_STATUS_TEST);
        const std::vector<std::string> said = ticked(*page);
        EXPECT_EQ(said.size(), 2u);
        for (const auto& c : page->controls()) {
            if (c->kind() != ui::ControlKind::CheckBox) continue;
            EXPECT_TRUE(c->readOnly()) << c->text();
            page->click(c->id());
        }
        EXPECT_EQ(ticked(*page), said) << "clicks changed what the printer said";
    }
}

TEST_F(StatusCheck, QuerySendsFourBytesWaitsFiftyMsAndReadsTheReplyLength) {
    l.script.readScript = {std::string("\x00\x00", 2)};
    cp().click(IDC_STATUS_TEST);
    EXPECT_EQ(l.script.written(), "^cp\r");
    EXPECT_EQ(l.clock.pauses(), (std::vector<unsigned>{50, 1}));
    l.script.writes.clear();
    l.script.readScript = {std::string("\x00", 1)};
    cu().click(IDC_STATUS_TEST);
    EXPECT_EQ(l.script.written(), "^cu\r");
}

TEST_F(StatusCheck, SecondAnswerClearsTheFirst) {
    l.script.readScript = {std::string("\x80\x40", 2), std::string("\x40\x00", 2)};
    cp().click(IDC_STATUS_TEST);
    cp().click(IDC_STATUS_TEST);
    EXPECT_EQ(ticked(cp()), std::vector<std::string>{"Cover Open"});
}

// A reply that did not come whole ticks nothing, not even "Status OK": the message stands alone.
// A whole reply on the second read still counts.
TEST_F(StatusCheck, NoWholeReplyTicksNothing) {
    const struct {
        std::deque<std::optional<std::string>> reads;
        std::vector<std::string> ticked;
    } cases[] = {
        {{std::string("\x80", 1)}, {}},                               // short, then nothing
        {{}, {}},                                                      // nothing at all
        {{std::string("\x80", 1), std::string("\x40", 1)}, {}},        // split over two reads
        {{std::string("\x80", 1), std::string("\x80\x00", 2)}, {"Paper Empty"}},  // whole the second time
    };
    for (const auto& c : cases) {
        host.clear();
        l.script.readScript = {std::string("\x00\x40", 2)};  // a previous reply ticked a box
        cp().click(IDC_STATUS_TEST);
        l.script.readScript = c.reads;
        cp().click(IDC_STATUS_TEST);
        EXPECT_EQ(host.messageTexts(), std::vector<std::string>{"Status Data Read Fail!"});
        EXPECT_EQ(ticked(cp()), c.ticked);
    }
}

TEST_F(StatusCheck, TabsShowTheirPages) {
    const auto& tab = dlg.control(IDC_STATUS_TAB);
    EXPECT_EQ(tab.items(), (std::vector<std::string>{"^cp Command", "^cu Command"}));
    EXPECT_EQ(dlg.caption(), "Check Printer Status");
    EXPECT_TRUE(cp().visible());
    EXPECT_FALSE(cu().visible());
    dlg.selectTab(IDC_STATUS_TAB, 1);
    EXPECT_FALSE(cp().visible());
    EXPECT_TRUE(cu().visible());
    dlg.click(ui::IDCANCEL);
    EXPECT_TRUE(dlg.ended());
}

}  // namespace
}  // namespace velmora::testing
