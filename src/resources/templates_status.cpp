// Layouts of the status check dialog and its pages.
#include "resources/templates_status.h"

namespace velmora::resources {

using namespace ui::layout;

namespace {
ui::DialogTemplate page(int resourceId, const char* button, std::vector<ui::LayoutNode> boxes) {
    ui::DialogTemplate t;
    t.resourceId = resourceId;
    t.child = true;
    t.root = column({
        row({ui::layout::button(IDC_STATUS_TEST, button), stretch()}),
        group("Printer Status", {grid(2, std::move(boxes))}),
        stretch(),
    });
    return t;
}
}  // namespace

const ui::DialogTemplate& CheckPrinterStatusTemplate() {
    static const ui::DialogTemplate t = [] {
        ui::DialogTemplate d;
        d.resourceId = 191;
        d.caption = "Check Printer Status";
        d.minWidth = 420;
        d.root = column({
            tab(IDC_STATUS_TAB),
            row({stretch(), button(ui::IDCANCEL, "Close")}),
        });
        return d;
    }();
    return t;
}

const ui::DialogTemplate& CpStatusCmdTemplate() {
    static const ui::DialogTemplate t = page(192, "^CP Command Test",
                                             {
                                                 checkBox(IDC_STATUS_PAPER_EMPTY, "Paper Empty"),
                                                 checkBox(IDC_STATUS_BUILDING_LABEL, "On Building label"),
                                                 checkBox(IDC_STATUS_COVER_OPEN, "Cover Open"),
                                                 checkBox(IDC_STATUS_PRINTING_LABEL, "On Printing label"),
                                                 checkBox(IDC_STATUS_CUTTER_JAMMED, "Cutter jammed"),
                                                 checkBox(IDC_STATUS_LABEL_PAUSED, "Issued label is paused"),
                                                 checkBox(IDC_STATUS_HEAD_OVERHEAT, "Thermal Head overheat"),
                                                 checkBox(IDC_STATUS_OK, "Status OK"),
                                                 checkBox(IDC_STATUS_GAP_ERROR, "Gap Detection Error"),
                                                 label(""),
                                                 checkBox(IDC_STATUS_RIBBON_END, "Ribbon End Error"),
                                             });
    return t;
}

const ui::DialogTemplate& CuStatusCmdTemplate() {
    static const ui::DialogTemplate t = page(193, "^CU Command Test",
                                             {
                                                 checkBox(IDC_STATUS_PAPER_EMPTY, "Paper Empty"),
                                                 checkBox(IDC_STATUS_OK, "Status OK"),
                                                 checkBox(IDC_STATUS_COVER_OPEN, "Cover Open"),
                                                 label(""),
                                                 checkBox(IDC_STATUS_CUTTER_JAMMED, "Cutter jammed"),
                                                 label(""),
                                                 checkBox(IDC_STATUS_HEAD_OVERHEAT, "Thermal Head overheat"),
                                                 label(""),
                                                 checkBox(IDC_STATUS_GAP_ERROR, "Gap Detection Error"),
                                                 label(""),
                                                 checkBox(IDC_STATUS_RIBBON_END, "Ribbon End Error"),
                                             });
    return t;
}

}  // namespace velmora::resources
