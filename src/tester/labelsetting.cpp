// The label setting builder and its entry in the dialog catalog.
#include "tester/labelsetting.h"

#include <climits>

#include "app/dialogcatalog.h"
#include "resources/templates_tester.h"

namespace velmora::tester {

using namespace resources;

namespace {
constexpr const char* kUnitNames[] = {"inch", "mm", "dots"};
}

CLabelSetting::CLabelSetting(app::ToolContext& ctx) : TesterBuilder(ctx, LabelSettingTemplate()) {}

bool CLabelSetting::OnInitDialog() {
    on(ui::Event::Clicked, IDC_B_INSERT, [this] { OnInsertToLabel(); });
    for (int id : {IDC_LS_INCH, IDC_LS_MM, IDC_LS_DOTS}) on(ui::Event::Clicked, id, [this] { OnUnit(); });
    if (!restored_) {
        values_ = LabelSettingValues{};
        unit_ = 0;
        current_ = Unit::Inch;
        unitLabel_ = "inch";
        insertRequested_ = false;
    }
    push();
    return true;
}

void CLabelSetting::DoDataExchange(ui::DataExchange& dx) {
    dx.Radio(IDC_LS_INCH, unit_);
    dx.Check(IDC_LS_WIDTH_ON, values_.widthOn);
    dx.Check(IDC_LS_LENGTH_ON, values_.lengthOn);
    dx.Check(IDC_LS_MARGINS_ON, values_.marginsOn);
    // Each value must come out as a whole number of dots the command can carry.
    const double most = INT_MAX / dotsPerUnit(current_);
    exchangeReal(dx, IDC_LS_WIDTH, values_.width, -most, most);
    exchangeReal(dx, IDC_LS_LENGTH, values_.length, -most, most);
    exchangeReal(dx, IDC_LS_X_MARGIN, values_.xMargin, -most, most);
    exchangeReal(dx, IDC_LS_Y_MARGIN, values_.yMargin, -most, most);
    dx.Radio(IDC_LS_GAP, values_.media);
    for (int id : {IDC_LS_WIDTH_UNIT, IDC_LS_LENGTH_UNIT, IDC_LS_X_UNIT, IDC_LS_Y_UNIT}) dx.Text(id, unitLabel_);
    values_.unit = current_;
}

void CLabelSetting::OnUnit() {
    if (!UpdateData(true)) return;
    if (unit_ < 0 || unit_ > 2) return;
    const Unit to = static_cast<Unit>(unit_);
    chooseUnit(values_, to);
    unitLabel_ = kUnitNames[unit_];
    current_ = to;
    push();
}

std::string CLabelSetting::InsertText() const { return joinLines(composeLabelSetting(values_), "\r\n"); }

namespace {
const bool registered = app::registerDialog({
    "tavl-label-setting",
    [](app::ToolContext& ctx) { return std::make_unique<CLabelSetting>(ctx); },
    {{"mm", [](ui::Dialog& d) { d.click(IDC_LS_MM); }}},
    {},
});
}  // namespace

}  // namespace velmora::tester
