// The sensing calibration ("Manual Calibration"): a tab control holding the sensing page, and
// "CLOSE".
#pragma once

#include "app/toolcontext.h"
#include "settings/calibrationtabctrl.h"
#include "ui/dialog.h"

namespace velmora::settings {

class CCalibrationTabDialog : public ui::Dialog {
  public:
    explicit CCalibrationTabDialog(app::ToolContext& ctx);

    CCalibrationTabCtrl& tabCtrl() { return tabCtrl_; }

  protected:
    bool OnInitDialog() override;

  private:
    CCalibrationTabCtrl tabCtrl_;
};

}  // namespace velmora::settings
