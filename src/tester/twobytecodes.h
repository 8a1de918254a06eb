// The four two-byte character sets whose charts the code page prints make (KS5601, GB2312, BIG5
// and JIS in its Shift-JIS byte form), and the labels of those charts: one label per lead byte,
// holding every trail byte of that row, as a native text command or as a ZII format that names
// each character by hexadecimal escapes. Pure functions, shared by the command tester's dialog
// and the ZII one.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace velmora::tester {

struct TwoByteTable {
    const char* name;         // "KS5601"
    const char* area;         // the block area as the dialogs show it
    const char* start;        // default start and end block texts
    const char* end;
    int leadFirst, leadLast;  // the lead bytes "Print all block character code" prints
    int trailFirst, trailLast;
    const char* bitmapFonts;  // the native bitmap font letters, in list order
    int bitmapFontChosen;     // the list position chosen when the table is
    char vectorFont;          // the native vector font letter
    int ziiCodePage;          // ^CI
    char ziiFont;             // ^A6 ... ^A9
};

// KS5601, GB2312, BIG5, JIS, in the order of the dialogs' lists.
std::span<const TwoByteTable> twoByteTables();

// A block value: exactly two hexadecimal digits (either case), as a byte; nothing otherwise.
std::optional<int> parseBlock(std::string_view text);

// A native lead byte below 0x20 or an apostrophe would end the quoted text early and turn the
// rest of the row into commands.
bool unsafeNativeLead(int lead);

// The native label of one lead byte: "T20,20,<font>,1,1,0,0,N,N,'" (bitmap) or the table's
// "V20,20,<font>,<width>,<height>,1,N,N,N,0,L,0,'" (vector), the pairs lead, trail for every trail
// byte, then "'" CR "P1" CR. `width` and `height` are bytes in the printer's code page.
std::string nativeTwoByteLabel(const TwoByteTable& table, int lead, bool vector, char bitmapFont,
                               std::string_view width, std::string_view height);

// The ZII label of one lead byte: "^XA^CI<n>^FO20,20^A<f>,<height>,<width>^TBN,750,1200^FH_^FD",
// "_ll_tt" for every trail byte (lower-case digits), "^FS^XZ"; no line end.
std::string ziiTwoByteLabel(const TwoByteTable& table, int lead, std::string_view height, std::string_view width);

}  // namespace velmora::tester
