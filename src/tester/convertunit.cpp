// The unit converter and its entry in the dialog catalog.
#include "tester/convertunit.h"

#include "app/dialogcatalog.h"
#include "resources/templates_tester.h"
#include "tester/tavlcommands.h"
#include "ui/dataexchange.h"

namespace velmora::tester {

using namespace resources;

namespace {
constexpr int kDirectionIds[] = {IDC_CU_INCH_MM, IDC_CU_INCH_DOTS, IDC_CU_DOTS_INCH,
                                 IDC_CU_DOTS_MM, IDC_CU_MM_INCH,   IDC_CU_MM_DOTS};
}  // namespace

CConvertUnit::CConvertUnit(app::ToolContext& ctx) : ui::Dialog(ctx.host, ConvertUnitTemplate()) {}

bool CConvertUnit::OnInitDialog() {
    for (int id : kDirectionIds) on(ui::Event::Clicked, id, [this] { OnDirection(); });
    on(ui::Event::Clicked, IDC_CU_CONVERT, [this] { OnConvert(); });
    input_ = result_ = 0;
    inputUnit_ = "inch";
    resultUnit_ = "mm";
    direction_ = 0;
    return ui::Dialog::OnInitDialog();
}

void CConvertUnit::DoDataExchange(ui::DataExchange& dx) {
    dx.Radio(IDC_CU_INCH_MM, direction_);
    // Single-precision values, shown the way the framework shows a float.
    if (dx.saving()) {
        std::string text;
        dx.Text(IDC_CU_INPUT, text);
        const auto v = parseSingle(text);
        if (!v) {
            dx.Fail(IDC_CU_INPUT, ui::ddx_text::kEnterNumber);
            return;
        }
        input_ = *v;
    } else {
        std::string in = formatSingle(input_), out = formatSingle(result_);
        dx.Text(IDC_CU_INPUT, in);
        dx.Text(IDC_CU_RESULT, out);
    }
    dx.Text(IDC_CU_INPUT_UNIT, inputUnit_);
    dx.Text(IDC_CU_RESULT_UNIT, resultUnit_);
}

void CConvertUnit::OnDirection() {
    if (!UpdateData(true)) return;
    if (direction_ >= 0 && direction_ < 6) {
        inputUnit_ = kConvertDirections[direction_].from;
        resultUnit_ = kConvertDirections[direction_].to;
    }
    UpdateData(false);
}

void CConvertUnit::OnConvert() {
    if (!UpdateData(true)) return;
    result_ = convertUnit(direction_, input_);
    UpdateData(false);
}

namespace {
const bool registered = app::registerDialog({
    "convert-unit",
    [](app::ToolContext& ctx) { return std::make_unique<CConvertUnit>(ctx); },
    {{"inch-to-dots",
      [](ui::Dialog& d) {
          d.click(IDC_CU_INCH_DOTS);
          d.typeText(IDC_CU_INPUT, "4");
          d.click(IDC_CU_CONVERT);
      }}},
    {},
});
}  // namespace

}  // namespace velmora::tester
