// What the two menu views share: a form of buttons shown in the main dialog, each opening one
// tool modally, all disabled until a printer has answered the connect handshake. The views
// differ only in their template and their button table.
#pragma once

#include <span>

#include "app/toolcontext.h"
#include "app/toolnames.h"
#include "ui/dialog.h"

namespace velmora::shell {

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
    MenuView(app::ToolContext& ctx, const ui::DialogTemplate& tmpl, std::span<const MenuButton> buttons);

    // Enables (connected) or disables (idle) every button. May be called before the view is
    // created; the state is applied when it is.
    void EnableButtons(bool on);
    std::span<const MenuButton> buttons() const { return buttons_; }

  protected:
    bool OnInitDialog() override;

  private:
    void OpenTool(const MenuButton& button);

    app::ToolContext& ctx_;
    std::span<const MenuButton> buttons_;
    bool buttonsEnabled_ = false;
};

}  // namespace velmora::shell
