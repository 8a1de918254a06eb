// The printer tools' commands.
#include "zii/printertoolops.h"

#include "resources/messages.h"

namespace velmora::zii {

const std::vector<PrinterToolAction>& printerToolActions() {
    static const std::vector<PrinterToolAction> actions = {
        {"config-label", "~WC\r\n", false},
        {"feed", "~PH\r\n", false},
        {"list-objects", "^XA^WD*:*.*^XZ\r\n", false},
        {"calibrate", "~JC\r\n", false},
        {"factory-defaults", "^XA^JUF^XZ\r\n", false},
        {"reset", "~JR\r\n", false},
        {"diagnostics-on", "~JD\r\n", true},
        {"diagnostics-off", "~JE\r\n", true},
    };
    return actions;
}

const PrinterToolAction* findPrinterToolAction(std::string_view name) {
    for (const auto& a : printerToolActions())
        if (name == a.name) return &a;
    return nullptr;
}

app::Outcome runPrinterTool(link::CComm& comm, const PrinterToolAction& action) {
    app::Outcome out;
    if (action.notOnEthernet && comm.traits().network) return out.fail(msg::kNotOnEthernet, action.name);
    if (comm.WriteText(action.command) == 0) return out.fail(0, action.name);
    out.written.emplace_back(action.name, action.command);
    return out.finish(0);
}

}  // namespace velmora::zii
