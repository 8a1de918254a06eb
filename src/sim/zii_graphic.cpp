// Decoding graphic data: hexadecimal with its shorthand, base 64 with or without zlib.
#include "sim/zii_graphic.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace velmora::sim {

namespace {

std::uint16_t crc16(std::string_view text) {
    std::uint16_t crc = 0;
    for (const char c : text) {
        crc ^= static_cast<std::uint16_t>(static_cast<unsigned char>(c) << 8);
        for (int bit = 0; bit < 8; ++bit)
            crc = static_cast<std::uint16_t>(crc & 0x8000 ? (crc << 1) ^ 0x1021 : crc << 1);
    }
    return crc;
}

// What each character of base 64 text stands for: 0 to 63, kSkip (padding and white space) or
// kBad.
constexpr std::uint8_t kSkip = 64, kBad = 65;
constexpr std::array<std::uint8_t, 256> kBase64 = [] {
    std::array<std::uint8_t, 256> t{};
    t.fill(kBad);
    for (int i = 0; i < 26; ++i) {
        t['A' + i] = static_cast<std::uint8_t>(i);
        t['a' + i] = static_cast<std::uint8_t>(26 + i);
    }
    for (int i = 0; i < 10; ++i) t['0' + i] = static_cast<std::uint8_t>(52 + i);
    t['+'] = 62;
    t['/'] = 63;
    for (const char c : {'=', ' ', '\t', '\r', '\n'}) t[static_cast<unsigned char>(c)] = kSkip;
    return t;
}();

bool base64(std::string_view text, std::string& out) {
    out.resize(text.size() / 4 * 3 + 3);
    std::size_t n = 0;
    unsigned buffer = 0;
    int bits = 0;
    for (const char c : text) {
        const std::uint8_t v = kBase64[static_cast<unsigned char>(c)];
        if (v == kSkip) continue;
        if (v == kBad) return false;
        buffer = (buffer << 6) | v;
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out[n++] = static_cast<char>((buffer >> bits) & 0xFF);
        }
    }
    out.resize(n);
    return true;
}

bool inflateAll(const std::string& in, std::size_t limit, std::string& out) {
    z_stream z{};
    if (inflateInit(&z) != Z_OK) return false;
    out.assign(limit, '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
    z.avail_in = static_cast<uInt>(in.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(limit);
    const int rc = inflate(&z, Z_FINISH);
    out.resize(limit - z.avail_out);
    inflateEnd(&z);
    // More output than the graphic holds (Z_BUF_ERROR) keeps the graphic's part.
    return rc == Z_STREAM_END || rc == Z_BUF_ERROR;
}

// How each character of the hexadecimal form counts: a digit (0 to 15), a repeat count (G to Y
// 1 to 19, g to z 20 to 400, as kRepeat plus the count), a row end or repeat, or nothing.
constexpr std::uint16_t kNothing = 0xFFFF, kWhiteRest = 0xFFFE, kBlackRest = 0xFFFD, kRowAgain = 0xFFFC,
                        kRepeat = 0x100;
constexpr std::array<std::uint16_t, 256> kHexForm = [] {
    std::array<std::uint16_t, 256> t{};
    t.fill(kNothing);
    for (int i = 0; i < 10; ++i) t['0' + i] = static_cast<std::uint16_t>(i);
    for (int i = 0; i < 6; ++i) t['A' + i] = t['a' + i] = static_cast<std::uint16_t>(10 + i);
    for (int c = 'G'; c <= 'Y'; ++c) t[c] = static_cast<std::uint16_t>(kRepeat + c - 'G' + 1);
    for (int c = 'g'; c <= 'z'; ++c) t[c] = static_cast<std::uint16_t>(kRepeat + (c - 'g' + 1) * 20);
    t[','] = kWhiteRest;
    t['!'] = kBlackRest;
    t[':'] = kRowAgain;
    return t;
}();

// The hexadecimal form with its shorthand, row by row, written straight into `out` (total bytes,
// zero already). A row is written where it will stay; a row cut short by the total is the last.
void hexRows(std::string_view data, std::size_t total, std::size_t perRow, std::string& out) {
    const std::size_t rowNibbles = perRow * 2;
    std::size_t row = 0;       // where the row being filled begins
    std::size_t nibbles = 0;   // of it, filled
    std::size_t previous = 0;  // where the row before begins, once there is one
    bool havePrevious = false;
    const auto put = [&](unsigned v) {
        const std::size_t at = row + nibbles / 2;
        if (at < total) out[at] = static_cast<char>(nibbles % 2 ? out[at] | v : v << 4);
        ++nibbles;
    };
    // The rest of the row as `fill` (0 or 15); then the next row begins.
    const auto endRow = [&](unsigned fill) {
        if (fill) {
            if (nibbles % 2) put(fill);
            const std::size_t from = row + nibbles / 2, to = std::min(row + perRow, total);
            if (from < to) std::memset(out.data() + from, 0xFF, to - from);
        }
        previous = row;
        havePrevious = true;
        row += perRow;
        nibbles = 0;
    };
    std::size_t repeat = 0;
    const auto form = [&data](std::size_t i) { return kHexForm[static_cast<unsigned char>(data[i])]; };
    for (std::size_t i = 0; i < data.size(); ++i) {
        if (row >= total) break;
        const std::uint16_t v = form(i);
        // Most data is runs of plain pairs of digits: a byte each, up to the end of the row.
        if (v < 16 && repeat == 0 && nibbles % 2 == 0) {
            std::size_t at = row + nibbles / 2, j = i;
            const std::size_t end = std::min(row + perRow, total);
            while (at < end && j + 1 < data.size()) {
                const std::uint16_t high = form(j), low = form(j + 1);
                if ((high | low) >= 16) break;
                out[at++] = static_cast<char>(high << 4 | low);
                j += 2;
            }
            if (j > i) {
                nibbles += j - i;
                i = j - 1;
                if (nibbles == rowNibbles) endRow(0);
                continue;
            }
        }
        if (v < 16) {
            for (std::size_t n = std::max<std::size_t>(1, repeat); n > 0 && row < total; --n) {
                put(v);
                if (nibbles == rowNibbles) endRow(0);
            }
            repeat = 0;
        } else if (v >= kRepeat && v < kRowAgain) {
            repeat += v - kRepeat;
        } else if (v == kWhiteRest || v == kBlackRest) {
            endRow(v == kBlackRest ? 15 : 0);
            repeat = 0;
        } else if (v == kRowAgain) {
            if (nibbles > 0) endRow(0);
            if (row < total && havePrevious)
                std::memcpy(out.data() + row, out.data() + previous, std::min(perRow, total - row));
            endRow(0);
            repeat = 0;
        }
    }
}

}  // namespace

DecodedGraphic decodeGraphic(char format, std::string_view data, std::size_t total, std::size_t perRow) {
    DecodedGraphic g;
    if (perRow == 0 || total == 0) {
        g.error = "no size given";
        return g;
    }
    if (total > kMaxGraphicBytes) {
        g.error = "larger than " + std::to_string(kMaxGraphicBytes) + " bytes";
        return g;
    }
    // Leading line ends and spaces are not data.
    while (!data.empty() && (data.front() == '\r' || data.front() == '\n' || data.front() == ' ')) data.remove_prefix(1);
    if (format == 'B') {
        g.bits.assign(data.substr(0, total));
    } else if (format == 'A' && (data.starts_with(":Z64:") || data.starts_with(":B64:"))) {
        const bool zlib = data[1] == 'Z';
        std::string_view body = data.substr(5);
        const std::size_t colon = body.find(':');
        std::string_view crcText;
        if (colon != std::string_view::npos) {
            crcText = body.substr(colon + 1, 4);
            body = body.substr(0, colon);
        }
        std::string bytes;
        if (!base64(body, bytes)) {
            g.error = "the base 64 data holds other characters";
            return g;
        }
        if (zlib && !inflateAll(bytes, total, g.bits)) {
            g.error = "the compressed data is damaged";
            return g;
        }
        if (!zlib) g.bits = bytes.substr(0, total);
        char expected[8];
        std::snprintf(expected, sizeof expected, "%04X", crc16(body));
        std::string given(crcText);
        for (char& c : given) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (given != expected) g.error = "its CRC " + std::string(crcText) + " is not that of its data (" + expected + ")";
    } else if (format == 'A') {
        g.bits.assign(total, '\0');
        hexRows(data, total, perRow, g.bits);
    } else {
        g.error = std::string("compression '") + format + "' is not drawn";
        return g;
    }
    g.bits.resize(total, '\0');
    g.ok = true;
    return g;
}

}  // namespace velmora::sim
