// The ZII printer tools: one-press maintenance actions, each one fixed command line. Nothing is
// read back; on Ethernet the two diagnostics buttons refuse.
#pragma once

#include "app/toolcontext.h"
#include "ui/dialog.h"

namespace velmora::zii {

class CPrinterTool_ZII_Dlg : public ui::Dialog {
  public:
    explicit CPrinterTool_ZII_Dlg(app::ToolContext& ctx);

  protected:
    bool OnInitDialog() override;

  private:
    app::ToolContext& ctx_;
};

}  // namespace velmora::zii
