// The native two-byte code page print and its entry in the dialog catalog.
#include "tester/twobytescodedlg.h"

#include <cstring>

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

bool CTwobytesCodeDlg::rangeAllowed(int first, int last) {
    // The lead bytes go inside the quoted text, where one below 0x20 or an apostrophe would end
    // the command and run the rest of the row as commands.
    if (unsafeNativeLead(first)) {
        app::ShowMessage(host(), kMsgStartBlockWrong);
        return false;
    }
    for (int lead = first; lead <= last; ++lead) {
        if (unsafeNativeLead(lead)) {
            app::ShowMessage(host(), kMsgEndBlockWrong);
            return false;
        }
    }
    return true;
}

std::string CTwobytesCodeDlg::label(int lead, const std::string& width, const std::string& height) const {
    const char* fonts = table().bitmapFonts;
    const std::size_t count = std::strlen(fonts);
    const char font = fonts[bitmapFont_ >= 0 && static_cast<std::size_t>(bitmapFont_) < count ? bitmapFont_ : 0];
    return nativeTwoByteLabel(table(), lead, fontType_ == 1, font, width, height);
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
