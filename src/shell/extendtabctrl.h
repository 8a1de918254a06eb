// The tab control of the user-setting manager: owns one page per tab and shows the page of the
// selected tab, whichever way the tab was changed.
#pragma once

#include <memory>
#include <span>
#include <vector>

#include "app/toolcontext.h"
#include "ui/dialog.h"

namespace velmora::shell {

// One tab: its title (a string-table entry) and the maker of its page, which builds the page
// dialog without creating it.
struct TabPage {
    int titleId;
    std::unique_ptr<ui::Dialog> (*make)(app::ToolContext& ctx);
};

class CExtendTabCtrl {
  public:
    explicit CExtendTabCtrl(app::ToolContext& ctx) : ctx_(ctx) {}

    // Inserts the tabs into control `tabId` of `owner`, builds their pages as children of
    // `owner` and shows the page of tab 0.
    void Attach(ui::Dialog& owner, int tabId, std::span<const TabPage> tabs);
    // Shows the page of the selected tab and hides every other page.
    void ShowSelectedPage();

    int pageCount() const { return static_cast<int>(pages_.size()); }
    ui::Dialog& page(int index) { return *pages_.at(index); }
    int shownIndex() const { return shown_; }

  private:
    app::ToolContext& ctx_;
    std::vector<std::unique_ptr<ui::Dialog>> pages_;
    ui::Dialog* owner_ = nullptr;
    int tabId_ = 0;
    int shown_ = -1;
};

}  // namespace velmora::shell
