// The status replies ("^cp": two bytes, "^cu": one) of any length and content: the decoded bits
// are exactly the table's bits set in bytes the reply has, and "Status OK" never stands beside one.
#include <span>
#include <vector>

#include "fuzzcheck.h"
#include "fuzztargets.h"
#include "status/statusbits.h"

namespace velmora::fuzz {

int fuzzOneStatusBits(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> reply(data, size);
    for (const auto table : {status::cpStatusBits(), status::cuStatusBits()}) {
        const std::vector<const status::StatusBit*> set = status::decodeStatusBits(table, reply);
        std::size_t expected = 0;
        for (const status::StatusBit& bit : table) {
            const bool on =
                bit.byte >= 0 && static_cast<std::size_t>(bit.byte) < size && (data[bit.byte] & bit.mask);
            expected += on;
        }
        fuzzCheck(set.size() == expected, "decoded bits differ from the bits set");
        for (const status::StatusBit* bit : set) {
            fuzzCheck(bit >= table.data() && bit < table.data() + table.size(),
                      "a bit from outside the table");
            fuzzCheck(bit->caption != nullptr, "a bit without a caption");
        }
        if (status::allClear(reply)) fuzzCheck(set.empty(), "Status OK beside a set bit");
    }
    return 0;
}

}  // namespace velmora::fuzz
