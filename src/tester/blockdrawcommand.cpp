// The line and box builder and its entry in the dialog catalog.
#include "tester/blockdrawcommand.h"

#include <climits>

#include "app/dialogcatalog.h"
#include "resources/templates_tester.h"

namespace velmora::tester {

using namespace resources;

CBlockDrawCommand::CBlockDrawCommand(app::ToolContext& ctx) : TesterBuilder(ctx, BlockDrawCommandTemplate()) {}

bool CBlockDrawCommand::OnInitDialog() {
    on(ui::Event::Clicked, IDC_B_INSERT, [this] { OnInsertToLabel(); });
    on(ui::Event::Clicked, IDC_B_TEST_PRINT, [this] { OnTestPrint(); });
    on(ui::Event::Clicked, IDC_B_CONVERT, [this] { openConverter(); });
    on(ui::Event::SelChange, IDC_BD_TYPE, [this] { OnTypeChange(); });
    bindSpin(IDC_BD_START_X_SPIN, IDC_BD_START_X, 0, 1000);
    bindSpin(IDC_BD_START_Y_SPIN, IDC_BD_START_Y, 0, 1000);
    bindSpin(IDC_BD_END_X_SPIN, IDC_BD_END_X, 0, 1000);
    bindSpin(IDC_BD_END_Y_SPIN, IDC_BD_END_Y, 0, 1000);
    bindSpin(IDC_BD_OPTIONAL_SPIN, IDC_BD_OPTIONAL, 0, 1000);
    if (restored_) {
        values_.type = savedType_;
    } else {
        values_ = BlockDraw{};
        insertRequested_ = false;
    }
    enableOptional(values_.type);
    push();
    return true;
}

void CBlockDrawCommand::DoDataExchange(ui::DataExchange& dx) {
    exchangePosition(dx, IDC_BD_START_X, values_.startX);
    exchangePosition(dx, IDC_BD_START_Y, values_.startY);
    exchangePosition(dx, IDC_BD_END_X, values_.endX);
    exchangePosition(dx, IDC_BD_END_Y, values_.endY);
    dx.CBIndex(IDC_BD_TYPE, values_.type);
    exchangeInt(dx, IDC_BD_OPTIONAL, values_.optional, INT_MIN, INT_MAX);
}

void CBlockDrawCommand::enableOptional(int type) {
    const bool on = type > 2;
    control(IDC_BD_OPTIONAL).enable(on);
    control(IDC_BD_OPTIONAL_SPIN).enable(on);
}

void CBlockDrawCommand::OnTypeChange() {
    if (!UpdateData(true)) return;
    enableOptional(values_.type);
    chooseBlockType(values_, values_.type);
    push();
}

bool CBlockDrawCommand::PrepareInsert() {
    savedType_ = values_.type;
    return true;
}

std::string CBlockDrawCommand::InsertText() const {
    BlockDraw v = values_;
    v.type = savedType_;
    return composeBlockDraw(v) + "\r\n";
}

void CBlockDrawCommand::OnTestPrint() {
    if (!UpdateData(true)) return;
    writeTestPrint(testPrintText(composeBlockDraw(values_)));
}

namespace {
const bool registered = app::registerDialog({
    "tavl-block-draw",
    [](app::ToolContext& ctx) { return std::make_unique<CBlockDrawCommand>(ctx); },
    {{"box", [](ui::Dialog& d) { d.chooseItem(IDC_BD_TYPE, 4); }}},
    {},
});
}  // namespace

}  // namespace velmora::tester
