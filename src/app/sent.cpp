// Sizes and heads of what an action sent.
#include "app/sent.h"

#include <cstdio>

namespace velmora::app {

void noteSent(KeyValues& written, const std::string& key, std::string_view bytes) {
    noteSent(written, key, bytes.size(), bytes);
}

void noteSent(KeyValues& written, const std::string& key, std::size_t size, std::string_view head) {
    written.emplace_back(key, std::to_string(size) + " bytes");
    if (size == 0) return;
    std::string pairs;
    char pair[4];
    for (std::size_t i = 0; i < head.size() && i < size && i < kSentHeadBytes; ++i) {
        std::snprintf(pair, sizeof pair, "%02x", static_cast<unsigned char>(head[i]));
        if (i) pairs += ' ';
        pairs += pair;
    }
    if (size > kSentHeadBytes) pairs += " ...";
    written.emplace_back(key + kSentHeadSuffix, pairs);
}

std::optional<std::size_t> sentLength(std::string_view value) {
    constexpr std::string_view kUnit = " bytes";
    if (!value.ends_with(kUnit)) return std::nullopt;
    value.remove_suffix(kUnit.size());
    if (value.empty() || value.size() > 19) return std::nullopt;
    std::size_t n = 0;
    for (const char c : value) {
        if (c < '0' || c > '9') return std::nullopt;
        n = n * 10 + static_cast<std::size_t>(c - '0');
    }
    return n;
}

}  // namespace velmora::app
