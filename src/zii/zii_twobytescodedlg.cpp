// The ZII two-byte code page print and its entry in the dialog catalog.
#include "zii/zii_twobytescodedlg.h"

#include "app/dialogcatalog.h"
#include "resources/templates_terminal.h"

namespace velmora::zii {

using namespace resources;

CZII_TwobytesCodeDlg::CZII_TwobytesCodeDlg(app::ToolContext& ctx)
    : tester::TwoByteCodeDialog(ctx, ZiiTwobytesCodeTemplate()) {}

void CZII_TwobytesCodeDlg::fillRequest(tester::TwoBytePrintRequest& request) const { request.zii = true; }

namespace {
const bool registered = app::registerDialog({
    "zii-twobytes-code",
    [](app::ToolContext& ctx) { return std::make_unique<CZII_TwobytesCodeDlg>(ctx); },
    {{"jis-all",
      [](ui::Dialog& d) {
          d.chooseItem(IDC_TB_TABLE, 3);
          d.click(IDC_TB_ALL);
      }}},
    {},
});
}  // namespace

}  // namespace velmora::zii
