// Decoding graphic data: hexadecimal with its shorthand, base 64 with or without zlib.
#include "sim/zii_graphic.h"

#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>

namespace velmora::sim {

namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::uint16_t crc16(std::string_view text) {
    std::uint16_t crc = 0;
    for (const char c : text) {
        crc ^= static_cast<std::uint16_t>(static_cast<unsigned char>(c) << 8);
        for (int bit = 0; bit < 8; ++bit)
            crc = static_cast<std::uint16_t>(crc & 0x8000 ? (crc << 1) ^ 0x1021 : crc << 1);
    }
    return crc;
}

bool base64(std::string_view text, std::string& out) {
    unsigned buffer = 0;
    int bits = 0;
    for (const char c : text) {
        int v = -1;
        if (c >= 'A' && c <= 'Z') v = c - 'A';
        else if (c >= 'a' && c <= 'z') v = c - 'a' + 26;
        else if (c >= '0' && c <= '9') v = c - '0' + 52;
        else if (c == '+') v = 62;
        else if (c == '/') v = 63;
        else if (c == '=' || c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;
        else return false;
        buffer = (buffer << 6) | static_cast<unsigned>(v);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out += static_cast<char>((buffer >> bits) & 0xFF);
        }
    }
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

// The hexadecimal form with its shorthand, row by row.
void hexRows(std::string_view data, std::size_t total, std::size_t perRow, std::string& out) {
    const std::size_t rowNibbles = perRow * 2;
    std::string row, previous;  // nibbles 0..15
    row.reserve(rowNibbles);
    const auto endRow = [&](char fill) {
        row.resize(rowNibbles, fill);
        for (std::size_t i = 0; i + 1 < rowNibbles && out.size() < total; i += 2)
            out += static_cast<char>((row[i] << 4) | row[i + 1]);
        previous.swap(row);
        row.clear();
    };
    std::size_t repeat = 0;
    for (const char c : data) {
        if (out.size() >= total) break;
        if (c >= 'G' && c <= 'Y') {
            repeat += static_cast<std::size_t>(c - 'G' + 1);
        } else if (c >= 'g' && c <= 'z') {
            repeat += static_cast<std::size_t>(c - 'g' + 1) * 20;
        } else if (c == ',' || c == '!') {
            endRow(c == ',' ? 0 : 15);
            repeat = 0;
        } else if (c == ':') {
            if (!row.empty()) endRow(0);
            row = previous.empty() ? std::string(rowNibbles, 0) : previous;
            endRow(0);
            repeat = 0;
        } else if (const int v = hexDigit(c); v >= 0) {
            for (std::size_t n = std::max<std::size_t>(1, repeat); n > 0 && out.size() < total; --n) {
                row += static_cast<char>(v);
                if (row.size() == rowNibbles) endRow(0);
            }
            repeat = 0;
        }
    }
    if (!row.empty() && out.size() < total) endRow(0);
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
        g.bits.reserve(total);
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
