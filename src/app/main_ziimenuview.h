// The menu view of the ZII menu mode, the one the user sees: ZII settings and print quality,
// calibration, downloads, printer tools, the communication window, the command tester and RFID.
#pragma once

#include "app/menuview.h"

namespace velmora::app {

class CMain_ZIIMenuView : public MenuView {
  public:
    explicit CMain_ZIIMenuView(ToolContext& ctx);
};

}  // namespace velmora::app
