// Layout of the connection doctor's report window: what was examined, the report, and buttons
// to run it again or close it.
#include "resources/templates_doctor.h"

namespace velmora::resources {

using namespace ui::layout;

const ui::DialogTemplate& DiagnoseTemplate() {
    static const ui::DialogTemplate t = [] {
        ui::DialogTemplate d;
        d.resourceId = 650;
        d.caption = "Connection Doctor";
        d.minWidth = 640;
        // The advice is prose: it wraps at the window's edge rather than running past it.
        ui::ControlStyle report;
        report.multiline = true;
        report.readOnly = true;
        report.widthChars = 90;
        report.heightLines = 16;
        ui::ControlStyle closeStyle;
        closeStyle.defaultButton = true;
        d.root = column({
            label("", IDC_DOCTOR_TARGET),
            control(IDC_DOCTOR_REPORT, ui::ControlKind::Edit, "", report),
            row({stretch(), button(IDC_DOCTOR_AGAIN, "Diagnose Again"), button(ui::IDOK, "Close", closeStyle)}),
        });
        return d;
    }();
    return t;
}

}  // namespace velmora::resources
