// The ZII print quality dialog: the sample series, the identifiers and "Set to Printer".
#include "zii/usersetting_zii_qualitydlg.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "app/dialogcatalog.h"
#include "platform/userfiles.h"
#include "resources/stringtable.h"
#include "resources/templates_zii_tools.h"
#include "tester/testerformat.h"

namespace velmora::zii {

using namespace resources;

namespace {
constexpr int kMsgNoSaveFile = 214;
constexpr int kMsgCannotWriteFile = 362;
constexpr int kDefaultDarkness = 8;
constexpr int kMaxDarkness = 30;

std::string twoDigits(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}
}  // namespace

const std::vector<std::string>& qualitySpeedTexts() {
    static const std::vector<std::string> texts = {"2.0", "3.0", "4.0", "5.0", "6.0", "7.0"};
    return texts;
}

const std::vector<std::string>& qualityLabelCounts() {
    static const std::vector<std::string> counts = [] {
        std::vector<std::string> c = {std::to_string(2 * qualitySpeedTexts().size())};
        for (const char* more : {"18", "24", "30", "36"}) c.push_back(more);
        return c;
    }();
    return counts;
}

DarknessSeries darknessSeries(int countPos) {
    static constexpr DarknessSeries kSeries[] = {{8, 9}, {9, 5}, {7, 4}, {8, 3}, {7, 2}};
    return countPos >= 0 && countPos < 5 ? kSeries[countPos] : kSeries[0];
}

std::string labelIdentifier(int number) {
    return {static_cast<char>('A' + number / 26), static_cast<char>('A' + number % 26)};
}

std::string sampleLabel(const std::string& identifier, int darkness, const std::string& speedText) {
    const std::string speed = std::to_string(std::atoi(speedText.c_str()));
    std::string t;
    for (const std::string& line : {
             "~SD" + twoDigits(darkness),
             std::string("^XA"),
             std::string("^LH0,0"),
             "^PR" + speed,
             std::string("^FO36,36^BY3^BCN,120,Y,N,N^FDABCDEFG^FS"),
             std::string("^FO500,36,^BY3^BCR,120,Y,N,N^FDABCDEFGHI^FS"),
             std::string("^FO36,240^A0N,60,60^FDIdentifier:^FS"),
             "^FO330,240^A0N,90,90^FD" + identifier + "^FS",
             std::string("^FO36,345^A0N,60,60^FDDarkness:^FS"),
             "^FO330,345^A0N,90,90^FD" + std::to_string(darkness) + "^FS",
             std::string("^FO36,450^A0N,60,60^FDSpeed:^FS"),
             "^FO330,450^A0N,90,90^FD" + speedText + "^FS",
             std::string("^PQ1,0,1,Y"),
             std::string("^XZ"),
         })
        t += line + "\r\n";
    return t;
}

std::string qualitySettingsText(int darkness, int speed) {
    const std::string s = std::to_string(speed);
    return "~SD" + twoDigits(darkness) + "\r\n^XA\r\n^PR" + s + "," + s + "\r\n^XZ\r\n^XA^JUS^XZ\r\n";
}

CUserSetting_ZII_QualityDlg::CUserSetting_ZII_QualityDlg(app::ToolContext& ctx)
    : ui::Dialog(ctx.host, ZiiQualityTemplate()), ctx_(ctx) {}

bool CUserSetting_ZII_QualityDlg::OnInitDialog() {
    ui::Dialog::OnInitDialog();
    for (const auto& c : qualityLabelCounts()) control(IDC_ZQ_COUNT).addItem(c);
    control(IDC_ZQ_COUNT).setCurSel(0);
    for (const auto& s : qualitySpeedTexts()) control(IDC_ZQ_SPEED).addItem(s);
    control(IDC_ZQ_SPEED).setCurSel(0);
    for (int d = 0; d <= kMaxDarkness; ++d) control(IDC_ZQ_DARKNESS).addItem(std::to_string(d));
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

int CUserSetting_ZII_QualityDlg::perSpeed() const {
    const int pos = std::max(control(IDC_ZQ_COUNT).curSel(), 0);
    return std::atoi(qualityLabelCounts()[static_cast<std::size_t>(pos)].c_str()) /
           static_cast<int>(qualitySpeedTexts().size());
}

int CUserSetting_ZII_QualityDlg::speedEntryOf(int identifier) const { return identifier / perSpeed(); }

int CUserSetting_ZII_QualityDlg::darknessOf(int identifier) const {
    const DarknessSeries series = darknessSeries(control(IDC_ZQ_COUNT).curSel());
    return series.base + identifier % perSpeed() * series.step;
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
    const int n = perSpeed() * static_cast<int>(qualitySpeedTexts().size());
    for (int j = 0; j < n; ++j) list.addItem(labelIdentifier(j));
    list.setCurSel(0);
}

int CUserSetting_ZII_QualityDlg::chosenDarkness() const {
    if (mode() == kManual) return std::max(control(IDC_ZQ_DARKNESS).curSel(), 0);
    const int id = control(IDC_ZQ_IDENTIFIERS).curSel();
    return id < 0 ? 0 : darknessOf(id);
}

int CUserSetting_ZII_QualityDlg::chosenSpeed() const {
    int entry = -1;
    if (mode() == kManual) {
        entry = control(IDC_ZQ_SPEED).curSel();
    } else if (const int id = control(IDC_ZQ_IDENTIFIERS).curSel(); id >= 0) {
        entry = speedEntryOf(id);
    }
    return entry < 0 ? 0 : std::atoi(qualitySpeedTexts()[static_cast<std::size_t>(entry)].c_str());
}

void CUserSetting_ZII_QualityDlg::showChoice() {
    const bool manual = mode() == kManual;
    const bool chosen = manual || control(IDC_ZQ_IDENTIFIERS).curSel() >= 0;
    std::string speed, darkness;
    if (chosen) {
        const int entry = manual ? control(IDC_ZQ_SPEED).curSel() : speedEntryOf(control(IDC_ZQ_IDENTIFIERS).curSel());
        if (entry >= 0) speed = qualitySpeedTexts()[static_cast<std::size_t>(entry)] + " inch/s";
        darkness = std::to_string(chosenDarkness());
    }
    control(IDC_ZQ_SHOW_SPEED).setText(speed);
    control(IDC_ZQ_SHOW_DARKNESS).setText(darkness);
}

void CUserSetting_ZII_QualityDlg::OnPrintSamples() {
    ui::WaitCursor wait(ctx_.host);
    samplesWritten_ = 0;
    const auto& speeds = qualitySpeedTexts();
    if (mode() == kManual) {
        const int entry = std::max(control(IDC_ZQ_SPEED).curSel(), 0);
        if (ctx_.comm.WriteText(sampleLabel("", chosenDarkness(), speeds[static_cast<std::size_t>(entry)])) != 0)
            samplesWritten_ = 1;
        return;
    }
    if (mode() != kAutomatic) return;
    const int per = perSpeed();
    const DarknessSeries series = darknessSeries(control(IDC_ZQ_COUNT).curSel());
    ui::LongAction action(ctx_.host, static_cast<unsigned>(per * static_cast<int>(speeds.size())) * kSamplePauseMs);
    for (std::size_t s = 0; s < speeds.size(); ++s) {
        for (int k = 0; k < per; ++k) {
            const int number = static_cast<int>(s) * per + k;
            // The port object has reported a failed write; the rest of the series would fail too.
            if (ctx_.comm.WriteText(sampleLabel(labelIdentifier(number), series.base + k * series.step, speeds[s])) ==
                0)
                return;
            ++samplesWritten_;
            ctx_.clock.sleepMs(kSamplePauseMs);
        }
    }
}

void CUserSetting_ZII_QualityDlg::OnSetToPrinter() {
    ui::WaitCursor wait(ctx_.host);
    settingsSent_ = false;
    const std::string text = qualitySettingsText(chosenDarkness(), chosenSpeed());
    if (control(IDC_ZQ_SAVE_FILE).checked()) {
        ui::FileDialogRequest request;
        request.open = false;
        request.filter = "ZPL files(*.zpl)|*.zpl||";
        const auto path = ctx_.host.fileDialog(request);
        if (!path) {
            app::ShowMessage(ctx_.host, kMsgNoSaveFile);
            return;
        }
        if (!platform::writeUserFile(*path, tester::encodeCommandFile(text))) {
            // The printer is not set as if the file had been saved.
            std::string message = LoadString(kMsgCannotWriteFile);
            if (const auto p = message.find("%1"); p != std::string::npos) message.replace(p, 2, *path);
            ctx_.host.message(message);
            return;
        }
    }
    settingsSent_ = ctx_.comm.WriteText(text) != 0;
}

namespace {
const bool registered = app::registerDialog({
    "zii-quality",
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
