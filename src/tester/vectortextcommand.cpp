// The vector text builder and its entry in the dialog catalog.
#include "tester/vectortextcommand.h"

#include <climits>

#include "app/dialogcatalog.h"
#include "resources/combo.h"
#include "resources/messages.h"
#include "resources/templates_tester.h"

namespace velmora::tester {

using namespace resources;

CVectorTextCommand::CVectorTextCommand(app::ToolContext& ctx) : TesterBuilder(ctx, VectorTextCommandTemplate()) {
    // Nothing is selected until the first opening loads the defaults.
    values_.bold = values_.reverse = values_.italic = values_.rotation = -1;
    values_.justification = values_.direction = -1;
}

bool CVectorTextCommand::OnInitDialog() {
    on(ui::Event::Clicked, IDC_B_INSERT, [this] { OnInsertToLabel(); });
    on(ui::Event::Clicked, IDC_B_TEST_PRINT, [this] { OnTestPrint(); });
    on(ui::Event::Clicked, IDC_B_CONVERT, [this] { openConverter(); });
    bindSpin(IDC_B_X_SPIN, IDC_B_X, 0, 1000);
    bindSpin(IDC_B_Y_SPIN, IDC_B_Y, 0, 1000);
    bindSpin(IDC_VT_WIDTH_SPIN, IDC_VT_WIDTH, 1, 100);
    bindSpin(IDC_VT_HEIGHT_SPIN, IDC_VT_HEIGHT, 1, 100);
    bindSpin(IDC_VT_SPACE_SPIN, IDC_VT_FONT_SPACE, -100, 100);
    FillComboFromString(control(IDC_VT_REVERSE), msg::kListVectorReverse);
    FillComboFromString(control(IDC_VT_BOLD), msg::kListVectorBold);
    FillComboFromString(control(IDC_VT_ITALIC), msg::kListVectorItalic);
    FillComboFromString(control(IDC_VT_JUSTIFY), msg::kListJustification);
    FillComboFromString(control(IDC_VT_DIRECTION), msg::kListTextDirection);
    if (!restored_) {
        values_ = VectorText{};
        font_ = 0;
        insertRequested_ = false;
    }
    push();
    return true;
}

void CVectorTextCommand::DoDataExchange(ui::DataExchange& dx) {
    exchangePosition(dx, IDC_B_X, values_.x);
    exchangePosition(dx, IDC_B_Y, values_.y);
    dx.CBIndex(IDC_VT_FONT, font_);
    exchangeInt(dx, IDC_VT_WIDTH, values_.width, INT_MIN, INT_MAX);
    exchangeInt(dx, IDC_VT_HEIGHT, values_.height, INT_MIN, INT_MAX);
    exchangeInt(dx, IDC_VT_FONT_SPACE, values_.fontSpace, INT_MIN, INT_MAX);
    dx.CBIndex(IDC_VT_BOLD, values_.bold);
    dx.CBIndex(IDC_VT_REVERSE, values_.reverse);
    dx.CBIndex(IDC_VT_ITALIC, values_.italic);
    dx.CBIndex(IDC_B_ROTATION, values_.rotation);
    dx.CBIndex(IDC_VT_JUSTIFY, values_.justification);
    dx.CBIndex(IDC_VT_DIRECTION, values_.direction);
    dx.Text(IDC_B_DATA, values_.text);
}

bool CVectorTextCommand::PrepareInsert() { return quotedFieldFits(values_.text); }

std::string CVectorTextCommand::InsertText() const { return composeVectorText(values_) + "\r\n"; }

void CVectorTextCommand::OnTestPrint() {
    if (!UpdateData(true) || !quotedFieldFits(values_.text)) return;
    writeTestPrint(testPrintText(composeVectorText(values_)));
}

namespace {
const bool registered = app::registerDialog({
    "tavl-vector-text",
    [](app::ToolContext& ctx) { return std::make_unique<CVectorTextCommand>(ctx); },
    {},
    {},
});
}  // namespace

}  // namespace velmora::tester
