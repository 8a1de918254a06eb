// The registry of settings pages.
#include "app/settingspage.h"

#include <algorithm>
#include <map>
#include <set>

namespace velmora::app {

namespace {
std::multimap<int, std::unique_ptr<SettingsPage>>& registry() {
    static std::multimap<int, std::unique_ptr<SettingsPage>> pages;
    return pages;
}
}  // namespace

bool registerSettingsPage(int order, std::unique_ptr<SettingsPage> page) {
    registry().emplace(order, std::move(page));
    return true;
}

std::vector<const SettingsPage*> settingsPages() {
    std::vector<const SettingsPage*> out;
    for (const auto& [order, page] : registry()) out.push_back(page.get());
    return out;
}

const SettingsPage* findSettingsPage(const std::string& section) {
    for (const auto& [order, page] : registry())
        if (page->section() == section) return page.get();
    return nullptr;
}

bool SettingsPage::writable(const std::string& key) const {
    const auto known = keys();
    return std::find(known.begin(), known.end(), key) != known.end() && !readOnly(key);
}

std::string unknownKeys(const SettingsPage& page, const std::vector<std::string>& keys, bool forWrite) {
    const auto known = page.keys();
    std::set<std::string> seen;
    std::string out;
    for (const auto& key : keys) {
        const bool has = forWrite ? page.writable(key) : std::find(known.begin(), known.end(), key) != known.end();
        const bool ok = has && seen.insert(key).second;
        if (!ok) out += (out.empty() ? "" : ", ") + key;
    }
    return out;
}

}  // namespace velmora::app
