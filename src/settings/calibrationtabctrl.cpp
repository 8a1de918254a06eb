// The calibration's tab control.
#include "settings/calibrationtabctrl.h"

#include "resources/messages.h"
#include "resources/stringtable.h"

namespace velmora::settings {

CCalibrationTabCtrl::CCalibrationTabCtrl(app::ToolContext& ctx) : page_(std::make_unique<CCalibration_2>(ctx)) {}

void CCalibrationTabCtrl::Attach(ui::Dialog& owner, int tabId) {
    owner_ = &owner;
    tabId_ = tabId;
    page_->CreateAsChild(owner);
    ui::Control& tab = owner.control(tabId);
    tab.resetContent();
    tab.addItem(resources::LoadString(msg::kCalibrationTab));
    tab.setCurSel(0);
    owner.setTabPages(tabId, {page_.get()});
    ShowSelectedPage();
}

void CCalibrationTabCtrl::ShowSelectedPage() {
    if (owner_) page_->ShowWindow(true);
}

}  // namespace velmora::settings
