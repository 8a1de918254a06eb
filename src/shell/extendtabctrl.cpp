// Setting pages in a tab control.
#include "shell/extendtabctrl.h"

#include "resources/stringtable.h"

namespace velmora::shell {

void CExtendTabCtrl::Attach(ui::Dialog& owner, int tabId, std::span<const TabPage> tabs) {
    owner_ = &owner;
    tabId_ = tabId;
    ui::Control& tab = owner.control(tabId);
    tab.resetContent();
    pages_.clear();
    std::vector<ui::Dialog*> shown;
    for (const TabPage& t : tabs) {
        tab.addItem(resources::LoadString(t.titleId));
        pages_.push_back(t.make(ctx_));
        pages_.back()->CreateAsChild(owner);
        shown.push_back(pages_.back().get());
    }
    owner.setTabPages(tabId, std::move(shown));
    tab.setCurSel(pages_.empty() ? -1 : 0);
    ShowSelectedPage();
}

void CExtendTabCtrl::ShowSelectedPage() {
    if (!owner_) return;
    const int sel = owner_->control(tabId_).curSel();
    // Every page is set, not only the one shown before, so exactly the selected page is visible
    // after any change of tab, by mouse or by keyboard.
    for (int i = 0; i < pageCount(); ++i) pages_[i]->ShowWindow(i == sel);
    shown_ = sel >= 0 && sel < pageCount() ? sel : -1;
}

}  // namespace velmora::shell
