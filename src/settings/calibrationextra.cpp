// The finer-level dialog.
#include "settings/calibrationextra.h"

#include <cstdio>

#include "app/dialogcatalog.h"
#include "resources/messages.h"
#include "resources/templates_calibration.h"
#include "settings/calibration_2.h"
#include "settings/calibrationops.h"
#include "ui/dataexchange.h"

namespace velmora::settings {

using namespace resources;

namespace {
constexpr int kDetailChoices = 8;

std::string format(const char* pattern, int value) {
    char text[32];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}
}  // namespace

CCalibrationExtra::CCalibrationExtra(app::ToolContext& ctx, int low, int high, int lowValue, int highValue,
                                     int sensingType, int gapCount)
    : ui::Dialog(ctx.host, CalibrationExtraTemplate()),
      gapCount(gapCount),
      ctx_(ctx),
      low_(low),
      high_(high),
      lowValue_(lowValue),
      highValue_(highValue),
      sensingType_(sensingType) {}

bool CCalibrationExtra::OnInitDialog() {
    detailChoice = 4;
    middleGapValue = finerLevel(low_, distance(), detailChoice);
    ui::Dialog::OnInitDialog();
    control(IDC_CALX_UPPER_LABEL).setText(format("%3.3d : ", (low_ + 1) * 32));
    control(IDC_CALX_UPPER_VALUE).setText(format("%3.3d", lowValue_));
    control(IDC_CALX_LOWER_LABEL).setText(format("%3.3d : ", (high_ + 1) * 32));
    control(IDC_CALX_LOWER_VALUE).setText(format("%3.3d", highValue_));
    for (int id : {IDC_CALX_UPPER_VALUE, IDC_CALX_LOWER_VALUE})
        control(id).setColors(CCalibration_2::kColorMarkedText, CCalibration_2::kColorMarkedBack);
    for (int a = 1; a < kDetailChoices; ++a)
        control(IDC_CALX_DETAIL_FIRST + a).setText(format("%3.3d :", finerLevel(low_, distance(), a)));
    for (int a = 0; a < kDetailChoices; ++a)
        on(ui::Event::Clicked, IDC_CALX_DETAIL_FIRST + a, [this] { OnDetailClicked(); });
    on(ui::Event::Clicked, IDC_CALX_SAVE, [this] { OnSaveCalibration(); });
    UpdateData(false);
    return true;
}

void CCalibrationExtra::DoDataExchange(ui::DataExchange& dx) {
    const bool all = !dx.saving() || reading_ == Reading::All;
    if (all || reading_ == Reading::Detail) dx.Radio(IDC_CALX_DETAIL_FIRST, detailChoice);
    if (all || reading_ == Reading::Result || reading_ == Reading::Store) {
        // Always sent with '*': the range of that scale, as the page takes it.
        dx.Text(IDC_CALX_MIDDLE, middleGapValue);
        const ValueRange range = middleGapRange('*');
        dx.MinMaxInt(middleGapValue, range.min, range.max);
    }
    if (all || reading_ == Reading::Store) {
        dx.Text(IDC_CALX_GAP_COUNT, gapCount);
        dx.MinMaxInt(gapCount, kGapCountMin, kGapCountMax);
    }
}

bool CCalibrationExtra::readControls(Reading which) {
    reading_ = which;
    const bool ok = UpdateData(true);
    reading_ = Reading::All;
    return ok;
}

void CCalibrationExtra::OnDetailClicked() {
    readControls(Reading::Detail);
    if (detailChoice >= 0) middleGapValue = finerLevel(low_, distance(), detailChoice);
    UpdateData(false);
}

void CCalibrationExtra::OnSaveCalibration() {
    if (!readControls(Reading::Store)) return;
    if (saved_) {
        app::ShowMessage(ctx_.host, msg::kSelectLevel);
        return;
    }
    const app::Outcome out = saveCalibration(ctx_.comm, {'*', middleGapValue, gapCount});
    if (!out.result.message.empty()) ctx_.host.message(out.result.message);
    saved_ = out.done();
}

// The result is the middle gap value: the gap count typed here is this dialog's own.
void CCalibrationExtra::OnOK() {
    if (readControls(Reading::Result)) EndDialog(ui::IDOK);
}

namespace {
const bool registered = app::registerDialog({
    "calibration-extra",
    // Populations one bucket apart, as a narrow gap sensor shows them.
    [](app::ToolContext& ctx) { return std::make_unique<CCalibrationExtra>(ctx, 11, 12, 812, 143, 0, 7); },
    {},
    {},
});
}  // namespace

}  // namespace velmora::settings
