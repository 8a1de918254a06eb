// Layout of the ZII basic settings page (a tab page of the user-setting manager).
#include "resources/templates_zii_basic.h"

namespace velmora::resources {

using namespace ui::layout;

namespace {

ui::ControlStyle hidden() {
    ui::ControlStyle s;
    s.hidden = true;
    return s;
}

ui::LayoutNode numberBox(int id) { return edit(id, 14); }
ui::LayoutNode list(int id) { return dropList(id, 14); }

using Cells = std::vector<ui::LayoutNode>;

// One setting row: the "use" box carrying the caption (one width for all, so the groups line up),
// the control, a stretch, and the lock box or an empty cell. The stretch puts the lock boxes at
// the right edge of every group, under the one heading.
Cells settingRow(int use, const char* caption, ui::LayoutNode box, int lock = 0) {
    ui::ControlStyle s;
    s.widthChars = 24;
    ui::ControlStyle lockStyle;
    lockStyle.widthChars = 5;  // as wide as the heading, so every group's column matches
    return {checkBox(use, caption, s), std::move(box), stretch(),
            lock ? checkBox(lock, "", lockStyle) : label("")};
}

ui::LayoutNode settingGrid(std::vector<Cells> rows) {
    Cells cells;
    for (auto& r : rows)
        for (auto& c : r) cells.push_back(std::move(c));
    return grid(4, std::move(cells));
}

}  // namespace

const ui::DialogTemplate& ZiiBasicTabTemplate() {
    static const ui::DialogTemplate t = [] {
        ui::DialogTemplate d;
        d.resourceId = 202;
        d.child = true;
        d.root = column({
            group("Label Parameters",
                  {settingGrid({
                      {label(""), label(""), stretch(), label("Lock", IDC_ZB_LOCK_HEADING)},
                      settingRow(IDC_ZB_USE_WIDTH, "Label Width (dots):", numberBox(IDC_ZB_WIDTH),
                                 IDC_ZB_LOCK_WIDTH),
                      settingRow(IDC_ZB_USE_HEIGHT, "Label Height (dots):", numberBox(IDC_ZB_HEIGHT)),
                      settingRow(IDC_ZB_USE_ORIENTATION, "Orientation:", list(IDC_ZB_ORIENTATION)),
                  })}),
            group(
                "Speed and Darkness",
                {settingGrid({
                    settingRow(IDC_ZB_USE_SPEED, "Speed (inch/s):", list(IDC_ZB_SPEED), IDC_ZB_LOCK_SPEED),
                    settingRow(IDC_ZB_USE_DARKNESS, "Darkness:", list(IDC_ZB_DARKNESS), IDC_ZB_LOCK_DARKNESS),
                })}),
            group("Media", {settingGrid({
                               settingRow(IDC_ZB_USE_PRINT_MODE, "Print Mode:", list(IDC_ZB_PRINT_MODE)),
                               settingRow(IDC_ZB_USE_MEDIA_TYPE, "Media Type:", list(IDC_ZB_MEDIA_TYPE),
                                          IDC_ZB_LOCK_MEDIA_TYPE),
                               settingRow(IDC_ZB_USE_TEAR_OFF, "Tear off adjust (dots):",
                                          numberBox(IDC_ZB_TEAR_OFF), IDC_ZB_LOCK_TEAR_OFF),
                               settingRow(IDC_ZB_USE_PRINT_OFFSET, "Print Offset (dots):",
                                          numberBox(IDC_ZB_PRINT_OFFSET), IDC_ZB_LOCK_PRINT_OFFSET),
                           })}),
            // The print-margin row and four more lock boxes are part of the page but never shown.
            row({
                control(IDC_ZB_MARGIN_LABEL, ui::ControlKind::Static, "Print Margin (dots):", hidden()),
                control(IDC_ZB_MARGIN_H_LABEL, ui::ControlKind::Static, "H :", hidden()),
                edit(IDC_ZB_MARGIN_H, 6, hidden()),
                control(IDC_ZB_MARGIN_V_LABEL, ui::ControlKind::Static, "V :", hidden()),
                edit(IDC_ZB_MARGIN_V, 6, hidden()),
                checkBox(IDC_ZB_LOCK_HIDDEN_1, "", hidden()),
                checkBox(IDC_ZB_LOCK_HIDDEN_2, "", hidden()),
                checkBox(IDC_ZB_LOCK_HIDDEN_3, "", hidden()),
                checkBox(IDC_ZB_LOCK_HIDDEN_4, "", hidden()),
            }),
            row({stretch(), button(IDC_ZB_GET, "Get From Printer"), button(IDC_ZB_SET, "Set to Printer")}),
            stretch(),
        });
        return d;
    }();
    return t;
}

}  // namespace velmora::resources
