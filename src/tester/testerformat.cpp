// Receive view, command files and character-set labels.
#include "tester/testerformat.h"

#include <cstdint>
#include <cstdio>

namespace velmora::tester {

std::string renderReceiveView(std::string_view bytes, bool hex) {
    std::string out;
    out.reserve(bytes.size() * 3);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (hex) {
            char buf[3];
            std::snprintf(buf, sizeof buf, "%02x", b);
            out += buf;
        } else {
            out += (b >= 33 && b <= 126) ? static_cast<char>(b) : '.';
        }
        const std::size_t k = i + 1;
        out += k % 20 == 0 ? "\r\n" : k % 4 == 0 ? "\t" : " ";
    }
    return out;
}

namespace {

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string utf16ToUtf8(std::string_view bytes, bool bigEndian) {
    std::string out;
    // An odd last byte is not dropped: it makes a unit with a zero byte after it.
    const std::size_t units = (bytes.size() + 1) / 2;
    auto byteAt = [&](std::size_t k) { return k < bytes.size() ? static_cast<unsigned char>(bytes[k]) : 0u; };
    auto unit = [&](std::size_t i) -> char16_t {
        const unsigned a = byteAt(2 * i), b = byteAt(2 * i + 1);
        return static_cast<char16_t>(bigEndian ? (a << 8 | b) : (b << 8 | a));
    };
    for (std::size_t i = 0; i < units; ++i) {
        const char16_t u = unit(i);
        if (u == 0) break;
        if (u >= 0xD800 && u < 0xDC00 && i + 1 < units) {
            const char16_t low = unit(i + 1);
            if (low >= 0xDC00 && low < 0xE000) {
                appendUtf8(out, 0x10000 + ((char32_t(u) - 0xD800) << 10) + (char32_t(low) - 0xDC00));
                ++i;
                continue;
            }
        }
        appendUtf8(out, (u >= 0xD800 && u < 0xE000) ? U'\uFFFD' : char32_t(u));
    }
    return out;
}

// Decodes one UTF-8 sequence at i; malformed bytes become U+FFFD one at a time.
char32_t nextCodePoint(std::string_view s, std::size_t& i) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    int len = b0 < 0x80 ? 1 : (b0 >> 5) == 6 ? 2 : (b0 >> 4) == 14 ? 3 : (b0 >> 3) == 30 ? 4 : 0;
    if (len == 0 || i + len > s.size()) {
        ++i;
        return U'\uFFFD';
    }
    char32_t c = len == 1 ? b0 : b0 & (0x7F >> len);
    for (int k = 1; k < len; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) {
            ++i;
            return U'\uFFFD';
        }
        c = (c << 6) | (b & 0x3F);
    }
    i += len;
    return c;
}

void appendUnit(std::string& out, char16_t u) {
    out += static_cast<char>(u & 0xFF);
    out += static_cast<char>(u >> 8);
}

}  // namespace

std::string decodeCommandFile(std::string_view bytes, std::string (*fromCodePage)(std::string_view)) {
    auto startsWith = [&](std::string_view mark) { return bytes.substr(0, mark.size()) == mark; };
    if (startsWith("\xEF\xBB\xBF")) {
        // UTF-8 after its own mark is UTF-8, not the code page.
        std::string_view rest = bytes.substr(3);
        rest = rest.substr(0, rest.find('\0'));
        std::string out;
        for (std::size_t i = 0; i < rest.size();) appendUtf8(out, nextCodePoint(rest, i));
        return out;
    }
    if (startsWith("\xFF\xFE")) return utf16ToUtf8(bytes.substr(2), false);
    if (startsWith("\xFE\xFF")) return utf16ToUtf8(bytes.substr(2), true);
    return fromCodePage(bytes.substr(0, bytes.find('\0')));
}

std::string encodeCommandFile(std::string_view utf8) {
    std::string out = "\xFF\xFE";
    for (std::size_t i = 0; i < utf8.size();) {
        const char32_t c = nextCodePoint(utf8, i);
        if (c >= 0x10000) {
            appendUnit(out, static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
            appendUnit(out, static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else {
            appendUnit(out, static_cast<char16_t>(c));
        }
    }
    return out;
}

namespace {

std::string textLine(const CharsetFont& f, const std::string& at) {
    if (f.vector)
        return "V" + at + ",U," + std::to_string(f.hSize) + "," + std::to_string(f.vSize) + ",+1,N,N,N,0,L,0,'";
    return "T" + at + "," + f.font + "," + std::to_string(f.hSize) + "," + std::to_string(f.vSize) + ",10,0,N,N,'";
}

std::string position(const CharsetFont& f) { return std::to_string(f.x) + "," + std::to_string(f.y); }

// The characters from..to, an apostrophe or backslash preceded by a backslash.
std::string characters(int from, int to) {
    std::string out;
    for (int c = from; c <= to; ++c) {
        if (c == 0x27 || c == 0x5C) out += '\\';
        out += static_cast<char>(c);
    }
    return out;
}

std::string selectSet(int set, int table) { return "CS" + std::to_string(set) + "," + std::to_string(table) + "\r"; }

std::vector<std::string> oneLabel(const CharsetFont& f, int set, int table, const std::string& chars) {
    return {"SW780\r" + selectSet(set, table) + textLine(f, position(f)) + chars + "'\rP1\r", "SW830\r"};
}

}  // namespace

std::vector<std::string> charsetUnder80(const CharsetFont& f, int set, int table) {
    return oneLabel(f, set, table, characters(0x20, 0x7F));
}

std::vector<std::string> charsetOver80(const CharsetFont& f, int set, int table) {
    return oneLabel(f, set, table, characters(0x80, 0xFF));
}

std::vector<std::string> charsetAllTables(const CharsetFont& f, int set, int tables) {
    std::vector<std::string> writes;
    for (int t = 0; t < tables; ++t)
        for (auto& w : oneLabel(f, set, t, characters(0x20, 0x7F) + characters(0x80, 0xFF))) writes.push_back(w);
    return writes;
}

std::vector<std::string> charsetInternational(const CharsetFont& f, int table) {
    static const std::string national = "\x23\x24\x40\x5B\x5C\x5C\x5D\x5E\x60\x7B\x7C\x7D\x7E";
    std::vector<std::string> writes;
    for (int set = 0; set < 16; ++set)
        writes.push_back(selectSet(set, table) + textLine(f, "30," + std::to_string(50 + 70 * set)) + national + "'\r");
    writes.push_back("P1\r");
    return writes;
}

}  // namespace velmora::tester
