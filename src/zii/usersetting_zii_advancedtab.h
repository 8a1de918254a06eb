// The ZII advanced settings page: media handling (tear off, peel off, cutter) and the feed action
// at power-up, read with setting queries and written with the mirror-image setting as one saved
// settings block.
#pragma once

#include "app/toolcontext.h"
#include "ui/dialog.h"
#include "zii/ziiadvancedops.h"

namespace velmora::zii {

class CUserSetting_ZII_AdvancedTab : public ui::Dialog {
  public:
    explicit CUserSetting_ZII_AdvancedTab(app::ToolContext& ctx);

    void OnGetFromPrinter();
    void OnSetToPrinter();

    // Bound fields.
    bool useMediaHandling = false;
    bool useMediaFeed = false;
    bool useBackfeed = true;  // shown ticked; the row never takes part
    bool useMirror = false;
    bool mirror = false;
    int mediaHandling = kTearOff;
    int mediaFeed = kFeedNone;
    int backfeed = 1;  // "Default settings"

  protected:
    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;

  private:
    // Each row's control follows its "use" box.
    void applyUseBoxes();

    app::ToolContext& ctx_;
};

}  // namespace velmora::zii
