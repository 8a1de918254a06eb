// The menu view of the ZII menu mode, the one the user sees: ZII settings and print quality,
// calibration, downloads, printer tools, the communication window, the command tester and RFID.
#pragma once

#include "shell/menuview.h"

namespace velmora::shell {

class CMain_ZIIMenuView : public MenuView {
  public:
    explicit CMain_ZIIMenuView(app::ToolContext& ctx);
};

}  // namespace velmora::shell
