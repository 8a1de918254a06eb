// The registry of tool dialogs.
#include "app/dialogcatalog.h"

#include <algorithm>
#include <map>

namespace velmora::app {

namespace {
std::map<std::string, DialogEntry>& entries() {
    static std::map<std::string, DialogEntry> map;
    return map;
}
}  // namespace

bool registerDialog(DialogEntry entry) {
    auto name = entry.name;
    entries()[name] = std::move(entry);
    return true;
}

std::vector<const DialogEntry*> dialogCatalog() {
    std::vector<const DialogEntry*> out;
    for (const auto& [name, entry] : entries()) out.push_back(&entry);
    return out;
}

const DialogEntry* findDialog(const std::string& name) {
    auto it = entries().find(name);
    return it == entries().end() ? nullptr : &it->second;
}

}  // namespace velmora::app
