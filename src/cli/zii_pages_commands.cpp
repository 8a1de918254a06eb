// velmora-cli commands for the ZII advanced, serial interface and real-time clock pages, over
// their operations (zii/ziiadvancedops.h, ziiserialops.h, ziiclockops.h).
#include <optional>
#include <string>

#include "cli/ziipagecommands.h"
#include "zii/ziiclockops.h"

namespace velmora::cli {

namespace {

// "YYYY-MM-DDTHH:MM:SS" in local time; nothing for any other text.
std::optional<platform::LocalTime> pickedTime(const std::string& arg) {
    platform::LocalTime t;
    if (arg.size() != 19 || arg[10] != 'T' || !zii::parsePickerDate(arg.substr(0, 10), t) ||
        !zii::parsePickerTime(arg.substr(11), t))
        return std::nullopt;
    return t;
}

const bool registered = [] {
    registerZiiPageCommands("zii advanced", "zii.advanced",
                            "zii advanced get       media-handling= and feed= as the printer reports them",
                            "zii advanced set KEY=VALUE...  media-handling=tear-off|peel-off|cutter,\n"
                            "                         feed=next-label|calibrate|label-length|none, mirror=0|1");
    registerZiiPageCommands("zii serial", "zii.serial",
                            "zii serial get         baud=, data-bits=, parity=, stop-bits=, protocol= of the printer",
                            "zii serial set KEY=VALUE...  baud=9600|14400|19200|28800|38400|57600|115200,\n"
                            "                         data-bits=8|7, parity=none|even|odd, stop-bits=1|2,\n"
                            "                         protocol=software|hardware; keys not given keep the printer's\n"
                            "                         values; the printer must be restarted");
    registerCommand({"zii clock set", "zii clock set now|YYYY-MM-DDTHH:MM:SS  set the printer's clock (local time)",
                     [](const Args& a) { return a.size() == 1 && (a[0] == "now" || pickedTime(a[0])); },
                     [](Session& s, const Args& a) {
                         const auto t = a[0] == "now" ? platform::toLocalTime(s.clock.wallNow()) : *pickedTime(a[0]);
                         return reportOutcome(s, zii::setPrinterClock(s.comm, t));
                     }});
    return true;
}();

}  // namespace

}  // namespace velmora::cli
