// The monitor's state in the Prometheus text format (version 0.0.4), each printer labelled by
// its line in the printer list and its name there.
#pragma once

#include <string>
#include <vector>

#include "fleet/monitorstate.h"

namespace velmora::fleet {

inline constexpr const char* kMetricsContentType = "text/plain; version=0.0.4; charset=utf-8";

// Every printer polled at least once: whether it is up, the time and length of its last poll,
// its poll count; and while it is up, each status bit of its last valid status, its model and
// firmware, and the counters that came back valid. A value the last poll could not read is left
// out, never shown as a number.
std::string renderMetrics(const std::vector<PrinterWatch>& printers);

// A label value with backslash, double quote and line feed escaped.
std::string labelValue(const std::string& text);

}  // namespace velmora::fleet
