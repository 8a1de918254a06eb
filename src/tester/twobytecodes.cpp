// Two-byte code tables and the labels of their charts.
#include "tester/twobytecodes.h"

#include <cstdio>

namespace velmora::tester {

namespace {
constexpr TwoByteTable kTables[] = {
    {"KS5601", "A1 to F7", "A1", "F7", 0xA1, 0xF7, 0xA1, 0xFE, "abcdef", 3, 'K', 51, '6'},
    {"GB2312", "A1 to F7", "A1", "F7", 0xA1, 0xF7, 0xA1, 0xFE, "m", 0, 'G', 52, '7'},
    {"BIG5", "A1 to E8", "A1", "E8", 0xA1, 0xE8, 0x40, 0xFE, "n", 0, 'B', 53, '8'},
    // The area shown leaves out EF to F9, but "all" runs the whole range.
    {"JIS", "81 to EE, FA to FC", "81", "EE", 0x81, 0xFC, 0x3F, 0xFE, "j", 0, 'J', 54, '9'},
};

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}
}  // namespace

std::span<const TwoByteTable> twoByteTables() { return kTables; }

std::optional<int> parseBlock(std::string_view text) {
    if (text.size() != 2) return std::nullopt;
    const int high = hexValue(text[0]), low = hexValue(text[1]);
    if (high < 0 || low < 0) return std::nullopt;
    return high * 16 + low;
}

bool unsafeNativeLead(int lead) { return lead < 0x20 || lead == '\''; }

std::string nativeTwoByteLabel(const TwoByteTable& t, int lead, bool vector, char bitmapFont, std::string_view width,
                               std::string_view height) {
    std::string out;
    if (vector) {
        out = std::string("V20,20,") + t.vectorFont + ',';
        out.append(width);
        out += ',';
        out.append(height);
        out += ",1,N,N,N,0,L,0,'";
    } else {
        out = std::string("T20,20,") + bitmapFont + ",1,1,0,0,N,N,'";
    }
    for (int trail = t.trailFirst; trail <= t.trailLast; ++trail) {
        out += static_cast<char>(lead);
        out += static_cast<char>(trail);
    }
    out += "'\rP1\r";
    return out;
}

std::string ziiTwoByteLabel(const TwoByteTable& t, int lead, std::string_view height, std::string_view width) {
    std::string out = "^XA^CI" + std::to_string(t.ziiCodePage) + "^FO20,20^A" + t.ziiFont + ',';
    out.append(height);
    out += ',';
    out.append(width);
    out += "^TBN,750,1200^FH_^FD";
    char escape[8];
    for (int trail = t.trailFirst; trail <= t.trailLast; ++trail) {
        std::snprintf(escape, sizeof escape, "_%02x_%02x", lead, trail);
        out += escape;
    }
    out += "^FS^XZ";
    return out;
}

}  // namespace velmora::tester
