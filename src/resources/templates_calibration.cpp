// Layouts of the sensing calibration dialogs.
#include "resources/templates_calibration.h"

#include <cstdio>

namespace velmora::resources {

using namespace ui::layout;

namespace {
// Sixteen bucket rows: the level radio (native captions; the ZII menu recaptions them) and its
// four-digit value.
ui::LayoutNode bucketRows(int first) {
    std::vector<ui::LayoutNode> cells;
    for (int i = first; i < first + 16; ++i) {
        char caption[16];
        std::snprintf(caption, sizeof caption, "%03d :", (i + 1) * 8);
        ui::ControlStyle style;
        style.groupStart = i == 0;
        style.disabled = true;
        cells.push_back(control(IDC_CAL_LEVEL_FIRST + i, ui::ControlKind::RadioButton, caption, style));
        cells.push_back(label("0000", IDC_CAL_VALUE_FIRST + i));
    }
    return grid(2, std::move(cells));
}
}  // namespace

const ui::DialogTemplate& CalibrationTabTemplate() {
    static const ui::DialogTemplate t = [] {
        ui::DialogTemplate d;
        d.resourceId = 189;
        d.caption = "Manual Calibration";
        d.root = column({
            tab(IDC_CAL_TAB),
            row({stretch(), button(ui::IDCANCEL, "CLOSE")}),
        });
        return d;
    }();
    return t;
}

const ui::DialogTemplate& CalibrationPageTemplate() {
    static const ui::DialogTemplate t = [] {
        ui::ControlStyle chart;
        chart.widthChars = 36;
        chart.heightLines = 18;
        ui::ControlStyle number;
        number.numberOnly = true;
        std::vector<std::string> counts;
        for (int n = 4; n <= 10; ++n) counts.push_back(std::to_string(n));
        return childPage(
            190, row({
                     group("Sensing Value Distribution",
                           {row({bucketRows(0), bucketRows(16),
                                 control(IDC_CAL_CHART, ui::ControlKind::Custom, "", chart)})}),
                     column({
                         group("STEP 1 : Start",
                               {
                                   row({label("Sensing Type :"), radio(IDC_CAL_TYPE_GAP, "G", true),
                                        radio(IDC_CAL_TYPE_MARK, "B"), stretch()}),
                                   grid(2, {label("Label Length : (mm)"), edit(IDC_CAL_LENGTH, 6, number)}),
                                   button(IDC_CAL_CHECK, "Check Sensing Value"),
                               }),
                         group("STEP 2 : Save",
                               {
                                   grid(2, {label("Middle Gap Value :"), edit(IDC_CAL_MIDDLE, 6, number),
                                            label("Gap Count :"), dropList(IDC_CAL_GAP_COUNT, 4, counts)}),
                                   button(IDC_CAL_SAVE, "Save Calibration"),
                               }),
                         group("Cancel", {button(IDC_CAL_CANCEL, "Cancel Calibration")}),
                         stretch(),
                     }),
                 }));
    }();
    return t;
}

const ui::DialogTemplate& CalibrationExtraTemplate() {
    static const ui::DialogTemplate t = [] {
        ui::DialogTemplate d;
        d.resourceId = 196;
        d.caption = "Calibration Extra";
        ui::ControlStyle number;
        number.numberOnly = true;
        std::vector<ui::LayoutNode> detail;
        detail.push_back(row({label("", IDC_CALX_UPPER_LABEL), label("", IDC_CALX_UPPER_VALUE), stretch()}));
        for (int a = 0; a < 8; ++a) {
            ui::ControlStyle style;
            style.groupStart = a == 0;
            style.hidden = a == 0;
            detail.push_back(control(IDC_CALX_DETAIL_FIRST + a, ui::ControlKind::RadioButton, "", style));
        }
        detail.push_back(row({label("", IDC_CALX_LOWER_LABEL), label("", IDC_CALX_LOWER_VALUE), stretch()}));
        d.root = column({
            row({
                group("Detail Level", std::move(detail)),
                column({
                    group("STEP 2 : Save",
                          {
                              grid(2, {label("Middle Gap Value :"), edit(IDC_CALX_MIDDLE, 6, number),
                                       label("Gap Count :"), edit(IDC_CALX_GAP_COUNT, 4, number)}),
                              button(IDC_CALX_SAVE, "Save Calibration"),
                          }),
                    stretch(),
                }),
            }),
            row({stretch(), button(ui::IDOK, "OK", {.defaultButton = true})}),
        });
        return d;
    }();
    return t;
}

}  // namespace velmora::resources
