// What the two menu views share: a form of buttons shown in the main dialog, each opening one
// tool modally, all disabled until a printer has answered the connect handshake. The views
// differ only in their template and their button table.
#pragma once

#include <span>

#include "app/toolcontext.h"
#include "ui/dialog.h"

namespace velmora::app {

// Catalog names of the tools the menu buttons open. A tool that is not in the dialog catalog
// (not built yet) is simply not opened.
inline constexpr const char* kToolUserSettings = "user-settings";
inline constexpr const char* kToolCalibration = "calibration";
inline constexpr const char* kToolPcxDownloader = "pcx-downloader";
inline constexpr const char* kToolFileTransfer = "file-transfer";
inline constexpr const char* kToolRfidSetting = "rfid-setting";
inline constexpr const char* kToolRfidWriteRead = "rfid-write-read";
inline constexpr const char* kToolTavlTester = "tavl-tester";
inline constexpr const char* kToolZiiQuality = "zii-quality";
inline constexpr const char* kToolZiiPrinterTool = "zii-printer-tool";
inline constexpr const char* kToolCommunication = "communication";

// How a button opens its tool.
enum class Launch {
    Modal,            // build it, run it modally, destroy it
    NotOnEthernet,    // as Modal, but refused with message 219 on an Ethernet link
    WaitWhileBuilt,   // as Modal, with the wait cursor shown while it is built (not while the user works in it)
};

struct MenuButton {
    int id;
    const char* tool;  // catalog name
    Launch launch;
};

class MenuView : public ui::Dialog {
  public:
    MenuView(ToolContext& ctx, const ui::DialogTemplate& tmpl, std::span<const MenuButton> buttons);

    // Enables (connected) or disables (idle) every button. May be called before the view is
    // created; the state is applied when it is.
    void EnableButtons(bool on);
    std::span<const MenuButton> buttons() const { return buttons_; }

  protected:
    bool OnInitDialog() override;

  private:
    void OpenTool(const MenuButton& button);

    ToolContext& ctx_;
    std::span<const MenuButton> buttons_;
    bool buttonsEnabled_ = false;
};

}  // namespace velmora::app
