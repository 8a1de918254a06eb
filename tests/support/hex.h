// Bytes as hexadecimal, so a failing comparison shows the bytes that differ.
#pragma once

#include <string>
#include <string_view>

namespace velmora::testing {

inline std::string hex(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out += kDigits[c >> 4];
        out += kDigits[c & 15];
        out += ' ';
    }
    return out;
}

}  // namespace velmora::testing
