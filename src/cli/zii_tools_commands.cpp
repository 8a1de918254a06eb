// velmora-cli "zii quality ..." and "zii tool ...": the ZII print quality series and settings and
// the printer tools, over their operations (zii/qualityops.h, zii/printertoolops.h).
#include <algorithm>
#include <optional>
#include <ostream>
#include <string>

#include "cli/outcome.h"
#include "zii/printertoolops.h"
#include "zii/qualityops.h"

namespace velmora::cli {

namespace {

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

int runQualityAuto(Session& s, const Args& args) {
    const int pos = *labelsOption(args, 0);
    const app::Outcome out = zii::printSampleSeries(s.comm, s.clock, pos);
    // The samples that went out, even when the series stopped.
    for (std::size_t j = 0; j < out.written.size(); ++j) {
        const zii::QualitySample sample = zii::seriesSample(pos, static_cast<int>(j));
        s.out << sample.identifier << " speed " << zii::qualitySpeedTexts()[static_cast<std::size_t>(sample.speedEntry)]
              << " inch/s darkness " << sample.darkness << '\n';
    }
    return reportOutcome(s, out);
}

bool acceptsPick(const Args& args) {
    if (args.empty()) return false;
    const auto pos = labelsOption(args, 1);
    return pos && zii::identifierNumber(args[0], *pos) >= 0;
}

int runQualityPick(Session& s, const Args& args) {
    const int pos = *labelsOption(args, 1);
    const zii::QualitySample sample = zii::seriesSample(pos, zii::identifierNumber(args[0], pos));
    const zii::QualitySetting setting{sample.darkness, zii::speedValue(sample.speedEntry), std::nullopt};
    const app::Outcome out = zii::setPrintQuality(s.comm, setting);
    if (out.done()) s.out << "speed " << setting.speed << " darkness " << setting.darkness << '\n';
    return reportOutcome(s, out);
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
    if (m.darkness < 0 || m.darkness > zii::kQualityMaxDarkness || zii::speedEntryOf(m.speed) < 0) return std::nullopt;
    return m;
}

int runQualityManual(Session& s, const Args& args) {
    const ManualArgs m = *parseManual(args);
    if (m.sample) {
        // No setting follows a sample that did not go out.
        const app::Outcome sample = zii::printManualSample(s.comm, m.darkness, zii::speedEntryOf(m.speed));
        if (!sample.done()) return reportOutcome(s, sample);
    }
    return reportOutcome(s, zii::setPrintQuality(s.comm, {m.darkness, m.speed, m.save}));
}

int runTool(Session& s, const Args& args) {
    return reportOutcome(s, zii::runPrinterTool(s.comm, *zii::findPrinterToolAction(args[0])));
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
                     [](const Args& a) { return a.size() == 1 && zii::findPrinterToolAction(a[0]) != nullptr; },
                     runTool});
    return true;
}();

}  // namespace

}  // namespace velmora::cli
