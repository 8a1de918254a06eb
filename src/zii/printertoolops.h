// The ZII printer tools as operations: each maintenance action one fixed command line, written
// once; the diagnostics ones are not sent over Ethernet. Nothing is read back.
#pragma once

#include <string_view>
#include <vector>

#include "app/operation.h"

namespace velmora::zii {

struct PrinterToolAction {
    const char* name;     // as velmora-cli names it: "config-label"
    const char* command;  // the text written
    bool notOnEthernet;
};

// In the dialog's order: the "Print" column, then the "Action" column.
const std::vector<PrinterToolAction>& printerToolActions();
const PrinterToolAction* findPrinterToolAction(std::string_view name);

// Fails with 272 (nothing sent) for a diagnostics action on Ethernet, with no message when the
// write failed (the port object said why).
app::Outcome runPrinterTool(link::CComm& comm, const PrinterToolAction& action);

}  // namespace velmora::zii
