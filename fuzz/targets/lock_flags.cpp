// The lock status reply of any length: the flags fit the eight lock codes, and only the low
// nibbles of its third and fourth bytes count, whatever the other bytes hold.
#include <vector>

#include "fuzzcheck.h"
#include "fuzztargets.h"
#include "zii/ziiprotocol.h"

namespace velmora::fuzz {

int fuzzOneLockFlags(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> reply(data, size);
    const unsigned flags = zii::decodeLockFlags(reply);
    fuzzCheck(flags <= 0xFF, "lock flags beyond the eight lock codes");

    std::vector<std::uint8_t> masked(data, data + size);
    for (std::size_t i = 0; i < masked.size(); ++i) masked[i] = (i == 2 || i == 3) ? masked[i] & 0x0F : 0xA5;
    fuzzCheck(zii::decodeLockFlags(masked) == flags, "lock flags depend on bytes that carry none");
    if (size < 3) fuzzCheck(flags == 0, "lock flags from a reply too short to carry them");
    return 0;
}

}  // namespace velmora::fuzz
