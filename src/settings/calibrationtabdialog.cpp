// The calibration dialog, and its entry in the dialog catalog.
#include "settings/calibrationtabdialog.h"

#include "app/dialogcatalog.h"
#include "app/toolnames.h"
#include "resources/templates_calibration.h"

namespace velmora::settings {

CCalibrationTabDialog::CCalibrationTabDialog(app::ToolContext& ctx)
    : ui::Dialog(ctx.host, resources::CalibrationTabTemplate()), tabCtrl_(ctx) {}

bool CCalibrationTabDialog::OnInitDialog() {
    ui::Dialog::OnInitDialog();
    tabCtrl_.Attach(*this, resources::IDC_CAL_TAB);
    on(ui::Event::TabChange, resources::IDC_CAL_TAB, [this] { tabCtrl_.ShowSelectedPage(); });
    return true;
}

namespace {
const bool registered = app::registerDialog({
    app::kToolCalibration,
    [](app::ToolContext& ctx) { return std::make_unique<CCalibrationTabDialog>(ctx); },
    {
        {"gap-measured",
         [](ui::Dialog& d) { static_cast<CCalibrationTabDialog&>(d).tabCtrl().page().OnCheckSensingValue(); }},
    },
    {0, 1},
});
}  // namespace

}  // namespace velmora::settings
