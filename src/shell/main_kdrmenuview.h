// The menu view of the native (TAVL) menu mode: user settings, calibration, downloads, RFID and
// the command tester.
#pragma once

#include "shell/menuview.h"

namespace velmora::shell {

class CMain_KDRMenuView : public MenuView {
  public:
    explicit CMain_KDRMenuView(app::ToolContext& ctx);
};

}  // namespace velmora::shell
