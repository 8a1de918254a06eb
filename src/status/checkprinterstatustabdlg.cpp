// The status check dialog, and its entry in the dialog catalog.
#include "status/checkprinterstatustabdlg.h"

#include "app/dialogcatalog.h"
#include "resources/templates_status.h"

namespace velmora::status {

CCheckPrinterStatusTabDlg::CCheckPrinterStatusTabDlg(app::ToolContext& ctx)
    : ui::Dialog(ctx.host, resources::CheckPrinterStatusTemplate()), tabCtrl_(ctx) {}

bool CCheckPrinterStatusTabDlg::OnInitDialog() {
    ui::Dialog::OnInitDialog();
    tabCtrl_.Attach(*this, resources::IDC_STATUS_TAB);
    on(ui::Event::TabChange, resources::IDC_STATUS_TAB, [this] { tabCtrl_.ShowSelectedPage(); });
    return true;
}

namespace {
const bool registered = app::registerDialog({
    "status",
    [](app::ToolContext& ctx) { return std::make_unique<CCheckPrinterStatusTabDlg>(ctx); },
    {
        {"cp-reply",
         [](ui::Dialog& d) { static_cast<CCheckPrinterStatusTabDlg&>(d).tabCtrl().cpPage().OnCommandTest(); }},
        {"cu-reply",
         [](ui::Dialog& d) {
             auto& dlg = static_cast<CCheckPrinterStatusTabDlg&>(d);
             dlg.selectTab(resources::IDC_STATUS_TAB, 1);
             dlg.tabCtrl().cuPage().OnCommandTest();
         }},
    },
    {},
});
}  // namespace

}  // namespace velmora::status
