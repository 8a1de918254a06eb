// The one-pass search for the first of a few bytes finds what a byte-by-byte search finds, for
// every length and every place of the first hit, with its wide steps and its last few bytes.
#include "sim/bytescan.h"

#include <gtest/gtest.h>

#include <string>

namespace velmora::sim {
namespace {

TEST(ByteScan, FindsWhatAPlainSearchFinds) {
    const std::string stops = "\r\n\x1b";
    for (std::size_t length = 0; length <= 70; ++length) {
        for (std::size_t from = 0; from <= std::min<std::size_t>(length, 20); ++from) {
            // No hit, then one of each stop at every place, with a decoy before `from`.
            for (std::size_t hit = from; hit <= length; ++hit) {
                for (const char stop : stops) {
                    std::string text(length, 'x');
                    if (from > 0) text[from - 1] = '\n';
                    if (hit < length) text[hit] = stop;
                    const auto* begin = reinterpret_cast<const std::uint8_t*>(text.data());
                    const std::uint8_t* found = findAnyOf(begin + from, begin + length, '\r', '\n', '\x1b');
                    ASSERT_EQ(found - begin, static_cast<std::ptrdiff_t>(hit))
                        << "length " << length << ", from " << from << ", stop " << int(stop);
                }
            }
        }
    }
    const std::string line = "abc^def~ghi";
    EXPECT_EQ(findAnyOf(line.data(), line.data() + line.size(), '~', '^', '^') - line.data(), 3);
    EXPECT_EQ(findAnyOf(line.data() + 4, line.data() + line.size(), '~', '^', '^') - line.data(), 7);
}

}  // namespace
}  // namespace velmora::sim
