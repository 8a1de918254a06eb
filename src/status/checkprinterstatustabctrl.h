// The tab control of the status check: owns the two query pages and shows the selected one.
#pragma once

#include <memory>

#include "app/toolcontext.h"
#include "status/cpstatuscmddlg.h"
#include "status/custatuscmddlg.h"
#include "ui/dialog.h"

namespace velmora::status {

class CCheckPrinterStatusTabCtrl {
public:
    explicit CCheckPrinterStatusTabCtrl(app::ToolContext& ctx);

    // Creates the pages inside `owner`, inserts the tabs and shows the page of tab 0.
    void Attach(ui::Dialog& owner, int tabId);
    // Shows the page of the selected tab (after the user changes tabs).
    void ShowSelectedPage();

    CCpStatusCmdDlg& cpPage() { return *cp_; }
    CCuStatusCmdDlg& cuPage() { return *cu_; }

private:
    std::unique_ptr<CCpStatusCmdDlg> cp_;
    std::unique_ptr<CCuStatusCmdDlg> cu_;
    ui::Dialog* owner_ = nullptr;
    int tabId_ = 0;
};

}  // namespace velmora::status
