// What the printer's status replies mean, bit by bit.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace velmora::status {

struct StatusBit {
    int byte;            // position in the reply
    std::uint8_t mask;
    int controlId;       // the page's check box
    const char* caption;
    const char* name;    // for logs and metrics: "paper-empty", as the simulator names it
};

// The bits of the two-byte "^cp" reply and of the one-byte "^cu" reply that have a meaning.
std::span<const StatusBit> cpStatusBits();
std::span<const StatusBit> cuStatusBits();

// The bits set in `reply`, in table order; "Status OK" is not a bit (see allClear).
std::vector<const StatusBit*> decodeStatusBits(std::span<const StatusBit> table, std::span<const std::uint8_t> reply);
// True when every byte of the reply is zero: the printer reports "Status OK".
bool allClear(std::span<const std::uint8_t> reply);

}  // namespace velmora::status
