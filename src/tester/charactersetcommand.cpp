// The character-set test and its entry in the dialog catalog.
#include "tester/charactersetcommand.h"

#include <climits>
#include <cmath>

#include "app/dialogcatalog.h"
#include "resources/templates_tester.h"
#include "tester/testerops.h"

namespace velmora::tester {

using namespace resources;

CCharacterSetCommand::CCharacterSetCommand(app::ToolContext& ctx)
    : ui::Dialog(ctx.host, CharacterSetCommandTemplate()), ctx_(ctx) {}

bool CCharacterSetCommand::OnInitDialog() {
    on(ui::Event::Clicked, IDC_CS_BITMAP, [this] { OnBitmapFont(); });
    on(ui::Event::Clicked, IDC_CS_VECTOR, [this] { OnVectorFont(); });
    on(ui::Event::Clicked, IDC_CS_UNDER80, [this] { OnUnder80(); });
    on(ui::Event::Clicked, IDC_CS_OVER80, [this] { OnOver80(); });
    on(ui::Event::Clicked, IDC_CS_ALL_TABLES, [this] { OnAllTables(); });
    on(ui::Event::Clicked, IDC_CS_INTERNATIONAL, [this] { OnInternational(); });
    // Plain members, not structured bindings: a lambda may not capture those before C++20's fix,
    // which not every compiler here has.
    for (const auto& pair : {std::pair{IDC_B_X_SPIN, IDC_B_X}, {IDC_B_Y_SPIN, IDC_B_Y}, {IDC_CS_H_SPIN, IDC_CS_H_SIZE},
                             {IDC_CS_V_SPIN, IDC_CS_V_SIZE}}) {
        const int spin = pair.first;
        const int edit = pair.second;
        on(ui::Event::Scroll, spin, [this, spin, edit] { control(edit).setText(std::to_string(control(spin).pos())); });
    }
    control(IDC_B_X_SPIN).setRange(0, 1000);
    control(IDC_B_Y_SPIN).setRange(0, 1000);
    fontType_ = 0;
    x_ = y_ = 20;
    font_ = "3";
    set_ = table_ = 0;
    setSizes(1, 4, 1, "H Multi", "V Multi", true);
    return true;
}

void CCharacterSetCommand::DoDataExchange(ui::DataExchange& dx) {
    dx.CBIndex(IDC_CS_SET, set_);
    dx.CBIndex(IDC_CS_TABLE, table_);
    dx.Radio(IDC_CS_BITMAP, fontType_);
    exchangeReal(dx, IDC_B_X, x_, INT_MIN, INT_MAX);
    exchangeReal(dx, IDC_B_Y, y_, INT_MIN, INT_MAX);
    dx.CBString(IDC_CS_FONT, font_);
    exchangeInt(dx, IDC_CS_H_SIZE, hSize_, INT_MIN, INT_MAX);
    exchangeInt(dx, IDC_CS_V_SIZE, vSize_, INT_MIN, INT_MAX);
    dx.Text(IDC_CS_H_LABEL, hLabel_);
    dx.Text(IDC_CS_V_LABEL, vLabel_);
}

void CCharacterSetCommand::setSizes(int lo, int hi, int value, const char* hLabel, const char* vLabel, bool fontList) {
    control(IDC_CS_H_SPIN).setRange(lo, hi);
    control(IDC_CS_V_SPIN).setRange(lo, hi);
    hSize_ = vSize_ = value;
    hLabel_ = hLabel;
    vLabel_ = vLabel;
    control(IDC_CS_FONT).enable(fontList);
    UpdateData(false);
    control(IDC_CS_H_SPIN).setPos(value);
    control(IDC_CS_V_SPIN).setPos(value);
    control(IDC_B_X_SPIN).setPos(static_cast<int>(std::trunc(std::fmin(std::fmax(x_, 0), 1000))));
    control(IDC_B_Y_SPIN).setPos(static_cast<int>(std::trunc(std::fmin(std::fmax(y_, 0), 1000))));
}

void CCharacterSetCommand::OnBitmapFont() {
    UpdateData(true);
    setSizes(1, 4, 1, "H Multi", "V Multi", true);
}

void CCharacterSetCommand::OnVectorFont() {
    UpdateData(true);
    setSizes(1, 100, kCharsetVectorSize, "Width", "Height", false);
}

CharsetFont CCharacterSetCommand::font() const {
    CharsetFont f;
    f.vector = fontType_ == 1;
    f.x = static_cast<int>(std::trunc(x_));
    f.y = static_cast<int>(std::trunc(y_));
    f.font = font_;
    f.hSize = hSize_;
    f.vSize = vSize_;
    return f;
}

void CCharacterSetCommand::print(CharsetTest test) {
    if (UpdateData(true)) printCharsetTest(ctx_.comm, {test, font(), set_, table_});
}

void CCharacterSetCommand::OnUnder80() { print(CharsetTest::Under80); }

void CCharacterSetCommand::OnOver80() { print(CharsetTest::Over80); }

void CCharacterSetCommand::OnAllTables() { print(CharsetTest::AllTables); }

void CCharacterSetCommand::OnInternational() { print(CharsetTest::International); }

namespace {
const bool registered = app::registerDialog({
    "tavl-character-set",
    [](app::ToolContext& ctx) { return std::make_unique<CCharacterSetCommand>(ctx); },
    {{"vector", [](ui::Dialog& d) { d.click(IDC_CS_VECTOR); }}},
    {},
});
}  // namespace

}  // namespace velmora::tester
