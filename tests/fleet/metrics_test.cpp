// The Prometheus text: what is shown for a printer that is up, and what is left out when a value
// cannot be trusted. (The end-to-end test parses it with the Prometheus client library.)
#include "fleet/metrics.h"

#include <gtest/gtest.h>

namespace velmora::fleet {
namespace {

bool has(const std::string& text, const std::string& line) {
    return text.find(line + "\n") != std::string::npos;
}

TEST(Metrics, UpPrinterShowsBitsCountersAndInfoDownPrinterOnlyItsPolls) {
    std::vector<PrinterWatch> printers;
    printers.emplace_back(2, "10.0.0.7:9100");
    printers.emplace_back(5, "/dev/ttyUSB0");
    printers.emplace_back(7, "never polled");
    PollReading r;
    r.up = true;
    r.statusValid = true;
    r.flags = {{"paper-empty", true}, {"cover-open", false}};
    r.counters = {{"motor", "meter", 125}, {"cutter-permanent", "times", 905}};
    r.model = "LX-4 \"Pro\"";
    r.firmware = "V2.1";
    r.took = std::chrono::milliseconds{643};
    r.time = WallTime{std::chrono::milliseconds{1717236000123}};
    printers[0].take(r);
    PollReading gone;
    gone.why = "cannot connect";
    printers[1].take(gone);

    const std::string text = renderMetrics(printers);
    const std::string p = "line=\"2\",printer=\"10.0.0.7:9100\"";
    EXPECT_TRUE(has(text, "velmora_printer_up{" + p + "} 1"));
    EXPECT_TRUE(has(text, "velmora_printer_status{" + p + ",bit=\"paper-empty\"} 1"));
    EXPECT_TRUE(has(text, "velmora_printer_status{" + p + ",bit=\"cover-open\"} 0"));
    EXPECT_TRUE(has(text, "velmora_printer_usage_meters_total{" + p + ",counter=\"motor\"} 125"));
    EXPECT_TRUE(has(text, "velmora_printer_usage_total{" + p + ",counter=\"cutter-permanent\"} 905"));
    EXPECT_TRUE(has(text, "velmora_printer_info{" + p + ",model=\"LX-4 \\\"Pro\\\"\",firmware=\"V2.1\"} 1"));
    EXPECT_TRUE(has(text, "velmora_printer_last_poll_timestamp_seconds{" + p + "} 1717236000.123"));
    EXPECT_TRUE(has(text, "velmora_printer_last_poll_duration_seconds{" + p + "} 0.643"));
    EXPECT_TRUE(has(text, "velmora_printer_polls_total{" + p + "} 1"));

    const std::string q = "line=\"5\",printer=\"/dev/ttyUSB0\"";
    EXPECT_TRUE(has(text, "velmora_printer_up{" + q + "} 0"));
    EXPECT_TRUE(has(text, "velmora_printer_polls_total{" + q + "} 1"));
    EXPECT_EQ(text.find("velmora_printer_status{" + q), std::string::npos);
    EXPECT_EQ(text.find("never polled"), std::string::npos);
    EXPECT_TRUE(has(text, "# TYPE velmora_printer_usage_meters_total counter"));
}

TEST(Metrics, LabelValuesAreEscaped) { EXPECT_EQ(labelValue("a\\b\"c\nd"), "a\\\\b\\\"c\\nd"); }

}  // namespace
}  // namespace velmora::fleet
