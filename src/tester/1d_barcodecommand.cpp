// The linear barcode builder and its entry in the dialog catalog.
#include "tester/1d_barcodecommand.h"

#include <climits>

#include "app/dialogcatalog.h"
#include "resources/templates_tester.h"

namespace velmora::tester {

using namespace resources;

C1D_BarcodeCommand::C1D_BarcodeCommand(app::ToolContext& ctx) : TesterBuilder(ctx, Barcode1DCommandTemplate()) {}

bool C1D_BarcodeCommand::OnInitDialog() {
    on(ui::Event::Clicked, IDC_B_INSERT, [this] { OnInsertToLabel(); });
    on(ui::Event::Clicked, IDC_B_TEST_PRINT, [this] { OnTestPrint(); });
    on(ui::Event::Clicked, IDC_B_CONVERT, [this] { openConverter(); });
    on(ui::Event::Clicked, IDC_B1_QZONE_ON, [this] { OnQuietZone(); });
    bindSpin(IDC_B_X_SPIN, IDC_B_X, 0, 1000, Ends::Wrap);
    bindSpin(IDC_B_Y_SPIN, IDC_B_Y, 0, 1000, Ends::Wrap);
    bindSpin(IDC_B1_NARROW_SPIN, IDC_B1_NARROW, 1, 100, Ends::Wrap);
    bindSpin(IDC_B1_WIDE_SPIN, IDC_B1_WIDE, 1, 100, Ends::Wrap);
    bindSpin(IDC_B1_HEIGHT_SPIN, IDC_B1_HEIGHT, 0, 1000, Ends::Wrap);
    bindSpin(IDC_B1_QZONE_SPIN, IDC_B1_QZONE, 0, 20, Ends::Wrap);
    if (restored_) {
        control(IDC_B_ROTATION).setCurSel(savedRotation_);
    } else {
        values_ = Barcode1D{};
        control(IDC_B_ROTATION).setCurSel(0);
        insertRequested_ = false;
    }
    push();
    enableQuietZone();
    return true;
}

void C1D_BarcodeCommand::DoDataExchange(ui::DataExchange& dx) {
    exchangePosition(dx, IDC_B_X, values_.x);
    exchangePosition(dx, IDC_B_Y, values_.y);
    dx.CBIndex(IDC_B1_TYPE, values_.type);
    exchangeInt(dx, IDC_B1_NARROW, values_.narrow, INT_MIN, INT_MAX);
    exchangeInt(dx, IDC_B1_WIDE, values_.wide, INT_MIN, INT_MAX);
    exchangeInt(dx, IDC_B1_HEIGHT, values_.height, INT_MIN, INT_MAX);
    dx.CBIndex(IDC_B1_HRI, values_.hri);
    dx.Check(IDC_B1_QZONE_ON, values_.quietZoneOn);
    exchangeInt(dx, IDC_B1_QZONE, values_.quietZone, INT_MIN, INT_MAX);
    dx.Text(IDC_B_DATA, values_.data);
}

void C1D_BarcodeCommand::enableQuietZone() {
    const bool on = control(IDC_B1_QZONE_ON).checked();
    control(IDC_B1_QZONE).enable(on);
    control(IDC_B1_QZONE_SPIN).enable(on);
}

void C1D_BarcodeCommand::OnQuietZone() {
    UpdateData(true);
    enableQuietZone();
    push();
}

bool C1D_BarcodeCommand::PrepareInsert() {
    if (!quotedFieldFits(values_.data)) return false;
    savedRotation_ = control(IDC_B_ROTATION).curSel();
    return true;
}

std::string C1D_BarcodeCommand::InsertText() const {
    Barcode1D v = values_;
    v.rotation = savedRotation_;
    return composeBarcode1D(v) + "\r\n";
}

void C1D_BarcodeCommand::OnTestPrint() {
    if (!UpdateData(true) || !quotedFieldFits(values_.data)) return;
    Barcode1D v = values_;
    v.rotation = control(IDC_B_ROTATION).curSel();
    writeTestPrint(testPrintText(composeBarcode1D(v)));
}

namespace {
const bool registered = app::registerDialog({
    "tavl-barcode-1d",
    [](app::ToolContext& ctx) { return std::make_unique<C1D_BarcodeCommand>(ctx); },
    {{"quiet-zone", [](ui::Dialog& d) { d.click(IDC_B1_QZONE_ON); }}},
    {},
});
}  // namespace

}  // namespace velmora::tester
