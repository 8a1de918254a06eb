// The status check: a tab per status query, and "Close".
#pragma once

#include "app/toolcontext.h"
#include "status/checkprinterstatustabctrl.h"
#include "ui/dialog.h"

namespace velmora::status {

class CCheckPrinterStatusTabDlg : public ui::Dialog {
public:
    explicit CCheckPrinterStatusTabDlg(app::ToolContext& ctx);

    CCheckPrinterStatusTabCtrl& tabCtrl() { return tabCtrl_; }

protected:
    bool OnInitDialog() override;

private:
    CCheckPrinterStatusTabCtrl tabCtrl_;
};

}  // namespace velmora::status
