// Graphic data decoded to rows of bytes: the hexadecimal shorthand at its edges (rows filled,
// repeated or cut by the size, repeat counts that run over rows) and base 64 with and without zlib.
#include "sim/zii_graphic.h"

#include <gtest/gtest.h>

#include <string>

namespace velmora::sim {
namespace {

std::string hex(const std::string& bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : bytes) {
        out += kHex[static_cast<unsigned char>(c) >> 4];
        out += kHex[static_cast<unsigned char>(c) & 15];
    }
    return out;
}

TEST(ZiiGraphic, HexadecimalShorthand) {
    struct Case {
        const char* data;
        std::size_t total, perRow;
        const char* bits;  // in hexadecimal
    };
    const Case cases[] = {
        {"FF000FF0", 4, 2, "FF000FF0"},
        {"ff00a0b1", 4, 2, "FF00A0B1"},              // lower-case digits
        {"\r\nFF00\r\n0FF0\r\n", 4, 2, "FF000FF0"},  // line ends are not data
        {",FF00", 4, 2, "0000FF00"},                 // "," on an empty row: a white row
        {"F,0F", 4, 2, "F0000F00"},                  // "," ends the row with white
        {"F!", 4, 2, "FFFF0000"},                    // "!" ends it with black
        {"!", 4, 2, "FFFF0000"},
        {":", 4, 2, "00000000"},           // no row before: a white one
        {"FF00:", 6, 2, "FF00FF000000"},   // the row before again
        {"FF00F:", 6, 2, "FF00F000F000"},  // a row begun is ended first
        {"FF00::", 8, 2, "FF00FF00FF000000"},
        {"IF", 4, 2, "FFF00000"},  // G..Y: 1..19 times
        {"YF", 10, 5, "FFFFFFFFFFFFFFFFFFF0"},
        {"gF", 12, 2, "FFFFFFFFFFFFFFFFFFFF0000"},   // g..z: 20..400 times, over rows
        {"gHF", 12, 2, "FFFFFFFFFFFFFFFFFFFFFF00"},  // added together
        {"H F", 4, 2, "FF000000"},                   // a space keeps the count
        {"ZHF", 4, 2, "FF000000"},                   // so does a letter that means nothing
        {"H,F", 4, 2, "0000F000"},                   // a row end drops it
        {"H:F", 4, 2, "0000F000"},
        {"FFFFFF", 2, 2, "FFFF"},  // the size cuts the data
        {"zzF", 3, 2, "FFFFFF"},
        {"F0F0F0", 3, 2, "F0F0F0"},  // and a row
        {"FF00:", 3, 2, "FF00FF"},
        {"F!!", 3, 2, "FFFFFF"},
        {"0H1", 2, 1, "0110"},
        {"A", 1, 1, "A0"},
        {"", 2, 1, "0000"},
    };
    for (const Case& c : cases) {
        const DecodedGraphic g = decodeGraphic('A', c.data, c.total, c.perRow);
        EXPECT_TRUE(g.ok) << c.data;
        EXPECT_EQ(hex(g.bits), c.bits) << c.data << " (" << c.total << " bytes, " << c.perRow << " a row)";
    }
}

TEST(ZiiGraphic, BaseSixtyFourAndBinary) {
    EXPECT_EQ(hex(decodeGraphic('A', ":Z64:eJz7z8D/4T8QAAAXAAX7:A597", 8, 2).bits), "FF000FF0FFFFFFFF");
    EXPECT_EQ(hex(decodeGraphic('A', ":B64:/wAP8P////8=:F356", 8, 2).bits), "FF000FF0FFFFFFFF");
    EXPECT_EQ(hex(decodeGraphic('A', ":B64:/wAP8P////8=:F356", 10, 2).bits), "FF000FF0FFFFFFFF0000");
    EXPECT_EQ(hex(decodeGraphic('A', ":B64:/wAP8P////8=:F356", 3, 2).bits), "FF000F");
    EXPECT_EQ(hex(decodeGraphic('B', std::string("\xff\x00\x0f", 3), 4, 2).bits), "FF000F00");
    EXPECT_FALSE(decodeGraphic('A', ":B64:/w*P:0000", 4, 2).ok);
    EXPECT_FALSE(decodeGraphic('A', "FF", 0, 2).ok);
}

}  // namespace
}  // namespace velmora::sim
