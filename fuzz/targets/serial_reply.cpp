// The serial settings reply (setting query 11) of any content: each field is a position in its
// own list or -1, and a reply without a number names nothing.
#include <array>
#include <string>

#include "fuzzcheck.h"
#include "fuzztargets.h"
#include "zii/usersetting_zii_serialtab.h"

namespace velmora::fuzz {

int fuzzOneSerialReply(const std::uint8_t* data, std::size_t size) {
    const std::string_view reply(reinterpret_cast<const char*>(data), size);
    const std::array<int, zii::kSerialFieldCount> found = zii::parseSerialReply(reply);
    // Entries of the page's lists: baud rates, data lengths, parities, stop bits, protocols.
    constexpr std::array<int, zii::kSerialFieldCount> kListSizes = {7, 2, 3, 2, 2};
    for (int i = 0; i < zii::kSerialFieldCount; ++i)
        fuzzCheck(found[i] >= -1 && found[i] < kListSizes[i], "a serial field outside its list");
    if (reply.find_first_of("0123456789") == std::string_view::npos) {
        for (int pos : found) fuzzCheck(pos == -1, "a serial field from a reply without a number");
    }
    return 0;
}

}  // namespace velmora::fuzz
