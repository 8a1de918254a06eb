// One ZII setting reply, read as the pages read it (into the cleared 256-byte area, up to its
// first zero, converted from the code page) and decoded by every decoder a page applies to it.
// The reply text never outgrows the area's conversion, and the letter and number decoders
// name an entry of their list or none.
#include <string>

#include "fuzzcheck.h"
#include "fuzzlink.h"
#include "fuzztargets.h"
#include "zii/usersetting_zii_advancedtab.h"
#include "zii/usersetting_zii_serialtab.h"
#include "zii/ziiprotocol.h"

namespace velmora::fuzz {

int fuzzOneZiiReply(const std::uint8_t* data, std::size_t size) {
    FuzzLink link(data, size);
    zii::ReplyArea area;
    area.clear();
    const int got = area.read(link.comm);
    fuzzCheck(got >= 0 && static_cast<std::size_t>(got) <= zii::ReplyArea::kSize, "a read beyond the area");
    const std::string text = area.text();
    // Each byte of a single-byte page becomes at most three bytes of UTF-8.
    fuzzCheck(text.size() <= 3 * zii::ReplyArea::kSize, "reply text larger than its bytes allow");

    const int value = zii::decimalValue(text);
    if (text.find_first_of("0123456789") == std::string::npos)
        fuzzCheck(value == 0, "a number from no digits");
    const int handling = zii::mediaHandlingFromReply(text);
    fuzzCheck(handling >= -1 && handling <= zii::kCutter, "media handling outside its list");
    const int feed = zii::mediaFeedFromReply(text);
    fuzzCheck(feed >= -1 && feed <= zii::kFeedNone, "media feed outside its list");
    zii::parseSerialReply(text);
    return 0;
}

}  // namespace velmora::fuzz
