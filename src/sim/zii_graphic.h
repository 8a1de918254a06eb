// The bitmap data of ^GF graphic fields and ~DG stored graphics, decoded to rows of bytes:
//   - ASCII hexadecimal, two digits a byte, with its shorthand: G to Y repeat the next digit 1 to
//     19 times, g to z 20 to 400 times (added together: "gH" is 22), "," fills the rest of the row
//     with 0, "!" with 1, ":" repeats the row before;
//   - ":B64:" base 64 of the bytes, ":Z64:" base 64 of their zlib stream, each followed by ":" and
//     the CRC-16 (polynomial 1021, start 0) of the base 64 text in four hexadecimal digits;
//   - binary: the bytes themselves.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace velmora::sim {

// No graphic larger than this is decoded (a label 168 mm wide and a metre long is less).
constexpr std::size_t kMaxGraphicBytes = 4u << 20;

struct DecodedGraphic {
    std::string bits;   // rows * bytesPerRow bytes; missing ones are 0 (white)
    std::string error;  // why the data could not be taken, or a fault it was taken despite
    bool ok = false;
};

// `format` is the ^GF compression letter: 'A' text (hexadecimal or base 64), 'B' binary.
DecodedGraphic decodeGraphic(char format, std::string_view data, std::size_t totalBytes, std::size_t bytesPerRow);

}  // namespace velmora::sim
