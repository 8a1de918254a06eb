// velmora-cli "calibrate": samples the media sensor as the sensing page does, prints the 32 values
// as a text bar chart with the two populations and the proposed level marked, and saves or
// cancels when asked. The prefix and the level scale follow --menu-mode. On a terminal the
// sampling wait counts down on standard error.
#include <algorithm>
#include <cstdio>
#include <optional>
#include <ostream>
#include <string>

#include "app/menumode.h"
#include "cli/outcome.h"
#include "platform/files.h"
#include "resources/messages.h"
#include "settings/calibrationops.h"
#include "ui/dataexchange.h"

namespace velmora::cli {

namespace {

using namespace settings;
constexpr int kDefaultGapCount = 7;

struct CalibrateArgs {
    SensingType type = kGapSensing;
    std::string length;  // as typed: refused with the page's message
    int level = -1;
    std::string middle;
    int gapCount = kDefaultGapCount;
    bool save = false;
    bool cancel = false;
};

bool digits(const std::string& text) {
    return !text.empty() && text.size() <= 9 && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::optional<CalibrateArgs> parseCalibrate(const Args& args) {
    CalibrateArgs c;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool valued = a == "--type" || a == "--length" || a == "--level" || a == "--middle" || a == "--gap-count";
        if (valued && i + 1 >= args.size()) return std::nullopt;
        if (a == "--type") {
            const std::string& type = args[++i];
            if (type != "gap" && type != "mark") return std::nullopt;
            c.type = type == "mark" ? kMarkSensing : kGapSensing;
        } else if (a == "--length") {
            c.length = args[++i];
        } else if (a == "--level") {
            if (!digits(args[++i])) return std::nullopt;
            c.level = std::stoi(args[i]);
            if (c.level >= kBuckets) return std::nullopt;
        } else if (a == "--middle") {
            c.middle = args[++i];  // its range follows the menu mode: checked when it runs
            if (!digits(c.middle)) return std::nullopt;
        } else if (a == "--gap-count") {
            if (!digits(args[++i]) || !gapCountMessage(args[i]).empty()) return std::nullopt;
            c.gapCount = std::stoi(args[i]);
        } else if (a == "--save") {
            c.save = true;
        } else if (a == "--cancel") {
            c.cancel = true;
        } else {
            return std::nullopt;
        }
    }
    if (c.save && c.cancel) return std::nullopt;
    return c;
}

// The sampling wait as it passes, on a terminal.
app::Steps countdown(std::ostream& err) {
    return [&err](const app::Step& step) {
        if (step.kind != app::Step::Kind::Progress || step.total < 1000) return;
        if (step.done < step.total)
            err << "\rSampling the media sensor: " << (step.total - step.done + 999) / 1000 << " s left " << std::flush;
        else
            err << "\r" << std::string(40, ' ') << "\r" << std::flush;
    };
}

void printChart(std::ostream& out, const SensingValues& values, const SensingAnalysis& a, int step) {
    const int top = std::max(1, *std::max_element(values.begin(), values.end()));
    constexpr int kWidth = 40;
    out << "level  count\n";
    for (int i = 0; i < kBuckets; ++i) {
        const int v = values[i];
        const int len = v == 0 ? 0 : std::max(1, static_cast<int>(static_cast<long long>(v) * kWidth / top));
        char head[32];
        std::snprintf(head, sizeof head, "%5d  %5d |", (i + 1) * step, v);
        std::string marks;
        if (a.separable() && i == a.low) marks += " <lower population";
        if (a.separable() && i == a.high) marks += " <upper population";
        if (i == a.proposed) marks += " <proposed";
        out << head << std::string(static_cast<std::size_t>(len), '#') << marks << '\n';
    }
    if (a.proposed >= 0)
        out << "proposed level " << (a.proposed + 1) * step << '\n';
    else
        out << "no two populations found\n";
}

int runCalibrate(Session& s, const Args& args) {
    const CalibrateArgs c = *parseCalibrate(args);
    if (s.comm.traits().network) {
        app::ShowMessage(s.host, msg::kNoCalibrationOnEthernet);
        return kExitFailure;
    }
    const char prefix = sensingPrefix(app::MenuMode);
    const int step = levelStepOf(prefix);
    SensingRequest request;
    request.type = c.type;
    request.prefix = prefix;
    if (!c.length.empty()) {
        if (const std::string why = ui::integerBoxMessage(c.length, kLabelLengthMin, kLabelLengthMax); !why.empty()) {
            s.host.message(why);
            return kExitUsage;
        }
        request.labelLength = std::stoi(c.length);
    }
    if (!c.middle.empty())
        if (const std::string why = middleGapMessage(c.middle, prefix); !why.empty()) {
            s.host.message(why);
            return kExitUsage;
        }
    const bool terminal = platform::standardErrorIsTerminal();
    if (terminal) request.progressEveryMs = 1000;
    const SensingResult r = checkSensing(s.comm, s.clock, request, terminal ? countdown(s.err) : app::Steps{});
    // Only a distribution that came whole and makes sense is charted; nothing is saved from another.
    if (!r.valid()) return reportOutcome(s, r.outcome, false);
    printChart(s.out, r.values, r.analysis, step);
    if (!r.outcome.done()) {
        const int status = reportOutcome(s, r.outcome, false);  // no two populations
        return c.cancel ? reportOutcome(s, cancelCalibration(s.comm, prefix)) : status;
    }
    int middle = (r.analysis.proposed + 1) * step;
    if (c.level >= 0) {
        if (c.level < r.analysis.firstEnabled || c.level > r.analysis.lastEnabled) {
            s.err << "velmora-cli: level " << c.level << " is not between the populations\n";
            return kExitFailure;
        }
        middle = (c.level + 1) * step;
    }
    if (!c.middle.empty()) middle = std::stoi(c.middle);
    if (c.cancel) return reportOutcome(s, cancelCalibration(s.comm, prefix));
    s.out << "middle gap value " << middle << ", gap count " << c.gapCount << '\n';
    if (!c.save) return kExitOk;
    const app::Outcome saved = saveCalibration(s.comm, {prefix, middle, c.gapCount});
    if (saved.done()) s.out << "saved\n";
    return reportOutcome(s, saved);
}

const bool registered = [] {
    registerCommand({"calibrate",
                     "calibrate [--type gap|mark] [--length MM] [--level N] [--middle VALUE] [--gap-count N] "
                     "[--save|--cancel]  sample the media sensor and chart it; save or cancel the level",
                     [](const Args& a) { return parseCalibrate(a).has_value(); }, runCalibrate});
    return true;
}();

}  // namespace

}  // namespace velmora::cli
