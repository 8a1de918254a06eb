// Layouts of the ZII advanced, serial interface and real-time clock pages. The lists that the
// string table fills are left empty here; only "Data Length :" carries its items.
#include "resources/templates_zii_pages.h"

namespace velmora::resources {

using namespace ui::layout;

const ui::DialogTemplate& ZiiAdvancedTabTemplate() {
    static const ui::DialogTemplate t = childPage(
        203,
        column({
            group(
                "Advanced settings",
                {
                    grid(3,
                         {
                             checkBox(IDC_ZADV_USE_MEDIA_HANDLING, "", disabledStyle()),
                             label("Media Handling"),
                             disabled(dropList(IDC_ZADV_MEDIA_HANDLING, 20)),
                             checkBox(IDC_ZADV_USE_MEDIA_FEED, "", disabledStyle()),
                             label("Media feed options"),
                             disabled(dropList(IDC_ZADV_MEDIA_FEED, 20)),
                             checkBox(IDC_ZADV_USE_BACKFEED, "", disabledStyle()),
                             label("Backfeed"),
                             disabled(dropList(IDC_ZADV_BACKFEED, 20)),
                             // Its value box stands with the other values, after its caption.
                             checkBox(IDC_ZADV_USE_MIRROR, ""),
                             label("Mirror Image"),
                             checkBox(IDC_ZADV_MIRROR, "", disabledStyle()),
                         }),
                    row({
                        control(IDC_ZADV_EVERY_CAPTION, ui::ControlKind::Static, "Every", hiddenStyle()),
                        edit(IDC_ZADV_EVERY_LABEL, 6, hiddenStyle()),
                        control(IDC_ZADV_LABELS_CAPTION, ui::ControlKind::Static, "label(s)", hiddenStyle()),
                        stretch(),
                    }),
                    stretch(),  // the frame fills the page down to its buttons
                }),
            row({button(IDC_ZADV_GET, "Get From Printer"),
                 button(IDC_ZADV_SET, "Set to Printer", disabledStyle()), stretch()}),
        }));
    return t;
}

const ui::DialogTemplate& ZiiSerialTabTemplate() {
    static const ui::DialogTemplate t = [] {
        ui::LayoutNode bluetooth = group("Bluetooth", {}, IDC_ZSER_BLUETOOTH_GROUP);
        bluetooth.control.style.hidden = true;
        return childPage(144,
                         column({
                             group(" Serial Communication Setting",
                                   {grid(2,
                                         {
                                             label("Baudrate :"),
                                             disabled(dropList(IDC_ZSER_BAUD, 12)),
                                             label("Data Length :"),
                                             disabled(dropList(IDC_ZSER_DATA_LENGTH, 12, {"8", "7"})),
                                             label("Parity :"),
                                             disabled(dropList(IDC_ZSER_PARITY, 12)),
                                             label("Stop Bit :"),
                                             disabled(dropList(IDC_ZSER_STOP_BIT, 12)),
                                             label("Protocol mode :"),
                                             disabled(dropList(IDC_ZSER_PROTOCOL, 12)),
                                         }),
                                    stretch()}),  // the frame fills the page down to its buttons
                             bluetooth,
                             row({button(IDC_ZSER_GET, "Get"), button(IDC_ZSER_SET, "Set", disabledStyle()),
                                  button(IDC_ZSER_DEFAULT, "Default Setting"), stretch()}),
                         }));
    }();
    return t;
}

const ui::DialogTemplate& ZiiTimeTabTemplate() {
    static const ui::DialogTemplate t = [] {
        ui::LayoutNode toComputer =
            radio(IDC_ZRTC_TO_COMPUTER, "Set Real Time Clock To Computers Clock", true);
        toComputer.control.style.disabled = true;
        ui::LayoutNode toChosen = radio(IDC_ZRTC_TO_CHOSEN, "Set Real Time Clock To:");
        toChosen.control.style.disabled = true;
        ui::ControlStyle picker = disabledStyle();
        picker.widthChars = 12;
        return childPage(137, column({
                                  group("Real Time Clock",
                                        {
                                            checkBox(IDC_ZRTC_SET_CLOCK, "Set Real Time Clock"),
                                            toComputer,
                                            toChosen,
                                            row({
                                                spacing(20),
                                                control(IDC_ZRTC_DATE, ui::ControlKind::DateTime, "", picker),
                                                control(IDC_ZRTC_TIME, ui::ControlKind::DateTime, "", picker),
                                                stretch(),
                                            }),
                                            stretch(),  // the frame fills the page, its button at the foot
                                            row({button(IDC_ZRTC_SET, "Set to Printer"), stretch()}),
                                        }),
                              }));
    }();
    return t;
}

}  // namespace velmora::resources
