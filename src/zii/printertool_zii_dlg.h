// The ZII printer tools: one-press maintenance actions, each one fixed command line. Nothing is
// read back; on Ethernet the two diagnostics buttons refuse.
#pragma once

#include <string>

#include "app/toolcontext.h"
#include "ui/dialog.h"

namespace velmora::zii {

class CPrinterTool_ZII_Dlg : public ui::Dialog {
  public:
    explicit CPrinterTool_ZII_Dlg(app::ToolContext& ctx);

    struct Action {
        int id;                 // the button
        const char* name;       // as velmora-cli names it
        const char* command;    // the text written
        bool notOnEthernet;
    };
    static const Action kActions[8];

    // Presses the button's action; the write's result (0 failed or refused).
    int Run(const Action& action);

  protected:
    bool OnInitDialog() override;

  private:
    app::ToolContext& ctx_;
};

}  // namespace velmora::zii
