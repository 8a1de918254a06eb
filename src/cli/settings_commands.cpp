// velmora-cli commands for the native print and page settings: "native get", "native set" and
// "native init", over the page's operations (settings/printerpageops.h).
#include "cli/outcome.h"
#include "settings/printerpageops.h"

namespace velmora::cli {

namespace {

const bool registered = [] {
    registerPageCommands("native", "native.page",
                         "native get [KEY...]    print and page settings as KEY=VALUE: paper-width, paper-length,\n"
                         "                         gap-length, h-margin, v-margin, density, strobe, speed,\n"
                         "                         gap-detect, offset, tear-off",
                         "native set KEY=VALUE...  the keys of native get, strobe=2|3|4,\n"
                         "                         speed=default|3ips|...|8ips, gap-detect=lower|upper,\n"
                         "                         offset= and tear-off= signed, label-length-check=enable|disable");
    registerCommand({"native init", "native init            initialize all user setting data",
                     [](const Args& a) { return a.empty(); },
                     [](Session& s, const Args&) { return reportOutcome(s, settings::initializeUserSettings(s.comm)); }});
    return true;
}();

}  // namespace

}  // namespace velmora::cli
