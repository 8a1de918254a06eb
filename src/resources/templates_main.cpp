// Layout of the main window: the banner across the top, the interface panel on the left and
// the menu view's frame on the right.
#include "resources/templates_main.h"

namespace velmora::resources {

using namespace ui::layout;

namespace {
std::vector<std::string> comPorts() {
    std::vector<std::string> ports;
    for (int i = 1; i <= 20; ++i) ports.push_back("COM" + std::to_string(i) + ":");
    return ports;
}
}  // namespace

const ui::DialogTemplate& VelmoraMainTemplate() {
    static const ui::DialogTemplate t = [] {
        ui::DialogTemplate d;
        d.resourceId = 100;
        d.captionless = true;
        d.minWidth = 760;
        d.minHeight = 470;
        ui::ControlStyle bannerStyle;
        bannerStyle.heightLines = 2;
        bannerStyle.movesWindow = true;
        ui::ControlStyle hiddenRadio;
        hiddenRadio.hidden = true;
        ui::ControlStyle portEdit;
        portEdit.numberOnly = true;
        portEdit.widthChars = 8;
        ui::ControlStyle ipStyle;
        ipStyle.widthChars = 15;
        ui::ControlStyle frameStyle;
        frameStyle.widthChars = 60;
        d.root = column({
            control(IDC_MAIN_BANNER, ui::ControlKind::Custom, "", bannerStyle),
            row({
                column({
                    group("Interface Type",
                          {
                              radio(IDC_MAIN_SERIAL, "Serial", true),
                              radio(IDC_MAIN_PARALLEL, "Parallel"),
                              radio(IDC_MAIN_USB, "USB"),
                              radio(IDC_MAIN_ETHERNET, "Ethernet"),
                              control(IDC_MAIN_BLUETOOTH, ui::ControlKind::RadioButton, "Bluetooth", hiddenRadio),
                          }),
                    group("Communication Setting",
                          {grid(2,
                                {
                                    label("COM Port"), dropList(IDC_MAIN_COM, 10, comPorts()),
                                    label("Baud Rate"),
                                    dropList(IDC_MAIN_BAUD, 10, {"9600", "19200", "38400", "57600", "115200"}),
                                    label("Data Bits"), dropList(IDC_MAIN_DATABITS, 10, {"7", "8"}),
                                    label("Parity"), dropList(IDC_MAIN_PARITY, 10, {"None", "Odd", "Even"}),
                                    label("Stop Bits"), dropList(IDC_MAIN_STOPBITS, 10, {"1", "1.5", "2"}),
                                    label("LPT Port"),
                                    dropList(IDC_MAIN_LPT, 10, {"LPT1:", "LPT2:", "LPT3:", "LPT4:"}),
                                    label("IP"), control(IDC_MAIN_IP, ui::ControlKind::IpAddress, "", ipStyle),
                                    label("Port"), control(IDC_MAIN_TCPPORT, ui::ControlKind::Edit, "", portEdit),
                                    label(""), button(IDC_MAIN_FIND, "Find..."),
                                })}),
                    row({button(IDC_MAIN_CONNECT, "Connect"), button(IDC_MAIN_DIAGNOSE, "Diagnose")}),
                    row({button(IDC_MAIN_DISCONNECT, "Disconnect")}),
                    stretch(),
                    button(IDC_MAIN_EXIT, "E X I T"),
                }),
                control(IDC_MAIN_VIEWFRAME, ui::ControlKind::Frame, "", frameStyle),
            }),
            label("", IDC_MAIN_STATUSLINE),
        });
        return d;
    }();
    return t;
}

}  // namespace velmora::resources
