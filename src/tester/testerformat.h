// The command tester's byte work: the receive view (20 bytes a row), command files in and out
// (byte-order marks, UTF-16 little-endian on save), and the character-set test labels.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velmora::tester {

// The receive buffer as the view shows it: two lowercase hex digits or one character per byte
// (33..126 as themselves, the rest "."), a space after each byte, a tab after every fourth and
// CR LF after every twentieth. Empty for an empty buffer.
std::string renderReceiveView(std::string_view bytes, bool hex);

// A command file's bytes as editor text (UTF-8). A byte-order mark counts only when complete:
// EF BB BF is UTF-8, FF FE and FE FF UTF-16; anything else is text in the system code page
// (`fromCodePage` converts it). Text stops at the first zero byte or unit.
std::string decodeCommandFile(std::string_view bytes, std::string (*fromCodePage)(std::string_view));
// Editor text (UTF-8) as the saved file: FF FE, then UTF-16 little-endian units, no terminator.
std::string encodeCommandFile(std::string_view utf8);

// Character-set tests. Each element is one write; text is single bytes in the printer's code page.
struct CharsetFont {
    bool vector = false;
    int x = 20, y = 20;
    std::string font = "3";  // bitmap only
    int hSize = 1, vSize = 1;
};
std::vector<std::string> charsetUnder80(const CharsetFont& f, int set, int table);
std::vector<std::string> charsetOver80(const CharsetFont& f, int set, int table);
// One label per code table 0..tables-1, each two writes.
std::vector<std::string> charsetAllTables(const CharsetFont& f, int set, int tables);
// Sixteen writes (one per national set) and the print command.
std::vector<std::string> charsetInternational(const CharsetFont& f, int table);

}  // namespace velmora::tester
