// Status pages in a tab control.
#include "status/checkprinterstatustabctrl.h"

#include "resources/messages.h"
#include "resources/stringtable.h"

namespace velmora::status {

CCheckPrinterStatusTabCtrl::CCheckPrinterStatusTabCtrl(app::ToolContext& ctx)
    : cp_(std::make_unique<CCpStatusCmdDlg>(ctx)), cu_(std::make_unique<CCuStatusCmdDlg>(ctx)) {}

void CCheckPrinterStatusTabCtrl::Attach(ui::Dialog& owner, int tabId) {
    owner_ = &owner;
    tabId_ = tabId;
    cp_->CreateAsChild(owner);
    cu_->CreateAsChild(owner);
    ui::Control& tab = owner.control(tabId);
    tab.resetContent();
    tab.addItem(resources::LoadString(msg::kCpCaption));
    tab.addItem(resources::LoadString(msg::kCuCaption));
    tab.setCurSel(0);
    owner.setTabPages(tabId, {cp_.get(), cu_.get()});
    ShowSelectedPage();
}

void CCheckPrinterStatusTabCtrl::ShowSelectedPage() {
    if (!owner_) return;
    const int sel = owner_->control(tabId_).curSel();
    cp_->ShowWindow(false);
    cu_->ShowWindow(false);
    if (sel == 0) cp_->ShowWindow(true);
    if (sel == 1) cu_->ShowWindow(true);
}

}  // namespace velmora::status
