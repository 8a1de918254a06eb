// The sensing page: check, analysis, save and cancel.
#include "settings/calibration_2.h"

#include <cstdio>

#include "app/menumode.h"
#include "resources/templates_calibration.h"
#include "settings/calibrationextra.h"
#include "ui/dataexchange.h"

namespace velmora::settings {

using namespace resources;

namespace {
constexpr int kGapCountBase = 4;  // list item i is gap count i + 4
constexpr int kDefaultGapCount = 3;
constexpr int kReplyBytes = 2 * kBuckets;
constexpr int kFinerMaxDistance = 3;
constexpr int kMsgSelectLevel = 105;
constexpr int kMsgSensingReadFail = 106;
}  // namespace

CCalibration_2::CCalibration_2(app::ToolContext& ctx)
    : ui::Dialog(ctx.host, CalibrationPageTemplate()), ctx_(ctx), chart_(std::make_shared<SensingChart>()) {
    valueTexts.fill("0000");
}

int CCalibration_2::levelStep() { return app::MenuMode == 0 ? 8 : 32; }
char CCalibration_2::prefix() { return app::MenuMode == 0 ? '^' : '*'; }

unsigned CCalibration_2::samplingWaitMs(link::InterfaceKind kind, int rows) {
    const unsigned perRow = kind == link::kSerial ? 4 : kind == link::kEthernet ? 2 : 6;
    return static_cast<unsigned>(rows) * perRow;
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
    // The level comes first, so a bad length typed elsewhere does not hide the chosen level.
    dx.Radio(IDC_CAL_LEVEL_FIRST, levelChoice);
    dx.Radio(IDC_CAL_TYPE_GAP, sensingType);
    dx.Text(IDC_CAL_LENGTH, labelLength);
    dx.MinMaxInt(labelLength, kMinLength, kMaxLength);
    dx.Text(IDC_CAL_MIDDLE, middleGapValue);
    // Only what is stored must be a level; a value typed and not saved holds up nothing else.
    if (checkMiddle_) dx.MinMaxInt(middleGapValue, 1, kBuckets * levelStep());
    dx.CBIndex(IDC_CAL_GAP_COUNT, gapCountChoice);
    for (int i = 0; i < kBuckets; ++i) dx.Text(IDC_CAL_VALUE_FIRST + i, valueTexts[i]);
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

void CCalibration_2::OnCheckSensingValue() {
    measured_ = false;
    // The length decides how long the printer samples (and the window waits): a typo must not
    // cost an hour, so a length out of range sends nothing.
    if (!UpdateData(true)) return;
    toIdle();
    enableStep2(false);
    UpdateData(false);

    ctx_.comm.BeginAction();
    const int rows = labelLength * 8;
    const std::string command =
        std::string(1, prefix()) + "MXd," + std::to_string(rows) + (sensingType == kMarkSensing ? ",B" : ",G") + "\r";
    const unsigned waitMs = samplingWaitMs(ctx_.comm.kind, rows);
    ui::LongAction action(ctx_.host, waitMs);
    if (ctx_.comm.WriteText(command) == 0) return;  // the port object said why
    ctx_.clock.sleepMs(waitMs);
    std::array<std::uint8_t, kReplyBytes> reply{};
    const int got = ctx_.comm.ReadBytes(reply.data(), reply.size());
    if (got != kReplyBytes) {
        app::ShowMessage(ctx_.host, kMsgSensingReadFail);
        std::array<std::uint8_t, kReplyBytes> drain{};
        ctx_.comm.ReadBytes(drain.data(), drain.size());
        UpdateData(false);
        return;
    }
    measured_ = true;
    values = decodeSensingReply(reply);
    for (int i = 0; i < kBuckets; ++i) {
        char text[16];
        std::snprintf(text, sizeof text, "%4.4d", values[i]);
        valueTexts[i] = text;
    }
    analysis_ = analyseSensing(values, sensingType == kMarkSensing ? kMarkSensing : kGapSensing);
    enableStep2(true);
    showAnalysis();
}

void CCalibration_2::showAnalysis() {
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

    const int d = a.distance();
    if (d <= 0) {
        app::ShowMessage(ctx_.host, kMsgSensingReadFail);
    } else if (d <= kFinerMaxDistance) {
        CCalibrationExtra extra(ctx_, a.low, a.high, values[a.low], values[a.high], sensingType,
                                gapCountChoice + kGapCountBase);
        if (ctx_.host.runModal(extra) == ui::IDOK) {
            // The finer levels count 32 a level; a native page stores 8 a level.
            middleGapValue = extra.middleGapValue * levelStep() / 32;
            UpdateData(false);
        }
    }
}

void CCalibration_2::OnLevelClicked() {
    UpdateData(true);
    if (levelChoice >= 0) middleGapValue = (levelChoice + 1) * levelStep();
    UpdateData(false);
}

void CCalibration_2::OnSaveCalibration() {
    if (!UpdateData(true)) return;
    if (levelChoice == -1) {
        app::ShowMessage(ctx_.host, kMsgSelectLevel);
        return;
    }
    checkMiddle_ = true;
    const bool inRange = UpdateData(true);
    checkMiddle_ = false;
    if (!inRange) return;
    ctx_.comm.BeginAction();
    ctx_.comm.WriteText(std::string(1, prefix()) + "MXs," + std::to_string(middleGapValue) + "," +
                        std::to_string(gapCountChoice + kGapCountBase) + "\r");
    toIdle();
    enableStep2(false);
    UpdateData(false);
}

void CCalibration_2::OnCancelCalibration() {
    UpdateData(true);
    toIdle();
    UpdateData(false);
    ctx_.comm.BeginAction();
    ctx_.comm.WriteText(std::string(1, prefix()) + "MXc\r");
    enableStep2(false);
    UpdateData(false);
}

}  // namespace velmora::settings
