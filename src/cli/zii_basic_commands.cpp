// velmora-cli "zii get" and "zii set KEY=VALUE...": the ZII basic settings page's operations
// (zii/ziibasicops.h). A set reads the printer's locks first, so the locks it does not name keep
// their state, and writes nothing when they cannot be read.
#include "cli/ziipagecommands.h"

namespace velmora::cli {

namespace {

const bool registered = [] {
    registerZiiPageCommands(
        "zii", "zii.basic", "zii get                the ZII basic settings and locks as key=value lines",
        "zii set KEY=VALUE...   read the printer's locks, then set only the named settings (keys as zii get\n"
        "                         prints); locks not named keep their state");
    return true;
}();

}  // namespace

}  // namespace velmora::cli
