// The native two-byte code page print and its entry in the dialog catalog.
#include "tester/twobytescodedlg.h"

#include "app/dialogcatalog.h"
#include "resources/templates_terminal.h"
#include "ui/dataexchange.h"

namespace velmora::tester {

using namespace resources;

CTwobytesCodeDlg::CTwobytesCodeDlg(app::ToolContext& ctx) : TwoByteCodeDialog(ctx, TwobytesCodeTemplate()) {}

bool CTwobytesCodeDlg::OnInitDialog() {
    on(ui::Event::Clicked, IDC_TB_BITMAP, [this] { OnBitmapFont(); });
    on(ui::Event::Clicked, IDC_TB_VECTOR, [this] { OnVectorFont(); });
    fontType_ = 0;
    TwoByteCodeDialog::OnInitDialog();
    enableFontControls();
    return true;
}

void CTwobytesCodeDlg::DoDataExchange(ui::DataExchange& dx) {
    TwoByteCodeDialog::DoDataExchange(dx);
    dx.Radio(IDC_TB_BITMAP, fontType_);
    dx.CBIndex(IDC_TB_BITMAP_FONT, bitmapFont_);
}

void CTwobytesCodeDlg::tableChosen() {
    ui::Control& fonts = control(IDC_TB_BITMAP_FONT);
    fonts.resetContent();
    for (const char* f = table().bitmapFonts; *f; ++f) fonts.addItem(std::string(1, *f));
    bitmapFont_ = table().bitmapFontChosen;
}

void CTwobytesCodeDlg::enableFontControls() {
    control(IDC_TB_BITMAP_FONT).enable(fontType_ == 0);
    control(IDC_TB_WIDTH).enable(fontType_ == 1);
    control(IDC_TB_HEIGHT).enable(fontType_ == 1);
}

void CTwobytesCodeDlg::OnBitmapFont() {
    UpdateData(true);
    enableFontControls();
}

void CTwobytesCodeDlg::OnVectorFont() {
    UpdateData(true);
    enableFontControls();
}

void CTwobytesCodeDlg::fillRequest(TwoBytePrintRequest& request) const {
    request.vector = fontType_ == 1;
    request.bitmapFont = bitmapFont_;
}

namespace {
const bool registered = app::registerDialog({
    "twobytes-code",
    [](app::ToolContext& ctx) { return std::make_unique<CTwobytesCodeDlg>(ctx); },
    {{"vector-all",
      [](ui::Dialog& d) {
          d.chooseItem(IDC_TB_TABLE, 2);
          d.click(IDC_TB_VECTOR);
          d.click(IDC_TB_ALL);
      }}},
    {},
});
}  // namespace

}  // namespace velmora::tester
