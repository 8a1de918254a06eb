// Sizes and heads of what an action sent.
#include "app/sent.h"

#include <cstdio>

namespace velmora::app {

void noteSent(KeyValues& written, const std::string& key, std::string_view bytes) {
    written.emplace_back(key, std::to_string(bytes.size()) + " bytes");
    if (bytes.empty()) return;
    std::string head;
    char pair[4];
    for (std::size_t i = 0; i < bytes.size() && i < kSentHeadBytes; ++i) {
        std::snprintf(pair, sizeof pair, "%02x", static_cast<unsigned char>(bytes[i]));
        if (i) head += ' ';
        head += pair;
    }
    if (bytes.size() > kSentHeadBytes) head += " ...";
    written.emplace_back(key + ".head", head);
}

}  // namespace velmora::app
