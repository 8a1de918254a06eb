// The printer's facts as operations: model name, firmware version and six usage counters read
// with "^PI" queries, the three counter resets and the USB serial number; one table of the facts
// beside the operations the printer information page, the command line and profiles all use.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "app/operation.h"
#include "platform/clock.h"

namespace velmora::settings {

struct InfoFact {
    const char* name;    // "model", "motor", as the command line names it
    const char* query;
    const char* suffix;  // counters: the unit put after the number; nullptr: free text
    bool emptyIsZero;    // an empty counter reply means 0
};
inline constexpr std::size_t kInfoFactCount = 8;
// In the order the page reads them.
const std::array<InfoFact, kInfoFactCount>& printerInfoFacts();

inline constexpr unsigned kInfoReplyWaitMs = 40;
inline constexpr std::size_t kInfoReplyLimit = 32;
inline constexpr int kUsbSerialLength = 13;

// The Get, as one action: a value for each fact in order, each from one read of up to 32 bytes.
// Model and firmware are valid when printable and not empty, ended by their line end; a counter
// when it is a whole number ended by its line end (an empty cutter counter is 0). A counter's
// value carries its unit ("125 meter"). Stops at the first query that could not be written.
app::Outcome getPrinterInfo(link::CComm& comm, platform::Clock& clock);
// Model and firmware alone, as one action, by the same queries and rules.
app::Outcome readPrinterFacts(link::CComm& comm, platform::Clock& clock);
// The six counters alone, as one action, by the same queries and rules (a status monitor asks
// them at every poll; the model it asks once).
app::Outcome readPrinterCounters(link::CComm& comm, platform::Clock& clock);

enum class InfoCounter : std::uint8_t { Motor = 0x0C, Tph = 0x0D, Cutter = 0x0E };
// "*MBY" 0x0F and the counter's code: six bytes, no reply.
app::Outcome resetCounter(link::CComm& comm, InfoCounter counter);
// ESC FS GS, the 13 characters, CR LF. Any other length is refused with the page's message, and
// so is a control character, which would break the command.
app::Outcome setUsbSerial(link::CComm& comm, const std::string& text);

}  // namespace velmora::settings
