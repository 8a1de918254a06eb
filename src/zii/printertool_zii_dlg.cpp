// The ZII printer tools dialog.
#include "zii/printertool_zii_dlg.h"

#include "app/dialogcatalog.h"
#include "resources/templates_zii_tools.h"

namespace velmora::zii {

using namespace resources;

namespace {
constexpr int kMsgNotOnEthernet = 272;
}

const CPrinterTool_ZII_Dlg::Action CPrinterTool_ZII_Dlg::kActions[8] = {
    {IDC_ZT_CONFIG_LABEL, "config-label", "~WC\r\n", false},
    {IDC_ZT_FEED, "feed", "~PH\r\n", false},
    {IDC_ZT_OBJECT_LIST, "list-objects", "^XA^WD*:*.*^XZ\r\n", false},
    {IDC_ZT_CALIBRATE, "calibrate", "~JC\r\n", false},
    {IDC_ZT_FACTORY_DEFAULTS, "factory-defaults", "^XA^JUF^XZ\r\n", false},
    {IDC_ZT_RESET, "reset", "~JR\r\n", false},
    {IDC_ZT_DIAGNOSTICS_ON, "diagnostics-on", "~JD\r\n", true},
    {IDC_ZT_DIAGNOSTICS_OFF, "diagnostics-off", "~JE\r\n", true},
};

CPrinterTool_ZII_Dlg::CPrinterTool_ZII_Dlg(app::ToolContext& ctx)
    : ui::Dialog(ctx.host, ZiiPrinterToolTemplate()), ctx_(ctx) {}

bool CPrinterTool_ZII_Dlg::OnInitDialog() {
    ui::Dialog::OnInitDialog();
    for (const Action& a : kActions) on(ui::Event::Clicked, a.id, [this, &a] { Run(a); });
    return true;
}

int CPrinterTool_ZII_Dlg::Run(const Action& action) {
    if (action.notOnEthernet && ctx_.comm.kind == link::kEthernet) {
        app::ShowMessage(ctx_.host, kMsgNotOnEthernet);
        return 0;
    }
    return ctx_.comm.WriteText(action.command);
}

namespace {
const bool registered = app::registerDialog({
    "zii-printer-tool",
    [](app::ToolContext& ctx) { return std::make_unique<CPrinterTool_ZII_Dlg>(ctx); },
    {},
    {},
});
}  // namespace

}  // namespace velmora::zii
