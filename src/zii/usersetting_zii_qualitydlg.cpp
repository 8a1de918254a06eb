// The ZII print quality dialog: the sample series, the identifiers and "Set to Printer".
#include "zii/usersetting_zii_qualitydlg.h"

#include <algorithm>

#include "app/dialogcatalog.h"
#include "app/toolnames.h"
#include "resources/messages.h"
#include "resources/templates_zii_tools.h"

namespace velmora::zii {

using namespace resources;

namespace {
constexpr int kDefaultDarkness = 8;
}  // namespace

CUserSetting_ZII_QualityDlg::CUserSetting_ZII_QualityDlg(app::ToolContext& ctx)
    : ui::Dialog(ctx.host, ZiiQualityTemplate()), ctx_(ctx) {}

bool CUserSetting_ZII_QualityDlg::OnInitDialog() {
    ui::Dialog::OnInitDialog();
    for (const auto& c : qualityLabelCounts()) control(IDC_ZQ_COUNT).addItem(c);
    control(IDC_ZQ_COUNT).setCurSel(0);
    for (const auto& s : qualitySpeedTexts()) control(IDC_ZQ_SPEED).addItem(s);
    control(IDC_ZQ_SPEED).setCurSel(0);
    for (int d = 0; d <= kQualityMaxDarkness; ++d) control(IDC_ZQ_DARKNESS).addItem(std::to_string(d));
    control(IDC_ZQ_DARKNESS).setCurSel(kDefaultDarkness);
    on(ui::Event::Clicked, IDC_ZQ_AUTO, [this] { OnModeChanged(); });
    on(ui::Event::Clicked, IDC_ZQ_MANUAL, [this] { OnModeChanged(); });
    on(ui::Event::SelChange, IDC_ZQ_COUNT, [this] { OnCountChanged(); });
    for (int id : {IDC_ZQ_IDENTIFIERS, IDC_ZQ_SPEED, IDC_ZQ_DARKNESS})
        on(ui::Event::SelChange, id, [this] { showChoice(); });
    on(ui::Event::Clicked, IDC_ZQ_PRINT, [this] { OnPrintSamples(); });
    on(ui::Event::Clicked, IDC_ZQ_SET, [this] { OnSetToPrinter(); });
    return true;
}

int CUserSetting_ZII_QualityDlg::mode() const {
    if (control(IDC_ZQ_AUTO).checked()) return kAutomatic;
    if (control(IDC_ZQ_MANUAL).checked()) return kManual;
    return kNone;
}

int CUserSetting_ZII_QualityDlg::countPosition() const { return std::max(control(IDC_ZQ_COUNT).curSel(), 0); }

int CUserSetting_ZII_QualityDlg::speedEntryChosen() const {
    if (mode() == kManual) return control(IDC_ZQ_SPEED).curSel();
    const int id = control(IDC_ZQ_IDENTIFIERS).curSel();
    return id < 0 ? -1 : seriesSample(countPosition(), id).speedEntry;
}

void CUserSetting_ZII_QualityDlg::OnModeChanged() {
    const int m = mode();
    if (m == kNone) return;
    for (int id : {IDC_ZQ_SAVE_FILE, IDC_ZQ_PRINT, IDC_ZQ_SET}) control(id).enable(true);
    const bool automatic = m == kAutomatic;
    control(IDC_ZQ_COUNT).enable(automatic);
    control(IDC_ZQ_IDENTIFIERS).enable(automatic);
    control(IDC_ZQ_SPEED).enable(!automatic);
    control(IDC_ZQ_DARKNESS).enable(!automatic);
    if (automatic)
        rebuildIdentifiers();
    else
        control(IDC_ZQ_IDENTIFIERS).resetContent();
    showChoice();
}

void CUserSetting_ZII_QualityDlg::OnCountChanged() {
    rebuildIdentifiers();
    showChoice();
}

void CUserSetting_ZII_QualityDlg::rebuildIdentifiers() {
    ui::Control& list = control(IDC_ZQ_IDENTIFIERS);
    list.resetContent();
    for (int j = 0; j < labelCount(countPosition()); ++j) list.addItem(labelIdentifier(j));
    list.setCurSel(0);
}

int CUserSetting_ZII_QualityDlg::chosenDarkness() const {
    if (mode() == kManual) return std::max(control(IDC_ZQ_DARKNESS).curSel(), 0);
    const int id = control(IDC_ZQ_IDENTIFIERS).curSel();
    return id < 0 ? 0 : seriesSample(countPosition(), id).darkness;
}

int CUserSetting_ZII_QualityDlg::chosenSpeed() const { return speedValue(speedEntryChosen()); }

void CUserSetting_ZII_QualityDlg::showChoice() {
    const bool chosen = mode() == kManual || control(IDC_ZQ_IDENTIFIERS).curSel() >= 0;
    std::string speed, darkness;
    if (chosen) {
        if (const int entry = speedEntryChosen(); entry >= 0)
            speed = qualitySpeedTexts()[static_cast<std::size_t>(entry)] + " inch/s";
        darkness = std::to_string(chosenDarkness());
    }
    control(IDC_ZQ_SHOW_SPEED).setText(speed);
    control(IDC_ZQ_SHOW_DARKNESS).setText(darkness);
}

void CUserSetting_ZII_QualityDlg::OnPrintSamples() {
    samplesWritten_ = 0;
    {
        ui::WaitCursor wait(ctx_.host);
        if (mode() == kManual) {
            if (printManualSample(ctx_.comm, chosenDarkness(), std::max(control(IDC_ZQ_SPEED).curSel(), 0)).done())
                samplesWritten_ = 1;
        } else if (mode() == kAutomatic) {
            ui::LongAction action(ctx_.host, static_cast<unsigned>(labelCount(countPosition())) * kSamplePauseMs);
            samplesWritten_ =
                static_cast<int>(printSampleSeries(ctx_.comm, ctx_.clock, countPosition()).written.size());
        }
    }
    if (samplesWritten_ > 0) app::ShowStatus(ctx_.host, msg::kStatusSamplesSent, std::to_string(samplesWritten_));
}

void CUserSetting_ZII_QualityDlg::OnSetToPrinter() {
    ui::WaitCursor wait(ctx_.host);
    settingsSent_ = false;
    QualitySetting setting{chosenDarkness(), chosenSpeed(), std::nullopt};
    if (control(IDC_ZQ_SAVE_FILE).checked()) {
        ui::FileDialogRequest request;
        request.open = false;
        request.filter = "ZPL files(*.zpl)|*.zpl||";
        setting.file = ctx_.host.fileDialog(request);
        if (!setting.file) {
            app::ShowMessage(ctx_.host, msg::kNoSaveFile);
            return;
        }
    }
    const app::Outcome out = setPrintQuality(ctx_.comm, setting);
    if (!out.result.message.empty()) ctx_.host.message(out.result.message);
    settingsSent_ = out.done();
    if (settingsSent_ && out.result.message.empty()) app::ShowStatus(ctx_.host, msg::kStatusSettingsSent);
}

namespace {
const bool registered = app::registerDialog({
    app::kToolZiiQuality,
    [](app::ToolContext& ctx) { return std::make_unique<CUserSetting_ZII_QualityDlg>(ctx); },
    {
        {"automatic-36",
         [](ui::Dialog& d) {
             d.click(IDC_ZQ_AUTO);
             d.chooseItem(IDC_ZQ_COUNT, 4);
             d.chooseItem(IDC_ZQ_IDENTIFIERS, 30);
         }},
        {"manual",
         [](ui::Dialog& d) {
             d.click(IDC_ZQ_MANUAL);
             d.chooseItem(IDC_ZQ_SPEED, 4);
             d.chooseItem(IDC_ZQ_DARKNESS, 5);
         }},
    },
    {},
});
}  // namespace

}  // namespace velmora::zii
