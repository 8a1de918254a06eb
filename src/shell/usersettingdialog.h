// The user-setting manager: the printer's setting pages of the current menu mode in one tab
// control, and "Close".
#pragma once

#include "shell/extendtabctrl.h"
#include <optional>
#include <string>

#include "app/toolcontext.h"
#include "ui/dialog.h"

namespace velmora::shell {

class CUserSettingDialog : public ui::Dialog {
  public:
    explicit CUserSettingDialog(app::ToolContext& ctx);

    CExtendTabCtrl& tabCtrl() { return tabCtrl_; }

  protected:
    bool OnInitDialog() override;
    // The profile buttons below the tabs (through the installed profile service).
    void OnSaveProfile();
    void OnCompareProfile();
    void OnApplyProfile();

  private:
    std::optional<std::string> chooseProfile(bool open);
    app::ToolContext& ctx_;
    CExtendTabCtrl tabCtrl_;
};

}  // namespace velmora::shell
