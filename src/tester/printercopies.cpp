// The copies builder and its entry in the dialog catalog.
#include "tester/printercopies.h"

#include <climits>

#include "app/dialogcatalog.h"
#include "resources/templates_tester.h"
#include "tester/tavlcommands.h"

namespace velmora::tester {

using namespace resources;

CPrinterCopies::CPrinterCopies(app::ToolContext& ctx) : TesterBuilder(ctx, PrinterCopiesTemplate()) {}

bool CPrinterCopies::OnInitDialog() {
    on(ui::Event::Clicked, IDC_B_INSERT, [this] { OnInsertToLabel(); });
    bindSpin(IDC_PC_QUANTITY_SPIN, IDC_PC_QUANTITY, 0, 100);
    bindSpin(IDC_PC_COPIES_SPIN, IDC_PC_COPIES, 0, 100);
    // Every opening starts from one label, one copy.
    quantity_ = copies_ = 1;
    insertRequested_ = false;
    push();
    return true;
}

void CPrinterCopies::DoDataExchange(ui::DataExchange& dx) {
    exchangeInt(dx, IDC_PC_QUANTITY, quantity_, INT_MIN, INT_MAX);
    exchangeInt(dx, IDC_PC_COPIES, copies_, INT_MIN, INT_MAX);
}

std::string CPrinterCopies::InsertText() const { return composeCopies(quantity_, copies_) + "\r\n"; }

namespace {
const bool registered = app::registerDialog({
    "tavl-copies",
    [](app::ToolContext& ctx) { return std::make_unique<CPrinterCopies>(ctx); },
    {},
    {},
});
}  // namespace

}  // namespace velmora::tester
