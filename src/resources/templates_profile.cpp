// The profile diff table: a summary line, the table (one line per setting), Apply and Close.
#include "resources/templates_profile.h"

namespace velmora::resources {

using namespace ui::layout;

namespace {
// The table's columns line up only in a fixed-width font.
ui::LayoutNode monospaced(ui::LayoutNode node) {
    node.control.style.monospace = true;
    return node;
}
}  // namespace

const ui::DialogTemplate& ProfileDiffTemplate() {
    static const ui::DialogTemplate t = [] {
        ui::DialogTemplate d;
        d.resourceId = 6200;
        d.caption = "Profile";
        d.minWidth = 900;
        d.minHeight = 360;
        d.root = column({
            label("", IDC_PD_SUMMARY),
            monospaced(listBox(IDC_PD_LIST, 100, 16)),
            row({stretch(), button(IDC_PD_APPLY, "Apply"), button(IDC_PD_CLOSE, "Close")}),
        });
        return d;
    }();
    return t;
}

}  // namespace velmora::resources
