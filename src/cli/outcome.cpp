// Outcomes on the console, and the get and set commands of the settings pages.
#include "cli/outcome.h"

#include <ostream>
#include <set>

#include "app/toolcontext.h"
#include "cli/escapes.h"

namespace velmora::cli {

namespace {

std::string describe(const app::ReadValue& v) {
    if (!v.replied) return "no reply";
    std::string printableText;
    for (char c : v.raw) printableText += (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) ? c : '.';
    std::string out = "reply " + hexBytes(v.raw) + " (\"" + printableText + "\")";
    if (!v.why.empty()) out += ": " + v.why;
    return out;
}

}  // namespace

bool nameInvalidValues(Session& s, const app::Outcome& outcome) {
    bool all = true;
    for (const auto& v : outcome.values) {
        if (v.valid) continue;
        all = false;
        s.err << "velmora-cli: no valid value for " << v.key << ": " << describe(v) << '\n';
    }
    return all;
}

int reportOutcome(Session& s, const app::Outcome& outcome, bool printValues) {
    noteOutcome(s.report, outcome);
    if (printValues && !s.json)
        for (const auto& v : outcome.values)
            if (v.valid) s.out << v.key << '=' << v.text << '\n';
    const bool allValid = nameInvalidValues(s, outcome);
    const app::Result& r = outcome.result;
    if (r.messageId) app::ShowMessage(s.host, r.messageId);
    if (!r.message.empty()) s.host.message(r.message);
    if (r.status == app::Status::Refused) return kExitUsage;
    if (r.status == app::Status::Failed || !allValid) return kExitFailure;
    return kExitOk;
}

namespace {

const app::SettingsPage& pageOf(const std::string& section) { return *app::findSettingsPage(section); }

}  // namespace

void registerPageCommands(const std::string& words, const std::string& section, const std::string& getUsage,
                          const std::string& setUsage) {
    registerCommand({words + " get", getUsage,
                     [section](const Args& a) { return app::unknownKeys(pageOf(section), a).empty(); },
                     [section](Session& s, const Args& a) {
                         return reportOutcome(s, pageOf(section).read(s.comm, s.clock, a));
                     }});
    registerCommand({words + " set", setUsage,
                     [section](const Args& a) {
                         const auto values = keyValueArgs(a);
                         if (!values || values->empty()) return false;
                         std::vector<std::string> keys;
                         for (const auto& [k, v] : *values) keys.push_back(k);
                         return app::unknownKeys(pageOf(section), keys, true).empty();
                     },
                     [section](Session& s, const Args& a) {
                         const app::SettingsPage& page = pageOf(section);
                         app::KeyValues changes;
                         // In the order given: a series stops at the first setting that fails.
                         for (const auto& arg : a) {
                             const auto eq = arg.find('=');
                             changes.emplace_back(arg.substr(0, eq), arg.substr(eq + 1));
                         }
                         for (const auto& [key, value] : changes)
                             if (const std::string why = page.check(key, value); !why.empty()) {
                                 s.host.message(why);
                                 return static_cast<int>(kExitUsage);
                             }
                         return reportOutcome(s, page.write(s.comm, s.clock, changes));
                     }});
}

}  // namespace velmora::cli
