// velmora-cli "profile save|diff|apply FILE": a settings profile taken from or put onto one
// printer. Each page takes part through its settings page's operations, so the bytes are the
// pages' own and a page's locks are kept as its write keeps them.
#include <algorithm>
#include <map>
#include <ostream>
#include <sstream>

#include "app/menumode.h"
#include "cli/commands.h"
#include "platform/files.h"
#include "profile/profilepages.h"
#include "profile/profilerun.h"

namespace velmora::cli {

namespace {

bool acceptsFile(const Args& a) { return a.size() == 1 && !a[0].empty(); }

bool acceptsApply(const Args& a) {
    if (a.empty() || a.size() > 2) return false;
    const auto file = std::count_if(a.begin(), a.end(), [](const std::string& s) { return s != "--include-identity"; });
    return file == 1 && (a.size() == 1 || a[0] == "--include-identity" || a[1] == "--include-identity");
}

std::string fileOf(const Args& a) {
    for (const auto& s : a)
        if (s != "--include-identity") return s;
    return {};
}

// The profile, checked against this printer and menu mode before anything is written.
std::optional<profile::Profile> checkedProfile(Session& s, const std::string& path, profile::Providers& pages) {
    std::string error;
    auto p = profile::loadCheckedProfile(s.comm, s.clock, path, pages, app::MenuMode, error);
    if (!p) s.err << "velmora-cli: " << error << "; nothing was written\n";
    return p;
}

int runSave(Session& s, const Args& args) {
    std::string error;
    const auto facts = profile::readPrinterFacts(s.comm, s.clock, error);
    if (!facts) {
        s.err << "velmora-cli: " << error << "; no profile was saved\n";
        return kExitFailure;
    }
    auto pages = profile::settingsProviders(s.comm, s.clock);
    const auto p = profile::saveProfile(pages, *facts, app::MenuMode, error);
    if (!p) {
        s.err << "velmora-cli: " << error << "; no profile was saved\n";
        return kExitFailure;
    }
    if (!platform::writeOutputFile(args[0], profile::formatProfile(*p), error)) {
        s.err << "velmora-cli: cannot write " << args[0] << ": " << error << '\n';
        return kExitFailure;
    }
    std::size_t keys = 0;
    for (const auto& section : p->sections) keys += section.values.size();
    s.out << "saved " << keys << " settings in " << p->sections.size() << " sections to " << args[0] << '\n';
    s.keysChanged = 0;
    return kExitOk;
}

int runDiff(Session& s, const Args& args) {
    auto pages = profile::settingsProviders(s.comm, s.clock);
    const auto p = checkedProfile(s, args[0], pages);
    if (!p) return kExitFailure;
    const auto diffs = profile::diffProfile(*p, pages, app::MenuMode);
    for (const auto& d : diffs)
        s.out << d.section << '.' << d.key << ": printer=" << d.printer << " profile=" << d.profile << '\n';
    s.keysChanged = static_cast<int>(diffs.size());
    return diffs.empty() ? kExitOk : kExitFailure;
}

int runApply(Session& s, const Args& args) {
    const bool identity = std::find(args.begin(), args.end(), "--include-identity") != args.end();
    auto pages = profile::settingsProviders(s.comm, s.clock);
    const auto p = checkedProfile(s, fileOf(args), pages);
    if (!p) return kExitFailure;
    const auto report = profile::applyProfile(*p, pages, app::MenuMode, identity);
    for (const auto& k : report.keys) {
        s.out << k.section << '.' << k.key << ": " << profile::outcomeName(k.outcome);
        if (!k.detail.empty()) s.out << " (" << k.detail << ')';
        s.out << '\n';
    }
    s.keysChanged = report.applied();
    if (report.failed()) {
        s.err << "velmora-cli: " << report.applied() << " settings were written and verified before the apply failed\n";
        return kExitFailure;
    }
    return kExitOk;
}

const bool registered = [] {
    registerCommand({"profile save", "profile save FILE      every setting of the menu mode's pages into an INI profile",
                     acceptsFile, runSave, {}, [](const Args& a) { return std::vector<std::string>{a[0]}; }});
    registerCommand({"profile diff",
                     "profile diff FILE      the settings whose printer value differs from the profile (exit 1 when any)",
                     acceptsFile, runDiff});
    registerCommand({"profile apply",
                     "profile apply FILE [--include-identity]  write only what differs, then read back and verify;\n"
                     "                         identity strings only with --include-identity, never with --printers",
                     acceptsApply, runApply});
    return true;
}();

}  // namespace

}  // namespace velmora::cli
