// velmora-cli "zii quality ..." and "zii tool ...": the ZII print quality dialog and the printer
// tools from the command line, driven as a user would drive them.
#include <algorithm>
#include <optional>
#include <ostream>
#include <string>

#include "cli/commands.h"
#include "resources/templates_zii_tools.h"
#include "zii/printertool_zii_dlg.h"
#include "zii/usersetting_zii_qualitydlg.h"

namespace velmora::cli {

namespace {

using namespace resources;
using zii::CPrinterTool_ZII_Dlg;
using zii::CUserSetting_ZII_QualityDlg;

int countPosition(const std::string& labels) {
    const auto& counts = zii::qualityLabelCounts();
    const auto it = std::find(counts.begin(), counts.end(), labels);
    return it == counts.end() ? -1 : static_cast<int>(it - counts.begin());
}

// "--labels N" at args[from], or nothing there: the label-count position (0 when absent).
std::optional<int> labelsOption(const Args& args, std::size_t from) {
    if (args.size() == from) return 0;
    if (args.size() != from + 2 || args[from] != "--labels") return std::nullopt;
    const int pos = countPosition(args[from + 1]);
    return pos < 0 ? std::nullopt : std::optional<int>(pos);
}

// Identifier number of `id` in a series of `count` labels, or -1.
int identifierNumber(const std::string& id, int count) {
    for (int j = 0; j < count; ++j)
        if (zii::labelIdentifier(j) == id) return j;
    return -1;
}

int seriesCount(int pos) { return std::stoi(zii::qualityLabelCounts()[static_cast<std::size_t>(pos)]); }

void startAutomatic(CUserSetting_ZII_QualityDlg& dlg, int pos) {
    dlg.Create();
    dlg.click(IDC_ZQ_AUTO);
    dlg.chooseItem(IDC_ZQ_COUNT, pos);
}

int runQualityAuto(Session& s, const Args& args) {
    const int pos = *labelsOption(args, 0);
    CUserSetting_ZII_QualityDlg dlg(s.ctx);
    startAutomatic(dlg, pos);
    dlg.click(IDC_ZQ_PRINT);
    const int count = seriesCount(pos);
    for (int j = 0; j < dlg.samplesWritten(); ++j) {
        dlg.chooseItem(IDC_ZQ_IDENTIFIERS, j);
        s.out << zii::labelIdentifier(j) << " speed " << dlg.control(IDC_ZQ_SHOW_SPEED).text() << " darkness "
              << dlg.control(IDC_ZQ_SHOW_DARKNESS).text() << '\n';
    }
    return dlg.samplesWritten() == count ? kExitOk : kExitFailure;
}

bool acceptsPick(const Args& args) {
    if (args.empty()) return false;
    const auto pos = labelsOption(args, 1);
    return pos && identifierNumber(args[0], seriesCount(*pos)) >= 0;
}

int runQualityPick(Session& s, const Args& args) {
    const int pos = *labelsOption(args, 1);
    CUserSetting_ZII_QualityDlg dlg(s.ctx);
    startAutomatic(dlg, pos);
    dlg.chooseItem(IDC_ZQ_IDENTIFIERS, identifierNumber(args[0], seriesCount(pos)));
    dlg.click(IDC_ZQ_SET);
    if (!dlg.settingsSent()) return kExitFailure;
    s.out << "speed " << dlg.chosenSpeed() << " darkness " << dlg.chosenDarkness() << '\n';
    return kExitOk;
}

struct ManualArgs {
    int darkness = -1;
    int speed = -1;
    bool sample = false;
    std::optional<std::string> save;
};

std::optional<ManualArgs> parseManual(const Args& args) {
    ManualArgs m;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--sample") {
            m.sample = true;
            continue;
        }
        if (i + 1 >= args.size()) return std::nullopt;
        const std::string& v = args[++i];
        if (a == "--save") {
            if (v.empty()) return std::nullopt;
            m.save = v;
            continue;
        }
        if (v.empty() || v.size() > 2 || !std::all_of(v.begin(), v.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return std::nullopt;
        if (a == "--darkness")
            m.darkness = std::stoi(v);
        else if (a == "--speed")
            m.speed = std::stoi(v);
        else
            return std::nullopt;
    }
    if (m.darkness < 0 || m.darkness > 30 || m.speed < 2 || m.speed > 7) return std::nullopt;
    return m;
}

int runQualityManual(Session& s, const Args& args) {
    const ManualArgs m = *parseManual(args);
    CUserSetting_ZII_QualityDlg dlg(s.ctx);
    dlg.Create();
    dlg.click(IDC_ZQ_MANUAL);
    dlg.chooseItem(IDC_ZQ_SPEED, m.speed - 2);
    dlg.chooseItem(IDC_ZQ_DARKNESS, m.darkness);
    if (m.sample) {
        dlg.click(IDC_ZQ_PRINT);
        if (dlg.samplesWritten() != 1) return kExitFailure;
    }
    if (m.save) {
        dlg.click(IDC_ZQ_SAVE_FILE);
        s.host.setFileAnswer(*m.save);
    }
    dlg.click(IDC_ZQ_SET);
    return dlg.settingsSent() ? kExitOk : kExitFailure;
}

const CPrinterTool_ZII_Dlg::Action* findAction(const std::string& name) {
    for (const auto& a : CPrinterTool_ZII_Dlg::kActions)
        if (name == a.name) return &a;
    return nullptr;
}

int runTool(Session& s, const Args& args) {
    CPrinterTool_ZII_Dlg dlg(s.ctx);
    dlg.Create();
    return dlg.Run(*findAction(args[0])) != 0 ? kExitOk : kExitFailure;
}

const bool registered = [] {
    registerCommand({"zii quality auto", "zii quality auto [--labels 12|18|24|30|36]  print the sample label series",
                     [](const Args& a) { return labelsOption(a, 0).has_value(); }, runQualityAuto});
    registerCommand({"zii quality pick",
                     "zii quality pick ID [--labels N]  set the speed and darkness of sample label ID", acceptsPick,
                     runQualityPick});
    registerCommand({"zii quality manual",
                     "zii quality manual --darkness N --speed N [--sample] [--save FILE]  set them by hand",
                     [](const Args& a) { return parseManual(a).has_value(); }, runQualityManual});
    registerCommand({"zii tool",
                     "zii tool config-label|feed|list-objects|calibrate|factory-defaults|reset|diagnostics-on|"
                     "diagnostics-off  one printer-tool action",
                     [](const Args& a) { return a.size() == 1 && findAction(a[0]) != nullptr; }, runTool});
    return true;
}();

}  // namespace

}  // namespace velmora::cli
