// "WORDS get" and "WORDS set KEY=VALUE..." over a ZII settings page: a get reads the whole page
// and takes no keys; a set refuses a key or value the page does not take before the link opens,
// and prints nothing when it succeeds.
#pragma once

#include <set>
#include <string>

#include "cli/outcome.h"

namespace velmora::cli {

inline void registerZiiPageCommands(const std::string& words, const std::string& section,
                                    const std::string& getUsage, const std::string& setUsage) {
    auto page = [section]() -> const app::SettingsPage& { return *app::findSettingsPage(section); };
    registerCommand({words + " get", getUsage, [](const Args& a) { return a.empty(); },
                     [page](Session& s, const Args&) { return reportOutcome(s, page().read(s.comm, s.clock, {})); }});
    auto changes = [](const Args& args) {
        app::KeyValues out;  // in the order given: a series stops at its first failure
        for (const auto& arg : args) {
            const auto eq = arg.find('=');
            out.emplace_back(arg.substr(0, eq), eq == std::string::npos ? std::string() : arg.substr(eq + 1));
        }
        return out;
    };
    registerCommand({words + " set", setUsage,
                     [page, changes](const Args& a) {
                         std::set<std::string> seen;
                         for (const auto& arg : a)
                             if (arg.find('=') == std::string::npos) return false;
                         for (const auto& [key, value] : changes(a))
                             if (!seen.insert(key).second || !page().writable(key) || !page().check(key, value).empty())
                                 return false;
                         return !a.empty();
                     },
                     [page, changes](Session& s, const Args& a) {
                         return reportOutcome(s, page().write(s.comm, s.clock, changes(a)), false);
                     }});
}

}  // namespace velmora::cli
