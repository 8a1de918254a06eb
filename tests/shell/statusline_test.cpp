// Actions that succeed without a box of their own say on the main window's bottom line what was
// done, and the busy cursor shows while they wait; the main window shows what they say.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/dialogcatalog.h"
#include "platform/spooler.h"
#include "resources/templates_main.h"
#include "resources/templates_rfid.h"
#include "resources/templates_zii_basic.h"
#include "resources/templates_zii_pages.h"
#include "resources/templates_zii_tools.h"
#include "shell/velmoradlg.h"
#include "support/simdevice.h"
#include "ui/testhost.h"

namespace velmora::testing {
namespace {

using namespace resources;

TEST(StatusLine, SilentActionsSayWhatWasDone) {
    const struct Case {
        const char* dialog;
        std::function<void(ui::Dialog&)> before;  // what the user did first
        int press;
        std::vector<std::string> said;
        std::vector<std::string> boxes;  // the boxes the action shows of its own
    } cases[] = {
        {"zii-printer-tool", {}, IDC_ZT_FEED, {"Sent to the printer: Feed one label"}, {}},
        {"zii-basic", [](ui::Dialog& d) { d.click(IDC_ZB_GET); }, IDC_ZB_SET, {"Settings sent to the printer"}, {}},
        {"zii-advanced", [](ui::Dialog& d) { d.click(IDC_ZADV_GET); }, IDC_ZADV_SET,
         {"Settings sent to the printer"}, {}},
        {"zii-clock", [](ui::Dialog& d) { d.click(IDC_ZRTC_SET_CLOCK); }, IDC_ZRTC_SET,
         {"Settings sent to the printer"}, {}},
        {"zii-quality",
         [](ui::Dialog& d) {
             d.click(IDC_ZQ_MANUAL);
             d.chooseItem(IDC_ZQ_SPEED, 1);
             d.chooseItem(IDC_ZQ_DARKNESS, 5);
         },
         IDC_ZQ_PRINT, {"1 sample label(s) sent to the printer"}, {}},
        {"rfid-read", {}, IDC_RR_READ, {"Reading the RFID tag…", "RFID tag read"}, {"Reading data is successful"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dialog);
        SimLink link;
        ASSERT_TRUE(link.comm.Open());
        ui::TestHost host;
        app::ToolContext ctx{link.comm, link.clock, host};
        const app::DialogEntry* entry = app::findDialog(c.dialog);
        ASSERT_NE(entry, nullptr);
        auto dialog = entry->make(ctx);
        dialog->Create();
        if (c.before) c.before(*dialog);
        host.clear();
        host.statuses.clear();
        const int cursorBefore = host.waitCursorShown;
        dialog->click(c.press);
        EXPECT_EQ(host.statuses, c.said);
        EXPECT_EQ(host.messageTexts(), c.boxes);
        EXPECT_GT(host.waitCursorShown, cursorBefore) << "no busy cursor while it waited";
        EXPECT_EQ(host.waitCursorDepth, 0);
    }
}

TEST(StatusLine, TheMainWindowShowsWhatToolsSay) {
    SimLink link;
    ui::TestHost host;
    app::ToolContext ctx{link.comm, link.clock, host};
    {
        shell::CVelmoraDlg main(ctx, platform::spoolerWithoutQueues());
        main.Create();
        host.showStatus("Settings sent to the printer");
        EXPECT_EQ(main.control(IDC_MAIN_STATUSLINE).text(), "Settings sent to the printer");
    }
    host.showStatus("after the window closed");  // reaches nothing, and nothing breaks
}

}  // namespace
}  // namespace velmora::testing
