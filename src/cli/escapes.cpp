// Escape decoding and hexadecimal output for the command-line program.
#include "cli/escapes.h"

#include <cctype>

#include "app/typedtext.h"
#include "platform/codepage.h"

namespace velmora::cli {

namespace {
int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}
}  // namespace

std::string encodeCommandText(std::string_view text, std::size_t* unconvertible) {
    std::string out;
    std::string run;  // literal text waiting for conversion
    if (unconvertible) *unconvertible = 0;
    auto flush = [&] {
        std::size_t lost = 0;
        out += platform::toCodePage(run, &lost);
        if (unconvertible) *unconvertible += lost;
        run.clear();
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\\' || i + 1 == text.size()) {
            run += c;
            continue;
        }
        const char e = text[i + 1];
        int byte = -1;
        std::size_t used = 2;
        switch (e) {
            case 'r': byte = '\r'; break;
            case 'n': byte = '\n'; break;
            case 't': byte = '\t'; break;
            case 'e': byte = 0x1B; break;
            case '0': byte = 0; break;
            case '\\': byte = '\\'; break;
            case 'x': {
                int v = i + 2 < text.size() ? hexValue(text[i + 2]) : -1;
                if (v < 0) break;
                used = 3;
                if (int w = i + 3 < text.size() ? hexValue(text[i + 3]) : -1; w >= 0) {
                    v = v * 16 + w;
                    used = 4;
                }
                byte = v;
                break;
            }
            default: break;
        }
        if (byte < 0) {  // not an escape we know: keep the backslash as typed
            run += c;
            continue;
        }
        flush();
        out += static_cast<char>(byte);
        i += used - 1;
    }
    flush();
    return out;
}

std::optional<std::string> typedCommandBytes(std::string_view text, std::string& refusal) {
    std::size_t unconvertible = 0;
    std::string bytes = encodeCommandText(text, &unconvertible);
    if (unconvertible == 0) return bytes;
    refusal = app::cannotHoldMessage(unconvertible);
    return std::nullopt;
}

}  // namespace velmora::cli
