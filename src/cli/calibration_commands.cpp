// velmora-cli "calibrate": the sensing calibration page from the command line. It checks the
// sensing value as the page does, prints the 32 values as a text bar chart with the two
// populations and the proposed level marked, and saves or cancels when asked. The prefix and the
// level scale follow --menu-mode. On a terminal the sampling wait counts down on standard error.
#include <algorithm>
#include <cstdio>
#include <optional>
#include <ostream>
#include <string>

#include "cli/commands.h"
#include "platform/files.h"
#include "resources/templates_calibration.h"
#include "settings/calibrationtabdialog.h"

namespace velmora::cli {

namespace {

using namespace resources;
using settings::CCalibration_2;

constexpr int kMsgNoCalibrationOnEthernet = 219;

struct CalibrateArgs {
    std::string type = "gap";
    std::string length;
    int level = -1;
    std::string middle;
    int gapCount = 0;  // 0: the page's default
    bool save = false;
    bool cancel = false;
};

bool wholeNumber(const std::string& text, int min, int max, int& out) {
    if (text.empty() || text.size() > 9 || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    out = std::stoi(text);
    return out >= min && out <= max;
}

std::optional<CalibrateArgs> parseCalibrate(const Args& args) {
    CalibrateArgs c;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool valued = a == "--type" || a == "--length" || a == "--level" || a == "--middle" || a == "--gap-count";
        if (valued && i + 1 >= args.size()) return std::nullopt;
        int n = 0;
        if (a == "--type") {
            c.type = args[++i];
            if (c.type != "gap" && c.type != "mark") return std::nullopt;
        } else if (a == "--length") {
            c.length = args[++i];  // the page checks its range, with its own message
        } else if (a == "--level") {
            if (!wholeNumber(args[++i], 0, settings::kBuckets - 1, c.level)) return std::nullopt;
        } else if (a == "--middle") {
            c.middle = args[++i];
            if (!wholeNumber(c.middle, 0, 1024, n)) return std::nullopt;
        } else if (a == "--gap-count") {
            if (!wholeNumber(args[++i], 4, 10, c.gapCount)) return std::nullopt;
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

// The clock of the sampling wait: on a terminal a long pause counts down on standard error.
class CountdownClock final : public platform::Clock {
  public:
    CountdownClock(platform::Clock& inner, std::ostream& err) : inner_(inner), err_(err) {}
    void sleepMs(unsigned ms) override {
        if (ms < kSliceMs) return inner_.sleepMs(ms);
        for (unsigned left = ms; left > 0;) {
            err_ << "\rSampling the media sensor: " << (left + kSliceMs - 1) / kSliceMs << " s left " << std::flush;
            const unsigned slice = std::min(left, kSliceMs);
            inner_.sleepMs(slice);
            left -= slice;
        }
        err_ << "\r" << std::string(40, ' ') << "\r" << std::flush;
    }
    std::uint64_t nowMs() override { return inner_.nowMs(); }
    std::chrono::system_clock::time_point wallNow() override { return inner_.wallNow(); }

  private:
    static constexpr unsigned kSliceMs = 1000;
    platform::Clock& inner_;
    std::ostream& err_;
};

void printChart(std::ostream& out, const CCalibration_2& page) {
    const settings::SensingAnalysis& a = page.analysis();
    const int top = std::max(1, *std::max_element(page.values.begin(), page.values.end()));
    constexpr int kWidth = 40;
    out << "level  count\n";
    for (int i = 0; i < settings::kBuckets; ++i) {
        const int v = page.values[i];
        const int len = v == 0 ? 0 : std::max(1, static_cast<int>(static_cast<long long>(v) * kWidth / top));
        char head[32];
        std::snprintf(head, sizeof head, "%5d  %5d |", (i + 1) * CCalibration_2::levelStep(), v);
        std::string line = head + std::string(static_cast<std::size_t>(len), '#');
        std::string marks;
        if (a.separable() && i == a.low) marks += " <lower population";
        if (a.separable() && i == a.high) marks += " <upper population";
        if (i == a.proposed) marks += " <proposed";
        out << line << marks << '\n';
    }
    if (a.proposed >= 0)
        out << "proposed level " << (a.proposed + 1) * CCalibration_2::levelStep() << '\n';
    else
        out << "no two populations found\n";
}

int runCalibrate(Session& s, const Args& args) {
    const auto c = parseCalibrate(args);
    if (!c) return kExitUsage;
    if (s.comm.kind == link::kEthernet) {
        app::ShowMessage(s.host, kMsgNoCalibrationOnEthernet);
        return kExitFailure;
    }
    std::optional<CountdownClock> countdown;
    if (platform::standardErrorIsTerminal()) countdown.emplace(s.clock, s.err);
    app::ToolContext ctx{s.comm, countdown ? static_cast<platform::Clock&>(*countdown) : s.clock, s.host};
    settings::CCalibrationTabDialog dlg(ctx);
    dlg.Create();
    CCalibration_2& page = dlg.tabCtrl().page();
    if (c->type == "mark") page.click(IDC_CAL_TYPE_MARK);
    if (!c->length.empty()) page.typeText(IDC_CAL_LENGTH, c->length);
    page.OnCheckSensingValue();
    if (!page.measured()) return kExitFailure;
    printChart(s.out, page);
    if (c->level >= 0) {
        if (!page.control(IDC_CAL_LEVEL_FIRST + c->level).enabled()) {
            s.err << "velmora-cli: level " << c->level << " is not between the populations\n";
            return kExitFailure;
        }
        page.click(IDC_CAL_LEVEL_FIRST + c->level);
    }
    if (!c->middle.empty()) page.typeText(IDC_CAL_MIDDLE, c->middle);
    if (c->gapCount) page.chooseItem(IDC_CAL_GAP_COUNT, c->gapCount - 4);
    if (c->cancel) {
        page.OnCancelCalibration();
        return kExitOk;
    }
    const std::string middle = page.control(IDC_CAL_MIDDLE).text();
    const std::string gapCount = page.control(IDC_CAL_GAP_COUNT).itemText(page.control(IDC_CAL_GAP_COUNT).curSel());
    s.out << "middle gap value " << middle << ", gap count " << gapCount << '\n';
    if (!c->save) return kExitOk;
    const int before = s.host.messageCount();
    page.OnSaveCalibration();
    if (s.host.messageCount() != before) return kExitFailure;
    s.out << "saved\n";
    return kExitOk;
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
