// Layout of the printer search: the network and port to search, the printers found, and what
// the search did.
#include "resources/templates_fleet.h"

namespace velmora::resources {

using namespace ui::layout;

const ui::DialogTemplate& FindPrintersTemplate() {
    static const ui::DialogTemplate t = [] {
        ui::DialogTemplate d;
        d.resourceId = 660;
        d.caption = "Find Printers";
        ui::ControlStyle port;
        port.numberOnly = true;
        ui::ControlStyle summary;
        summary.widthChars = 64;
        summary.heightLines = 2;
        ui::ControlStyle useStyle;
        useStyle.defaultButton = true;
        d.root = column({
            row({label("Network"), comboBox(IDC_FIND_SUBNET, 20), label("Port"), edit(IDC_FIND_PORT, 6, port),
                 button(IDC_FIND_SEARCH, "Search")}),
            listBox(IDC_FIND_LIST, 64, 8),
            control(IDC_FIND_SUMMARY, ui::ControlKind::Static, "", summary),
            row({stretch(), button(ui::IDOK, "Use", useStyle), button(ui::IDCANCEL, "Cancel")}),
        });
        return d;
    }();
    return t;
}

}  // namespace velmora::resources
