// The ZII serial interface settings as operations: one table of the five parameters (the values
// the printer reports and takes, the command-line words, the message for a parameter not chosen)
// and the page's Get and Set, used by its dialog, the command line and profiles alike.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "app/operation.h"
#include "platform/clock.h"

namespace velmora::zii {

// The five parameters in page order.
enum SerialField {
    kBaudField = 0,
    kDataLengthField,
    kParityField,
    kStopBitField,
    kProtocolField,
    kSerialFieldCount
};

struct SerialKey {
    const char* name;                 // "baud", as the command line and profiles name it
    bool numeric;                     // the reply field is read as a number, else as a whole text
    std::vector<std::string> values;  // each entry as the printer reports and takes it
    std::vector<std::string> words;   // each entry as the command line names it
};
const std::array<SerialKey, kSerialFieldCount>& serialKeys();

inline constexpr int kSerialQuery = 11;
inline constexpr unsigned kSerialReplyWaitMs = 30;
inline constexpr unsigned kSerialAfterReadMs = 30;

// List positions a serial-settings reply names, one per field, -1 where a field is missing or
// not recognised. The reply's text before its first digit is skipped, then it is split at commas
// with empty fields skipped; fields after the fifth are ignored.
std::array<int, kSerialFieldCount> parseSerialReply(std::string_view reply);

// The whole "^SC" text for the five entries, CR LF included.
std::string serialSetCommand(const std::array<int, kSerialFieldCount>& entries);

// "Get" as one action: the serial settings query, its reply, the pause after it. Values: the five
// parameters by their words; a field the reply does not name has no text.
app::Outcome getSerialSettings(link::CComm& comm, platform::Clock& clock);
// "Set": one saved "^SC" command. Refused, with the field's "Please, select" message and nothing
// sent, when an entry is -1. Done shows the success message, then the restart reminder (message).
app::Outcome setSerialSettings(link::CComm& comm, const std::array<int, kSerialFieldCount>& entries);

}  // namespace velmora::zii
