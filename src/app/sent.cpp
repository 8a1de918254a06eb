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
    written.emplace_back(key + ".head", pairs);
}

}  // namespace velmora::app
