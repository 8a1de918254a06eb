// Menu buttons: enabling, and opening each button's tool.
#include "shell/menuview.h"

#include <memory>
#include <optional>

#include "app/dialogcatalog.h"
#include "resources/messages.h"

namespace velmora::shell {

MenuView::MenuView(app::ToolContext& ctx, const ui::DialogTemplate& tmpl, std::span<const MenuButton> buttons)
    : ui::Dialog(ctx.host, tmpl), ctx_(ctx), buttons_(buttons) {}

bool MenuView::OnInitDialog() {
    ui::Dialog::OnInitDialog();
    for (const MenuButton& b : buttons_) on(ui::Event::Clicked, b.id, [this, &b] { OpenTool(b); });
    EnableButtons(buttonsEnabled_);
    return true;
}

void MenuView::EnableButtons(bool on) {
    buttonsEnabled_ = on;
    if (!created()) return;
    for (const MenuButton& b : buttons_) control(b.id).enable(on);
}

void MenuView::OpenTool(const MenuButton& button) {
    if (button.launch == Launch::NotOnEthernet && ctx_.comm.traits().network) {
        app::ShowMessage(ctx_.host, msg::kNoCalibrationOnEthernet);
        return;
    }
    const app::DialogEntry* entry = app::findDialog(button.tool);
    if (!entry) return;
    std::unique_ptr<ui::Dialog> tool;
    {
        std::optional<ui::WaitCursor> wait;
        if (button.launch == Launch::WaitWhileBuilt) wait.emplace(ctx_.host);
        tool = entry->make(ctx_);
        tool->Create();
    }
    tool->DoModal();
}

}  // namespace velmora::shell
