// The status check as an operation: one query, its pause, the read of its fixed-length reply and
// one more read when the first was short; used by the status pages and the command line alike.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "app/operation.h"
#include "platform/clock.h"
#include "status/statusbits.h"

namespace velmora::status {

struct StatusQuery {
    const char* command;  // "^cp\r"
    std::size_t length;   // of the reply
    std::span<const StatusBit> bits;
};

const StatusQuery& cpQuery();  // two bytes: errors, then label progress
const StatusQuery& cuQuery();  // one byte: errors

inline constexpr const char* kStatusKey = "status";
inline constexpr unsigned kStatusReplyWaitMs = 50;

// Whether the reply sets a bit that no status of the query has (bits 0 and 1 of the error byte,
// bits 0 to 4 of the progress byte): a printer that answers that is not answering this query.
bool setsUnknownBits(const StatusQuery& query, std::span<const std::uint8_t> reply);
// The page's captions of the bits set, in table order, and "Status OK" for a reply of zeros.
std::vector<std::string> tickedBoxes(const StatusQuery& query, std::span<const std::uint8_t> reply);

// Sends the query, waits, and reads the reply's length; when that read is not whole, reports it
// as a step (the page says so before it tries again) and reads once more. The value "status"
// holds the bytes of the last read (what the page decodes when they are a whole reply). It is
// valid only when a whole reply came with no earlier bytes before it (after a short read the
// rest of that reply would come first) and sets no unknown bit; its text is the ticked boxes.
// Fails with message 112 when no valid reply came and the first read was not whole.
app::Outcome queryStatus(link::CComm& comm, platform::Clock& clock, const StatusQuery& query,
                         const app::Steps& steps = {});

// The bytes of a status value as the reply they are.
std::span<const std::uint8_t> replyBytes(const app::ReadValue& value);

}  // namespace velmora::status
