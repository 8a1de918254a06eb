// The sensing calibration's exchanges with the printer.
#include "settings/calibrationops.h"

#include <algorithm>
#include <array>

#include "resources/messages.h"
#include "ui/dataexchange.h"

namespace velmora::settings {

namespace {

constexpr std::size_t kReplyBytes = 2 * kBuckets;

void report(const app::Steps& steps, const app::Step& step) {
    if (steps) steps(step);
}

app::Step progress(std::size_t done, std::size_t total) {
    app::Step s;
    s.kind = app::Step::Kind::Progress;
    s.done = done;
    s.total = total;
    return s;
}

std::string rangeMessage(int min, int max) {
    return ui::fillMessage(ui::ddx_text::kEnterIntegerBetween, std::to_string(min), std::to_string(max));
}

std::string countsText(const SensingValues& values) {
    std::string text;
    for (int v : values) text += (text.empty() ? "" : ",") + std::to_string(v);
    return text;
}

// The sampling pause, in slices when the caller follows it.
void pauseForSampling(platform::Clock& clock, unsigned waitMs, unsigned every, const app::Steps& steps) {
    if (every == 0) {
        clock.sleepMs(waitMs);
    } else {
        for (unsigned done = 0; done < waitMs;) {
            const unsigned slice = std::min(every, waitMs - done);
            clock.sleepMs(slice);
            done += slice;
            if (done < waitMs) report(steps, progress(done, waitMs));
        }
    }
    report(steps, progress(waitMs, waitMs));
}

}  // namespace

char sensingPrefix(int menuMode) { return menuMode == 0 ? '^' : '*'; }

int levelStepOf(char prefix) { return prefix == '^' ? 8 : 32; }

ValueRange middleGapRange(char prefix) { return {1, kBuckets * levelStepOf(prefix)}; }

unsigned samplingWaitMs(link::InterfaceKind kind, int rows) {
    return static_cast<unsigned>(rows) * link::linkTraits(kind).samplingMsPerRow;
}

bool SensingResult::valid() const {
    const app::ReadValue* d = distribution();
    return d && d->valid;
}

bool SensingResult::complete() const {
    const app::ReadValue* d = distribution();
    return d && d->raw.size() == kReplyBytes;
}

SensingResult checkSensing(link::CComm& comm, platform::Clock& clock, const SensingRequest& request,
                           const app::Steps& steps) {
    SensingResult r;
    app::Outcome& out = r.outcome;
    if (request.labelLength < kLabelLengthMin || request.labelLength > kLabelLengthMax) {
        out.refuse(0, rangeMessage(kLabelLengthMin, kLabelLengthMax), "length");
        return r;
    }
    comm.BeginAction();
    r.rows = request.labelLength * kDotsPerMm;
    const unsigned waitMs = samplingWaitMs(comm.kind, r.rows);
    report(steps, progress(0, waitMs));

    const std::string sample = std::to_string(r.rows) + (request.type == kMarkSensing ? ",B" : ",G");
    if (comm.WriteText(std::string(1, request.prefix) + "MXd," + sample + "\r") == 0) {
        out.fail(0, "sample");
        return r;
    }
    out.written.emplace_back("sample", sample);
    app::Step wrote;
    wrote.kind = app::Step::Kind::Wrote;
    wrote.written = &out.written.back();
    report(steps, wrote);
    pauseForSampling(clock, waitMs, request.progressEveryMs, steps);

    std::array<std::uint8_t, kReplyBytes> reply{};
    const int got = comm.ReadBytes(reply.data(), reply.size());
    app::ReadValue v;
    v.key = "distribution";
    v.replied = got > 0;
    v.raw.assign(reinterpret_cast<const char*>(reply.data()), static_cast<std::size_t>(std::max(got, 0)));
    if (got != static_cast<int>(kReplyBytes)) {
        v.why = "not the 64 bytes of 32 counts";
        // What is left of a reply must not become the next check's distribution.
        std::array<std::uint8_t, kReplyBytes> drain{};
        comm.ReadBytes(drain.data(), drain.size());
    } else {
        r.values = decodeSensingReply(reply);
        v.text = countsText(r.values);
        // A bucket counts readings of the rows sampled: a count above them is no distribution.
        if (std::any_of(r.values.begin(), r.values.end(), [&](int n) { return n > r.rows; })) {
            v.why = "a count above the " + std::to_string(r.rows) + " rows sampled";
        } else {
            v.valid = true;
            r.analysis = analyseSensing(r.values, request.type);
        }
    }
    out.values.push_back(std::move(v));
    app::Step read;
    read.kind = app::Step::Kind::ValueRead;
    read.value = &out.values.back();
    report(steps, read);

    if (!out.values.back().valid)
        out.fail(msg::kSensingReadFail, "distribution");
    else if (!r.analysis.separable())
        out.fail(msg::kSensingReadFail, "populations");  // the page still shows the distribution
    else
        out.finish(0);
    return r;
}

std::string middleGapMessage(const std::string& text, char prefix) {
    const ValueRange range = middleGapRange(prefix);
    return ui::integerBoxMessage(text, range.min, range.max);
}

std::string gapCountMessage(const std::string& text) { return ui::integerBoxMessage(text, kGapCountMin, kGapCountMax); }

app::Outcome saveCalibration(link::CComm& comm, const StoreRequest& request) {
    app::Outcome out;
    const std::string middle = std::to_string(request.middleGapValue);
    const std::string gapCount = std::to_string(request.gapCount);
    if (std::string why = middleGapMessage(middle, request.prefix); !why.empty())
        return out.refuse(0, why, "middle-gap-value");
    if (std::string why = gapCountMessage(gapCount); !why.empty()) return out.refuse(0, why, "gap-count");
    comm.BeginAction();
    if (comm.WriteText(std::string(1, request.prefix) + "MXs," + middle + "," + gapCount + "\r") == 0)
        return out.fail(0, "store");
    out.written.emplace_back("middle-gap-value", middle);
    out.written.emplace_back("gap-count", gapCount);
    return out.finish(0);
}

app::Outcome cancelCalibration(link::CComm& comm, char prefix) {
    app::Outcome out;
    comm.BeginAction();
    if (comm.WriteText(std::string(1, prefix) + "MXc\r") == 0) return out.fail(0, "cancel");
    out.written.emplace_back("cancel", "calibration");
    return out.finish(0);
}

}  // namespace velmora::settings
