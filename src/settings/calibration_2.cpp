// The sensing page: check, analysis, save and cancel.
#include "settings/calibration_2.h"

#include <cstdio>

#include "app/menumode.h"
#include "resources/messages.h"
#include "resources/templates_calibration.h"
#include "settings/calibrationextra.h"
#include "ui/dataexchange.h"

namespace velmora::settings {

using namespace resources;

namespace {
constexpr int kDefaultGapCount = 3;  // list item "7"
constexpr int kFinerMaxDistance = 3;
}  // namespace

CCalibration_2::CCalibration_2(app::ToolContext& ctx)
    : ui::Dialog(ctx.host, CalibrationPageTemplate()), ctx_(ctx), chart_(std::make_shared<SensingChart>()) {
    valueTexts.fill("0000");
}

int CCalibration_2::levelStep() { return levelStepOf(prefix()); }
char CCalibration_2::prefix() { return sensingPrefix(app::MenuMode); }

unsigned CCalibration_2::samplingWaitMs(link::InterfaceKind kind, int rows) {
    return settings::samplingWaitMs(kind, rows);
}

bool CCalibration_2::OnInitDialog() {
    gapCountChoice = kDefaultGapCount;
    sensingType = kGapSensing;
    ui::Dialog::OnInitDialog();
    control(IDC_CAL_CHART).setCustom(chart_);
    chart_->levelStep = levelStep();
    if (app::MenuMode != 0) {
        for (int i = 0; i < kBuckets; ++i) {
            char caption[16];
            std::snprintf(caption, sizeof caption, "%d :", (i + 1) * 32);
            control(IDC_CAL_LEVEL_FIRST + i).setText(caption);
        }
    }
    for (int i = 0; i < kBuckets; ++i) on(ui::Event::Clicked, IDC_CAL_LEVEL_FIRST + i, [this] { OnLevelClicked(); });
    on(ui::Event::Clicked, IDC_CAL_CHECK, [this] { OnCheckSensingValue(); });
    on(ui::Event::Clicked, IDC_CAL_SAVE, [this] { OnSaveCalibration(); });
    on(ui::Event::Clicked, IDC_CAL_CANCEL, [this] { OnCancelCalibration(); });
    enableStep2(false);
    colourValues();
    UpdateData(false);
    return true;
}

void CCalibration_2::DoDataExchange(ui::DataExchange& dx) {
    const bool all = !dx.saving() || reading_ == Reading::All;
    if (all || reading_ == Reading::Level || reading_ == Reading::Store) dx.Radio(IDC_CAL_LEVEL_FIRST, levelChoice);
    if (all || reading_ == Reading::Check) {
        dx.Radio(IDC_CAL_TYPE_GAP, sensingType);
        // The length decides how long the printer samples and the window waits.
        dx.Text(IDC_CAL_LENGTH, labelLength);
        dx.MinMaxInt(labelLength, kLabelLengthMin, kLabelLengthMax);
    }
    if (all || reading_ == Reading::Store) {
        dx.Text(IDC_CAL_MIDDLE, middleGapValue);
        const ValueRange range = middleGapRange(prefix());
        dx.MinMaxInt(middleGapValue, range.min, range.max);
        dx.CBIndex(IDC_CAL_GAP_COUNT, gapCountChoice);
    }
    if (all)
        for (int i = 0; i < kBuckets; ++i) dx.Text(IDC_CAL_VALUE_FIRST + i, valueTexts[i]);
}

bool CCalibration_2::readControls(Reading which) {
    reading_ = which;
    const bool ok = UpdateData(true);
    reading_ = Reading::All;
    return ok;
}

void CCalibration_2::enableStep2(bool on) {
    for (int id : {IDC_CAL_MIDDLE, IDC_CAL_GAP_COUNT, IDC_CAL_SAVE}) control(id).enable(on);
}

void CCalibration_2::colourValues() {
    for (int i = 0; i < kBuckets; ++i) {
        ui::Control& c = control(IDC_CAL_VALUE_FIRST + i);
        if (marks[i])
            c.setColors(kColorMarkedText, kColorMarkedBack);
        else
            c.setColors(kColorPlainText, std::nullopt);
    }
}

void CCalibration_2::toIdle() {
    levelChoice = -1;
    marks.fill(0);
    values.fill(0);
    valueTexts.fill("0000");
    for (int i = 0; i < kBuckets; ++i) control(IDC_CAL_LEVEL_FIRST + i).enable(false);
    analysis_ = {};
    chart_->clear();
    colourValues();
}

void CCalibration_2::showValueTexts() {
    for (int i = 0; i < kBuckets; ++i) {
        char text[16];
        std::snprintf(text, sizeof text, "%4.4d", values[i]);
        valueTexts[i] = text;
    }
}

void CCalibration_2::OnCheckSensingValue() {
    measured_ = false;
    // Only the length and the type: a middle gap value typed and not saved holds up nothing.
    if (!readControls(Reading::Check)) return;
    SensingRequest request;
    request.type = sensingType == kMarkSensing ? kMarkSensing : kGapSensing;
    request.labelLength = labelLength;
    request.prefix = prefix();
    ui::LongAction action(ctx_.host, samplingWaitMs(ctx_.comm.kind, labelLength * kDotsPerMm));
    const SensingResult r = checkSensing(ctx_.comm, ctx_.clock, request, [this](const app::Step& step) {
        if (step.kind == app::Step::Kind::Progress && step.done == 0) {
            // Sampling starts from an idle page, painted before the wait.
            toIdle();
            enableStep2(false);
            UpdateData(false);
        }
    });
    if (!r.outcome.result.message.empty()) ctx_.host.message(r.outcome.result.message);
    if (!r.distribution()) return;  // the start command did not go out; the port object said why
    if (r.complete()) {
        values = r.values;
        showValueTexts();
    }
    if (!r.valid()) {
        // No distribution to take a level from: the page stays idle.
        app::ShowMessage(ctx_.host, msg::kSensingReadFail);
        UpdateData(false);
        return;
    }
    measured_ = true;
    analysis_ = r.analysis;
    enableStep2(true);
    showAnalysis(r.outcome.result.messageId);
}

void CCalibration_2::showAnalysis(int messageId) {
    const SensingAnalysis& a = analysis_;
    marks.fill(0);
    if (a.low >= 0 && a.low < kBuckets) marks[a.low] = 1;
    if (a.high >= 0 && a.high < kBuckets) marks[a.high] = 1;
    colourValues();
    for (int i = 0; i < kBuckets; ++i)
        control(IDC_CAL_LEVEL_FIRST + i).enable(i >= a.firstEnabled && i <= a.lastEnabled);
    levelChoice = a.proposed;
    if (levelChoice >= 0) middleGapValue = (levelChoice + 1) * levelStep();
    chart_->values = values;
    chart_->analysis = a;
    chart_->measured = true;
    chart_->levelStep = levelStep();
    chart_->invalidate();
    UpdateData(false);

    if (messageId) {
        app::ShowMessage(ctx_.host, messageId);  // no two populations
    } else if (a.distance() <= kFinerMaxDistance) {
        CCalibrationExtra extra(ctx_, a.low, a.high, values[a.low], values[a.high], sensingType,
                                gapCountChoice + kGapCountMin);
        if (ctx_.host.runModal(extra) == ui::IDOK) {
            // The finer levels count 32 a level; a native page stores 8 a level.
            middleGapValue = extra.middleGapValue * levelStep() / 32;
            UpdateData(false);
        }
    }
}

void CCalibration_2::OnLevelClicked() {
    readControls(Reading::Level);
    if (levelChoice >= 0) middleGapValue = (levelChoice + 1) * levelStep();
    UpdateData(false);
}

void CCalibration_2::OnSaveCalibration() {
    if (!readControls(Reading::Level)) return;
    if (levelChoice == -1) {
        app::ShowMessage(ctx_.host, msg::kSelectLevel);
        return;
    }
    // Only what is sent: a length typed since the measurement holds up nothing.
    if (!readControls(Reading::Store)) return;
    const app::Outcome out =
        saveCalibration(ctx_.comm, {prefix(), middleGapValue, gapCountChoice + kGapCountMin});
    if (!out.result.message.empty()) ctx_.host.message(out.result.message);
    if (!out.done()) return;  // the measurement stays, to save again
    toIdle();
    enableStep2(false);
    UpdateData(false);
}

void CCalibration_2::OnCancelCalibration() {
    toIdle();
    UpdateData(false);
    cancelCalibration(ctx_.comm, prefix());
    enableStep2(false);
    UpdateData(false);
}

}  // namespace velmora::settings
