// List items from the string table.
#include "resources/combo.h"

#include "resources/stringtable.h"

namespace velmora::resources {

std::vector<std::string> splitItems(const std::string& text) {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(';', start);
        if (end == std::string::npos) end = text.size();
        std::string item = text.substr(start, end - start);
        const auto b = item.find_first_not_of(" \t\r\n");
        if (b != std::string::npos) out.push_back(item.substr(b, item.find_last_not_of(" \t\r\n") - b + 1));
        start = end + 1;
    }
    return out;
}

void FillComboFromString(ui::Control& list, int stringId) {
    list.resetContent();
    for (const auto& item : splitItems(LoadString(stringId))) list.addItem(item);
}

}  // namespace velmora::resources
