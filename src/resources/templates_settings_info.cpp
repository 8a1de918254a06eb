// Layouts of the native hardware identity and printer information pages.
#include "resources/templates_settings.h"

namespace velmora::resources {

using namespace ui::layout;

const ui::DialogTemplate& HardwareInfoSettingTemplate() {
    static const ui::DialogTemplate t = [] {
        // The captions take one width, so the boxes and buttons of the three groups line up.
        ui::ControlStyle caption;
        caption.widthChars = 10;
        auto identity = [&caption](const char* groupCaption, const char* labelText, int i) {
            // The three frames share the page's height, each with its row in the middle.
            return group(groupCaption, {stretch(),
                                        row({control(ui::IDC_STATIC, ui::ControlKind::Static, labelText, caption), edit(IDC_HW_VERSION + i, 18),
                                        button(IDC_HW_VERSION_GET + i, "Get"), button(IDC_HW_VERSION_SET + i, "Set"),
                                        button(IDC_HW_VERSION_INIT + i, "Initialize"), stretch()}),
                                        stretch()});
        };
        return childPage(160, column({
                                  identity("Hardware Version", "Version:", 0),
                                  identity("Serial Number", "Number:", 1),
                                  identity("User Defined Printer ID", "ID:", 2),
                              }));
    }();
    return t;
}

const ui::DialogTemplate& PrinterInfoTemplate() {
    static const ui::DialogTemplate t = [] {
        ui::ControlStyle value;
        value.widthChars = 24;
        auto fact = [&value](const char* caption, int id) {
            return std::vector<ui::LayoutNode>{label(caption), control(id, ui::ControlKind::Static, "", value)};
        };
        std::vector<ui::LayoutNode> cells;
        for (auto [caption, id] : {std::pair{"Model Name :", IDC_PI_MODEL},
                                   {"Firmware Version :", IDC_PI_FIRMWARE},
                                   {"Motor Feeding History :", IDC_PI_MOTOR},
                                   {"Permanent Motor History :", IDC_PI_MOTOR_PERMANENT},
                                   {"TPH Energizing History :", IDC_PI_TPH},
                                   {"Permanent TPH History :", IDC_PI_TPH_PERMANENT},
                                   {"Auto-Cutter History :", IDC_PI_CUTTER},
                                   {"Permanent Cutter History :", IDC_PI_CUTTER_PERMANENT}})
            for (auto& node : fact(caption, id)) cells.push_back(std::move(node));
        ui::LayoutNode progressBar = progress(IDC_PI_PROGRESS);
        progressBar.control.style.hidden = true;
        return childPage(161, column({
                                  group("Printer Information",
                                        {grid(2, std::move(cells)), row({button(IDC_PI_GET, "Get"), stretch()})}),
                                  group("Initialize Statistics",
                                        {row({button(IDC_PI_INIT_MOTOR, "Init Motor Stat"),
                                              button(IDC_PI_INIT_TPH, "Init TPH Stat"),
                                              button(IDC_PI_INIT_CUTTER, "Init Cutter Stat"), stretch()})}),
                                  row({label("USB Serial Number"), edit(IDC_PI_USB_SERIAL, 16),
                                       button(IDC_PI_USB_SET, "SET"), stretch()}),
                                  progressBar,
                                  stretch(),
                              }));
    }();
    return t;
}

}  // namespace velmora::resources
