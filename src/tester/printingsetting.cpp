// The printing setting builder and its entry in the dialog catalog.
#include "tester/printingsetting.h"

#include "app/dialogcatalog.h"
#include "resources/templates_tester.h"

namespace velmora::tester {

using namespace resources;

CPrintingSetting::CPrintingSetting(app::ToolContext& ctx) : TesterBuilder(ctx, PrintingSettingTemplate()) {}

bool CPrintingSetting::OnInitDialog() {
    on(ui::Event::Clicked, IDC_B_INSERT, [this] { OnInsertToLabel(); });
    on(ui::Event::Clicked, IDC_B_TEST_PRINT, [this] { OnTestPrint(); });
    on(ui::Event::Scroll, IDC_PS_SLIDER, [this] { OnSlider(); });
    control(IDC_PS_SLIDER).setRange(0, 20);
    if (!restored_) {
        values_ = PrintingSettingValues{};
        sliderPos_ = 0;
        densityText_ = "20";
        insertRequested_ = false;
    }
    push();
    return true;
}

void CPrintingSetting::DoDataExchange(ui::DataExchange& dx) {
    dx.Radio(IDC_PS_SPEED_FIRST, values_.speed);
    dx.Check(IDC_PS_SPEED_ON, values_.speedOn);
    dx.SliderPos(IDC_PS_SLIDER, sliderPos_);
    dx.Text(IDC_PS_DENSITY_TEXT, densityText_);
    dx.Check(IDC_PS_DENSITY_ON, values_.densityOn);
    dx.Radio(IDC_PS_TOP, values_.direction);
    dx.Check(IDC_PS_DIRECTION_ON, values_.directionOn);
    // The top of the slider is the darkest setting.
    values_.density = 20 - sliderPos_;
}

void CPrintingSetting::OnSlider() {
    UpdateData(true);
    densityText_ = std::to_string(values_.density);
    push();
}

std::string CPrintingSetting::InsertText() const { return joinLines(composePrintingSetting(values_), "\r\n"); }

void CPrintingSetting::OnTestPrint() {
    if (!UpdateData(true)) return;
    writeTestPrint(printingSettingTestPrint(values_));
}

namespace {
const bool registered = app::registerDialog({
    "tavl-printing-setting",
    [](app::ToolContext& ctx) { return std::make_unique<CPrintingSetting>(ctx); },
    {},
    {},
});
}  // namespace

}  // namespace velmora::tester
