// What the native setting pages share: the memory-switch read, write and commit, the user-value
// set and query, and how a text reply becomes a field.
//
//   Switch read    prefix "MBR" digit "," replyDigit     7 bytes, no line end; reply: 1 raw byte
//   Switch write   prefix "MBS" digit "," value [CR]     the value is one raw byte, any of 0..255
//   Commit         prefix "MBA" switch CR                the switch as a raw byte 0x01..0x04
//   User value     "^MBU" n "," decimal CR               query "^PI" group "," n CR LF
//
// Prefix "^" is the native form, "*" the form a printer in the ZII emulation takes.
// Everything that composes bytes is a pure function; the exchanges take the port object and
// the clock they pause on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "link/comm.h"
#include "platform/clock.h"

namespace velmora::settings {

// A switch read names the link the printer is to answer on by its reply digit (LinkTraits).
std::string switchReadBytes(char prefix, int switchNumber, link::InterfaceKind kind);
std::string switchWriteBytes(char prefix, int switchNumber, std::uint8_t value, bool withCr);
std::string commitBytes(char prefix, int switchNumber);
std::string userValueCommand(int valueNumber, int value);
std::string userValueQuery(int group, int valueNumber);

// Writes raw bytes; the port object's result (0 on failure).
int writeRaw(link::CComm& comm, std::string_view bytes);

// Sends a switch read, waits, reads one byte; nothing when no byte came.
std::optional<std::uint8_t> readSwitch(link::CComm& comm, platform::Clock& clock, char prefix, int switchNumber,
                                       unsigned waitMs);

// The value write and then its commit, as two writes. The commit goes out only after the value
// write succeeded (a commit of a value never received would make an older staged value take
// effect); the result is nonzero only when both writes succeeded.
int writeSwitch(link::CComm& comm, char prefix, int switchNumber, std::uint8_t value, bool withCr);

// Sends `query`, waits, reads at most `limit` bytes into a zeroed area. The reply is the bytes
// actually read, cut at the first NUL; nothing when no byte came.
std::optional<std::string> queryReply(link::CComm& comm, platform::Clock& clock, std::string_view query,
                                      unsigned waitMs, std::size_t limit);

// A raw reply as a field's text: converted from the system code page, every trailing CR and LF
// removed, and "0" when nothing is left.
std::string normaliseReply(std::string_view raw);
// Only the trailing run of LF, then the trailing run of CR, removed; converted, nothing else.
std::string trimLineEnd(std::string_view raw);

// A signed reply: a sign byte ("-" negative, anything else positive) and three decimal digits.
// Nothing when fewer than four bytes came or bytes 1..3 are not all digits.
struct SignedValue {
    bool negative = false;
    int magnitude = 0;
};
std::optional<SignedValue> parseSignedReply(std::string_view raw);

}  // namespace velmora::settings
