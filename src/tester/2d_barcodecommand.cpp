// The two-dimensional barcode builder and its entry in the dialog catalog.
#include "tester/2d_barcodecommand.h"

#include <climits>

#include "app/dialogcatalog.h"
#include "resources/combo.h"
#include "resources/messages.h"
#include "resources/templates_tester.h"

namespace velmora::tester {

using namespace resources;

namespace {
void refill(ui::Control& list, const std::vector<std::string>& items) {
    list.resetContent();
    for (const std::string& item : items) list.addItem(item);
}
}  // namespace

C2D_BarcodeCommand::C2D_BarcodeCommand(app::ToolContext& ctx) : TesterBuilder(ctx, Barcode2DCommandTemplate()) {}

bool C2D_BarcodeCommand::OnInitDialog() {
    on(ui::Event::Clicked, IDC_B_INSERT, [this] { OnInsertToLabel(); });
    on(ui::Event::Clicked, IDC_B_TEST_PRINT, [this] { OnTestPrint(); });
    on(ui::Event::Clicked, IDC_B_CONVERT, [this] { openConverter(); });
    on(ui::Event::SelChange, IDC_B2_SYMBOLOGY, [this] { OnSymbologyChange(); });
    on(ui::Event::SelChange, IDC_B2_MODE, [this] { OnModeChange(); });
    on(ui::Event::SelChange, IDC_B2_ECC, [this] { OnEccChange(); });
    bindSpin(IDC_B_X_SPIN, IDC_B_X, 0, 1000);
    bindSpin(IDC_B_Y_SPIN, IDC_B_Y, 0, 1000);
    bindSpin(IDC_B2_ROWS_SPIN, IDC_B2_ROWS, 3, 90);
    bindSpin(IDC_B2_COLS_SPIN, IDC_B2_COLS, 1, 30);
    bindSpin(IDC_B2_MODULE_SPIN, IDC_B2_MODULE, 2, 9);
    bindSpin(IDC_B2_BAR_SPIN, IDC_B2_BAR, 4, 99);
    FillComboFromString(control(IDC_B2_COMPRESS), msg::kList2DCompression);
    FillComboFromString(control(IDC_B2_ORIGIN), msg::kList2DOrigin);
    push();
    UpdateData(true);
    if (restored_) {
        OnSymbologyChange();
        control(IDC_B_ROTATION).setCurSel(values_.rotation);
    } else {
        values_ = Barcode2D{};
        values_.data = kMaxicodeOpeningData;
        symbology_ = 0;
        typeLetter_ = "M";
        modeLabel_ = "Mode";
        eccLabel_ = "ECL";
        barLabel_ = "Bar Height";
        fillLists(Symbology::Maxicode);
        control(IDC_B2_MODE).setCurSel(0);
        control(IDC_B_ROTATION).setCurSel(0);
        insertRequested_ = false;
        previousSymbology_ = 0;
        enableFor(Symbology::Maxicode);
    }
    push();
    return true;
}

void C2D_BarcodeCommand::DoDataExchange(ui::DataExchange& dx) {
    exchangePosition(dx, IDC_B_X, values_.x);
    exchangePosition(dx, IDC_B_Y, values_.y);
    dx.CBIndex(IDC_B2_SYMBOLOGY, symbology_);
    dx.Text(IDC_B2_TYPE_LETTER, typeLetter_);
    dx.Text(IDC_B2_MODE_LABEL, modeLabel_);
    dx.Text(IDC_B2_ECC_LABEL, eccLabel_);
    dx.Text(IDC_B2_BAR_LABEL, barLabel_);
    exchangeInt(dx, IDC_B2_ROWS, values_.maxRows, INT_MIN, INT_MAX);
    exchangeInt(dx, IDC_B2_COLS, values_.maxCols, INT_MIN, INT_MAX);
    dx.CBIndex(IDC_B2_COMPRESS, values_.compression);
    dx.CBIndex(IDC_B2_HRI, values_.hri);
    dx.CBIndex(IDC_B2_ORIGIN, values_.origin);
    exchangeInt(dx, IDC_B2_MODULE, values_.moduleWidth, INT_MIN, INT_MAX);
    exchangeInt(dx, IDC_B2_BAR, values_.barHeight, INT_MIN, INT_MAX);
    dx.Text(IDC_B_DATA, values_.data);
    if (dx.saving() && !dx.failed() && symbology_ >= 0) values_.symbology = static_cast<Symbology>(symbology_);
}

void C2D_BarcodeCommand::fillLists(Symbology s) {
    switch (s) {
        case Symbology::Maxicode:
            modeLabel_ = "Mode";
            refill(control(IDC_B2_MODE), kMaxicodeModes);
            break;
        case Symbology::Pdf417:
            eccLabel_ = "ECL";
            refill(control(IDC_B2_ECC), kPdf417EccLevels);
            setSpinRange(IDC_B2_BAR_SPIN, 4, 99);
            break;
        case Symbology::QrCode:
            eccLabel_ = "ECC";
            refill(control(IDC_B2_ECC), kQrEccLevels);
            setSpinRange(IDC_B2_BAR_SPIN, 1, 4);
            modeLabel_ = "Model";
            refill(control(IDC_B2_MODE), kQrModels);
            break;
    }
}

void C2D_BarcodeCommand::enableFor(Symbology s) {
    const bool maxi = s == Symbology::Maxicode, pdf = s == Symbology::Pdf417;
    control(IDC_B2_MODE).enable(!pdf);
    for (int id : {IDC_B2_ROWS, IDC_B2_ROWS_SPIN, IDC_B2_COLS, IDC_B2_COLS_SPIN, IDC_B2_COMPRESS, IDC_B2_HRI,
                   IDC_B2_ORIGIN, IDC_B2_MODULE, IDC_B2_MODULE_SPIN})
        control(id).enable(pdf);
    for (int id : {int(IDC_B2_ECC), int(IDC_B2_BAR), int(IDC_B2_BAR_SPIN), int(IDC_B_ROTATION)}) control(id).enable(!maxi);
}

void C2D_BarcodeCommand::OnSymbologyChange() {
    if (!UpdateData(true)) return;
    const auto s = static_cast<Symbology>(symbology_ < 0 ? 0 : symbology_);
    fillLists(s);
    if (symbology_ != previousSymbology_) {
        // Each change of symbology starts that symbology from its defaults.
        chooseSymbology(values_, s);
        switch (s) {
            case Symbology::Maxicode:
                typeLetter_ = "M";
                control(IDC_B2_MODE).setCurSel(values_.modeIndex);
                break;
            case Symbology::Pdf417:
                typeLetter_ = "P";
                control(IDC_B2_ECC).setCurSel(values_.eccIndex);
                barLabel_ = "Bar Height";
                break;
            case Symbology::QrCode:
                typeLetter_ = "Q";
                control(IDC_B2_ECC).setCurSel(values_.eccIndex);
                barLabel_ = "Bar Size";
                control(IDC_B2_MODE).setCurSel(values_.modeIndex);
                break;
        }
        control(IDC_B_ROTATION).setCurSel(values_.rotation);
    } else {
        if (s == Symbology::Maxicode) control(IDC_B2_MODE).setCurSel(values_.modeIndex);
        if (s != Symbology::Maxicode) control(IDC_B2_ECC).setCurSel(values_.eccIndex);
        if (s == Symbology::QrCode) control(IDC_B2_MODE).setCurSel(values_.modeIndex);
    }
    enableFor(s);
    previousSymbology_ = symbology_;
    push();
}

void C2D_BarcodeCommand::OnModeChange() {
    if (!UpdateData(true)) return;
    chooseMode(values_, control(IDC_B2_MODE).curSel());
    push();
}

void C2D_BarcodeCommand::OnEccChange() {
    if (!UpdateData(true)) return;
    values_.eccIndex = control(IDC_B2_ECC).curSel();
    push();
}

bool C2D_BarcodeCommand::PrepareInsert() {
    if (!quotedFieldFits(values_.data)) return false;
    if (values_.symbology != Symbology::Maxicode) {
        values_.rotation = control(IDC_B_ROTATION).curSel();
        values_.eccText = selectedText(*this, IDC_B2_ECC);
    }
    return true;
}

std::string C2D_BarcodeCommand::InsertText() const { return composeBarcode2D(values_) + "\r\n"; }

void C2D_BarcodeCommand::OnTestPrint() {
    if (!UpdateData(true) || !quotedFieldFits(values_.data)) return;
    Barcode2D v = values_;
    v.rotation = control(IDC_B_ROTATION).curSel();
    if (v.symbology == Symbology::Maxicode) v.modeIndex = control(IDC_B2_MODE).curSel();
    if (v.symbology == Symbology::QrCode) v.eccText = selectedText(*this, IDC_B2_ECC);
    writeTestPrint(testPrintText(composeBarcode2D(v)));
}

namespace {
const bool registered = app::registerDialog({
    "tavl-barcode-2d",
    [](app::ToolContext& ctx) { return std::make_unique<C2D_BarcodeCommand>(ctx); },
    {{"pdf417", [](ui::Dialog& d) { d.chooseItem(IDC_B2_SYMBOLOGY, 1); }},
     {"qrcode", [](ui::Dialog& d) { d.chooseItem(IDC_B2_SYMBOLOGY, 2); }}},
    {},
});
}  // namespace

}  // namespace velmora::tester
