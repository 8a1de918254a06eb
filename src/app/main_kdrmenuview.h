// The menu view of the native (TAVL) menu mode: user settings, calibration, downloads, RFID and
// the command tester.
#pragma once

#include "app/menuview.h"

namespace velmora::app {

class CMain_KDRMenuView : public MenuView {
  public:
    explicit CMain_KDRMenuView(ToolContext& ctx);
};

}  // namespace velmora::app
