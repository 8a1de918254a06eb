// Pieces of the host interface that every host shares.
#include "ui/host.h"

namespace velmora::ui {

std::vector<FilterEntry> parseFilter(const std::string& filter) {
    std::vector<std::string> parts;
    std::string cur;
    for (char c : filter) {
        if (c == '|') {
            parts.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) parts.push_back(cur);
    std::vector<FilterEntry> out;
    for (size_t i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].empty() && parts[i + 1].empty()) break;  // the closing "||"
        out.push_back({parts[i], parts[i + 1]});
    }
    return out;
}

}  // namespace velmora::ui
