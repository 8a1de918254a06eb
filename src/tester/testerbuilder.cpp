// The builders' shared behaviour.
#include "tester/testerbuilder.h"

#include <climits>

#include "app/typedtext.h"
#include "resources/messages.h"
#include "resources/stringtable.h"
#include "tester/convertunit.h"
#include "tester/tavlcommands.h"
#include "tester/testerops.h"

namespace velmora::tester {

TesterBuilder::TesterBuilder(app::ToolContext& ctx, const ui::DialogTemplate& tmpl)
    : ui::Dialog(ctx.host, tmpl), ctx_(ctx) {}

int TesterBuilder::ShowModal() {
    // Every showing runs the opening, as a dialog window created anew would; the restored flag
    // decides whether it loads the defaults or keeps the values.
    if (created()) OnInitDialog();
    return DoModal();
}

void TesterBuilder::OnInsertToLabel() {
    if (!UpdateData(true)) return;
    if (!PrepareInsert()) return;
    restored_ = true;
    insertRequested_ = true;
    push();
    EndDialog(ui::IDCANCEL);
}

void TesterBuilder::bindSpin(int spinId, int editId, int lo, int hi, Ends ends) {
    setSpinRange(spinId, lo, hi);
    control(spinId).setWrap(ends == Ends::Wrap);
    for (const auto& s : spins_)
        if (s.spin == spinId) return;
    spins_.push_back({spinId, editId});
    on(ui::Event::Scroll, spinId, [this, spinId, editId] {
        control(editId).setText(std::to_string(control(spinId).pos()));
    });
}

void TesterBuilder::setSpinRange(int spinId, int lo, int hi) { control(spinId).setRange(lo, hi); }

void TesterBuilder::syncSpins() {
    for (const auto& s : spins_) {
        double v = 0;
        ui::Control& spin = control(s.spin);
        if (!ui::parseNumber(control(s.edit).text(), v)) continue;
        const double lo = spin.rangeMin(), hi = spin.rangeMax();
        spin.setPos(static_cast<int>(v < lo ? lo : v > hi ? hi : v));
    }
}

void TesterBuilder::push() {
    UpdateData(false);
    syncSpins();
}

bool TesterBuilder::quotedFieldFits(const std::string& text) {
    if (!app::breaksQuotedField(text)) return true;
    app::ShowMessage(host(), msg::kQuotedFieldBreaks);
    return false;
}

void TesterBuilder::writeTestPrint(const std::string& text) {
    const app::Outcome printed = tester::writeTestPrint(ctx_.comm, text);
    if (!printed.result.message.empty()) host().message(printed.result.message);  // refused: why
}

void TesterBuilder::openConverter() {
    CConvertUnit converter(ctx_);
    converter.DoModal();
}

void exchangeInt(ui::DataExchange& dx, int id, int& value, int lo, int hi) {
    if (dx.failed()) return;
    if (!dx.saving()) {
        dx.Text(id, value);
        return;
    }
    std::string text;
    dx.Text(id, text);
    if (const std::string problem = wholeNumberProblem(text, lo, hi, value); !problem.empty()) dx.Fail(id, problem);
}

void exchangeReal(ui::DataExchange& dx, int id, double& value, double lo, double hi) {
    dx.Text(id, value);
    dx.MinMaxDouble(value, lo, hi);
}

void exchangePosition(ui::DataExchange& dx, int id, double& value) { exchangeReal(dx, id, value, INT_MIN, INT_MAX); }

std::string selectedText(const ui::Dialog& dialog, int listId) {
    const ui::Control& c = dialog.control(listId);
    return c.curSel() >= 0 ? c.itemText(c.curSel()) : std::string();
}

}  // namespace velmora::tester
