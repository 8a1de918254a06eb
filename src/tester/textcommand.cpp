// The bitmap text builder and its entry in the dialog catalog.
#include "tester/textcommand.h"

#include <climits>

#include "app/dialogcatalog.h"
#include "resources/templates_tester.h"
#include "tester/fontfinder.h"

namespace velmora::tester {

using namespace resources;

CTextCommand::CTextCommand(app::ToolContext& ctx) : TesterBuilder(ctx, TextCommandTemplate()) {}

bool CTextCommand::OnInitDialog() {
    on(ui::Event::Clicked, IDC_B_INSERT, [this] { OnInsertToLabel(); });
    on(ui::Event::Clicked, IDC_B_TEST_PRINT, [this] { OnTestPrint(); });
    on(ui::Event::Clicked, IDC_BT_FIND_FONT, [this] { OnFindFont(); });
    on(ui::Event::Clicked, IDC_B_CONVERT, [this] { openConverter(); });
    bindSpin(IDC_B_X_SPIN, IDC_B_X, 0, 1000, Ends::Wrap);
    bindSpin(IDC_B_Y_SPIN, IDC_B_Y, 0, 1000, Ends::Wrap);
    bindSpin(IDC_BT_H_SPIN, IDC_BT_H_MULTI, 1, 4, Ends::Wrap);
    bindSpin(IDC_BT_V_SPIN, IDC_BT_V_MULTI, 1, 4, Ends::Wrap);
    bindSpin(IDC_BT_SPACE_SPIN, IDC_BT_SPACE, 0, 100, Ends::Wrap);
    if (restored_) {
        control(IDC_B_ROTATION).setCurSel(savedRotation_);
    } else {
        values_ = BitmapText{};
        control(IDC_B_ROTATION).setCurSel(0);
        insertRequested_ = false;
    }
    push();
    return true;
}

void CTextCommand::DoDataExchange(ui::DataExchange& dx) {
    exchangeReal(dx, IDC_B_X, values_.x, 0, kTextPositionMax);
    exchangeReal(dx, IDC_B_Y, values_.y, 0, kTextPositionMax);
    dx.CBString(IDC_BT_FONT, values_.font);
    // Only the position has a range of its own; the rest are bounded by the command's integer.
    exchangeInt(dx, IDC_BT_H_MULTI, values_.hMulti, INT_MIN, INT_MAX);
    exchangeInt(dx, IDC_BT_V_MULTI, values_.vMulti, INT_MIN, INT_MAX);
    exchangeInt(dx, IDC_BT_SPACE, values_.rightSpace, INT_MIN, INT_MAX);
    dx.CBString(IDC_BT_REVERSE, values_.reverse);
    dx.CBString(IDC_BT_BOLD, values_.bold);
    dx.Text(IDC_B_DATA, values_.text);
}

bool CTextCommand::PrepareInsert() {
    if (!quotedFieldFits(values_.text)) return false;
    savedRotation_ = control(IDC_B_ROTATION).curSel();
    return true;
}

std::string CTextCommand::InsertText() const {
    BitmapText v = values_;
    v.rotation = savedRotation_;
    return composeBitmapText(v) + "\r\n";
}

void CTextCommand::OnTestPrint() {
    if (!UpdateData(true) || !quotedFieldFits(values_.text)) return;
    BitmapText v = values_;
    v.rotation = control(IDC_B_ROTATION).curSel();
    writeTestPrint(testPrintText(composeBitmapText(v)));
}

void CTextCommand::OnFindFont() {
    CFontFinder finder(ctx_);
    finder.DoModal();
}

namespace {
const bool registered = app::registerDialog({
    "tavl-text",
    [](app::ToolContext& ctx) { return std::make_unique<CTextCommand>(ctx); },
    {},
    {},
});
}  // namespace

}  // namespace velmora::tester
