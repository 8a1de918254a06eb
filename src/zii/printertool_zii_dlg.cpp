// The ZII printer tools dialog.
#include "zii/printertool_zii_dlg.h"

#include "app/dialogcatalog.h"
#include "app/toolnames.h"
#include "resources/messages.h"
#include "resources/templates_zii_tools.h"
#include "zii/printertoolops.h"

namespace velmora::zii {

using namespace resources;

namespace {
struct Button {
    int id;
    const char* action;
};
constexpr Button kButtons[] = {
    {IDC_ZT_CONFIG_LABEL, "config-label"},     {IDC_ZT_FEED, "feed"},
    {IDC_ZT_OBJECT_LIST, "list-objects"},      {IDC_ZT_CALIBRATE, "calibrate"},
    {IDC_ZT_FACTORY_DEFAULTS, "factory-defaults"}, {IDC_ZT_RESET, "reset"},
    {IDC_ZT_DIAGNOSTICS_ON, "diagnostics-on"}, {IDC_ZT_DIAGNOSTICS_OFF, "diagnostics-off"},
};
}  // namespace

CPrinterTool_ZII_Dlg::CPrinterTool_ZII_Dlg(app::ToolContext& ctx)
    : ui::Dialog(ctx.host, ZiiPrinterToolTemplate()), ctx_(ctx) {}

bool CPrinterTool_ZII_Dlg::OnInitDialog() {
    ui::Dialog::OnInitDialog();
    for (const Button& button : kButtons)
        on(ui::Event::Clicked, button.id, [this, id = button.id, action = findPrinterToolAction(button.action)] {
            app::Outcome out;
            {
                ui::WaitCursor wait(ctx_.host);
                out = runPrinterTool(ctx_.comm, *action);
            }
            if (out.result.messageId)
                app::ShowMessage(ctx_.host, out.result.messageId);
            else if (out.done())  // nothing comes back to show: the bottom line says it went
                app::ShowStatus(ctx_.host, msg::kStatusToolSent, control(id).text());
        });
    return true;
}

namespace {
const bool registered = app::registerDialog({
    app::kToolZiiPrinterTool,
    [](app::ToolContext& ctx) { return std::make_unique<CPrinterTool_ZII_Dlg>(ctx); },
    {},
    {},
});
}  // namespace

}  // namespace velmora::zii
