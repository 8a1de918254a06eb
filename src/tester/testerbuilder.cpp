// The builders' shared behaviour.
#include "tester/testerbuilder.h"

#include <climits>

#include "resources/stringtable.h"
#include "tester/convertunit.h"
#include "tester/tavlcommands.h"

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

void TesterBuilder::bindSpin(int spinId, int editId, int lo, int hi) {
    setSpinRange(spinId, lo, hi);
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
    if (!breaksQuotedField(text)) return true;
    app::ShowMessage(host(), kMsgQuotedFieldBreaks);
    return false;
}

void TesterBuilder::writeTestPrint(const std::string& text) { ctx_.comm.WriteText(text); }

void TesterBuilder::openConverter() {
    CConvertUnit converter(ctx_);
    converter.DoModal();
}

namespace {
std::string fill(std::string text, const std::string& a, const std::string& b) {
    if (auto p = text.find("%1"); p != std::string::npos) text.replace(p, 2, a);
    if (auto p = text.find("%2"); p != std::string::npos) text.replace(p, 2, b);
    return text;
}

bool signedDigits(const std::string& text) {
    const auto b = text.find_first_not_of(" \t");
    const auto e = text.find_last_not_of(" \t");
    if (b == std::string::npos) return false;
    std::size_t i = b + ((text[b] == '-' || text[b] == '+') ? 1 : 0);
    if (i > e) return false;
    for (; i <= e; ++i)
        if (text[i] < '0' || text[i] > '9') return false;
    return true;
}
}  // namespace

void exchangeInt(ui::DataExchange& dx, int id, int& value, int lo, int hi) {
    if (dx.failed()) return;
    if (!dx.saving()) {
        dx.Text(id, value);
        return;
    }
    std::string text;
    dx.Text(id, text);
    const std::string range = fill(ui::ddx_text::kEnterIntegerBetween, std::to_string(lo), std::to_string(hi));
    long long v = 0;
    if (!ui::parseInteger(text, v)) {
        // Digits too many for any integer are out of range, not "not a number".
        dx.Fail(id, signedDigits(text) ? range : ui::ddx_text::kEnterInteger);
        return;
    }
    if (v < lo || v > hi) {
        dx.Fail(id, range);
        return;
    }
    value = static_cast<int>(v);
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
