// velmora-cli commands for the native interface, code page, hardware identity and printer
// information pages: "native interface", "codepage", "identity" and "info", over the pages'
// operations (settings/serialops.h, languageops.h, identityops.h, printerinfoops.h).
#include <algorithm>

#include "cli/outcome.h"
#include "settings/identityops.h"
#include "settings/nativereplies.h"
#include "settings/printerinfoops.h"
#include "ui/dataexchange.h"

namespace velmora::cli {

namespace {

using namespace settings;

bool identityNames(const Args& args) {
    return std::all_of(args.begin(), args.end(), [](const std::string& a) { return findIdentity(a).has_value(); });
}

int runIdentityInit(Session& s, const Args& args) {
    Args names = args;
    if (names.empty())
        for (const auto& key : identityKeys()) names.emplace_back(key.name);
    s.comm.BeginAction();
    for (const auto& name : names) {
        const app::Outcome done = initializeIdentity(s.comm, s.clock, *findIdentity(name));
        if (const int status = reportOutcome(s, done); status != kExitOk) return status;  // a series stops here
    }
    return kExitOk;
}

int runInfoUsbSerial(Session& s, const Args& args) {
    // The box takes no more than 13 characters; longer text is what the framework refuses.
    if (characterCount(args[0]) > static_cast<std::size_t>(kUsbSerialLength)) {
        s.host.message(ui::fillMessage(ui::ddx_text::kEnterNoMoreThan, std::to_string(kUsbSerialLength)));
        return kExitUsage;
    }
    return reportOutcome(s, setUsbSerial(s.comm, args[0]));
}

const bool registered = [] {
    registerPageCommands("native interface", "native.interface",
                         "native interface get [KEY...]  handshake=, stop-bits=, data-bits=, parity=, baud= of the printer",
                         "native interface set KEY=VALUE...  handshake=hardware|software, stop-bits=1|2,\n"
                         "                         data-bits=8|7, parity=none|even|odd, baud=dip|38400|57600;\n"
                         "                         keys not given keep the printer's values");
    registerPageCommands("codepage", "codepage", "codepage get [KEY...]  codepage=, ics= (the entries' texts) and lock=",
                         "codepage set KEY=VALUE...  codepage=INDEX|PREFIX (e.g. PC850), ics=INDEX|TEXT, lock=0|1");
    registerPageCommands("identity", "identity", "identity get [version|serial|id...]  the identity strings",
                         "identity set KEY=TEXT...  version= (4), serial= (16), id= (7 characters)");
    registerCommand({"identity init", "identity init [version|serial|id...]  back to the printer's own", identityNames,
                     runIdentityInit});
    registerCommand({"info", "info                   model, firmware and the six counters as KEY=VALUE",
                     [](const Args& a) { return a.empty(); },
                     [](Session& s, const Args&) { return reportOutcome(s, getPrinterInfo(s.comm, s.clock)); }});
    registerCommand({"info reset", "info reset motor|tph|cutter  reset a counter",
                     [](const Args& a) { return a.size() == 1 && (a[0] == "motor" || a[0] == "tph" || a[0] == "cutter"); },
                     [](Session& s, const Args& a) {
                         const InfoCounter counter = a[0] == "motor" ? InfoCounter::Motor
                                                     : a[0] == "tph" ? InfoCounter::Tph
                                                                     : InfoCounter::Cutter;
                         return reportOutcome(s, resetCounter(s.comm, counter));
                     }});
    registerCommand({"info usb-serial", "info usb-serial NNNNNNNNNNNNN  the USB serial number (13 characters)",
                     [](const Args& a) { return a.size() == 1; }, runInfoUsbSerial});
    return true;
}();

}  // namespace

}  // namespace velmora::cli
