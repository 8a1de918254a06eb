// The tab control of the calibration dialog: owns the sensing page and shows it in its display
// area under a single tab.
#pragma once

#include <memory>

#include "app/toolcontext.h"
#include "settings/calibration_2.h"
#include "ui/dialog.h"

namespace velmora::settings {

class CCalibrationTabCtrl {
  public:
    explicit CCalibrationTabCtrl(app::ToolContext& ctx);

    // Creates the page inside `owner`, inserts the one tab (string 248) and shows the page.
    void Attach(ui::Dialog& owner, int tabId);
    void ShowSelectedPage();

    CCalibration_2& page() { return *page_; }

  private:
    std::unique_ptr<CCalibration_2> page_;
    ui::Dialog* owner_ = nullptr;
    int tabId_ = 0;
};

}  // namespace velmora::settings
