// The user-setting manager: the printer's setting pages of the current menu mode in one tab
// control, and "Close".
#pragma once

#include "shell/extendtabctrl.h"
#include <optional>
#include <string>
#include <vector>

#include "app/profileservice.h"
#include "app/toolcontext.h"
#include "profile/profiledifftable.h"
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
    // A profile the user chose and how the printer differs from it; nothing (the error said)
    // when no profile was chosen or the comparison failed.
    std::optional<std::vector<app::ProfileRow>> compareChosen(std::string& path);
    int showRows(const std::vector<app::ProfileRow>& rows, profile::CProfileDiffTable::Mode mode);
    app::ToolContext& ctx_;
    CExtendTabCtrl tabCtrl_;
};

}  // namespace velmora::shell
