// One poll of one printer for the status monitor, through the same operations as the status
// check and the printer information page: open the link, the status query, the usage counters
// and (when asked) model and firmware, close the link again. The link is closed between polls,
// so print jobs and other programs reach the printer in between (many printers take one TCP
// connection at a time).
#pragma once

#include "cli/cli.h"
#include "fleet/monitorstate.h"
#include "platform/clock.h"
#include "platform/device.h"

namespace velmora::cli {

struct PollAsk {
    bool facts = true;     // model and firmware
    bool counters = true;  // the six usage counters
};

// `printer` holds the printer's connection (and the bounds to use). Up means a whole reply to
// the status query; the status bits count only when that reply was valid, and a counter, model
// or firmware only when its reply was.
fleet::PollReading pollPrinter(const CliOptions& printer, const PollAsk& ask,
                               platform::DeviceFactory& devices, platform::Clock& clock);

}  // namespace velmora::cli
