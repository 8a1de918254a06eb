// Layouts of the ZII print quality dialog and the ZII printer tools.
#include "resources/templates_zii_tools.h"

namespace velmora::resources {

using namespace ui::layout;

const ui::DialogTemplate& ZiiQualityTemplate() {
    static const ui::DialogTemplate t = [] {
        ui::DialogTemplate d;
        d.resourceId = 140;
        d.caption = "Configure Print Quality";
        ui::ControlStyle shown;
        shown.widthChars = 12;
        d.root = column({
            radio(IDC_ZQ_AUTO, "Print sample labels and choose print Speed and Darkness", true),
            radio(IDC_ZQ_MANUAL, "Manually select Speed and Darkness"),
            row({
                column({
                    group("Select number of labels",
                          {grid(3, {label("Number of labels to print :"), disabled(dropList(IDC_ZQ_COUNT, 5)),
                                    label("")})}),
                    group("Select Speed and Darkness",
                          {grid(3, {label("Speed :"), disabled(dropList(IDC_ZQ_SPEED, 5)), label("inch/s"),
                                    label("Darkness :"), disabled(dropList(IDC_ZQ_DARKNESS, 5)), label("")})}),
                    stretch(),
                }),
                group("Label Identifier",
                      {
                          disabled(listBox(IDC_ZQ_IDENTIFIERS, 8, 6)),
                          // Read-only texts: what the chosen label was printed with.
                          grid(2, {label("Speed :"), control(IDC_ZQ_SHOW_SPEED, ui::ControlKind::Static, "", shown),
                                   label("Darkness :"),
                                   control(IDC_ZQ_SHOW_DARKNESS, ui::ControlKind::Static, "", shown)}),
                      }),
            }),
            disabled(checkBox(IDC_ZQ_SAVE_FILE, "Save settings to File")),
            row({disabled(button(IDC_ZQ_PRINT, "Print Sample label(s)")), disabled(button(IDC_ZQ_SET, "Set to Printer")),
                 stretch(), button(ui::IDCANCEL, "Close")}),
        });
        return d;
    }();
    return t;
}

const ui::DialogTemplate& ZiiPrinterToolTemplate() {
    static const ui::DialogTemplate t = [] {
        ui::DialogTemplate d;
        d.resourceId = 142;
        d.caption = "Printer Tools";
        d.root = column({
            row({
                group("Print",
                      {
                          button(IDC_ZT_CONFIG_LABEL, "Print configuration label"),
                          button(IDC_ZT_FEED, "Feed one label"),
                          button(IDC_ZT_OBJECT_LIST, "Print object list"),
                          stretch(),
                      }),
                group("Action",
                      {
                          button(IDC_ZT_CALIBRATE, "Calibrate media"),
                          button(IDC_ZT_FACTORY_DEFAULTS, "Load factory defaults"),
                          button(IDC_ZT_RESET, "Reset printer"),
                          button(IDC_ZT_DIAGNOSTICS_ON, "Enter diagnostics mode"),
                          button(IDC_ZT_DIAGNOSTICS_OFF, "Exit diagnostics mode"),
                      }),
            }),
            row({stretch(), button(ui::IDCANCEL, "Close")}),
        });
        return d;
    }();
    return t;
}

}  // namespace velmora::resources
