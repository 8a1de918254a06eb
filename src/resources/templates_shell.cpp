// Layouts of the menu views and the user-setting manager.
#include "resources/templates_shell.h"

#include "resources/templates_profile.h"

namespace velmora::resources {

using namespace ui::layout;

namespace {

// Every menu button has the same width so the form reads as one column per frame; all of them
// stay disabled until a printer has answered the connect handshake.
ui::LayoutNode menuButton(int id, const char* caption) {
    ui::ControlStyle s;
    s.disabled = true;
    s.widthChars = 26;
    return button(id, caption, s);
}

}  // namespace

const ui::DialogTemplate& KdrMenuViewTemplate() {
    static const ui::DialogTemplate t = childPage(
        201,
        column({
            row({
                column({
                    group("User Setting", {column({
                                              menuButton(IDC_MENU_USER_SETTING, "User Setting Manager"),
                                              menuButton(IDC_MENU_CALIBRATION, "Calibration Setting Manager"),
                                          })}),
                    group("Downloader", {menuButton(IDC_MENU_PCX_DOWNLOADER, "PCX File Downloader")}),
                    stretch(),
                }),
                column({
                    group("File Transfer", {menuButton(IDC_KDR_FILE_TRANSFER, "File Transfer Manager")}),
                    group("RFID", {column({
                                      menuButton(IDC_KDR_RFID_SETTING, "Set Configuration"),
                                      menuButton(IDC_KDR_RFID_WRITE_READ, "Write/Read"),
                                  })}),
                    // In a frame of its own, like every other button of the view.
                    group("", {menuButton(IDC_KDR_TAVL_TESTER, "KDR(TAVL) Tester")}),
                    stretch(),
                }),
            }),
            stretch(),
        }));
    return t;
}

const ui::DialogTemplate& ZiiMenuViewTemplate() {
    static const ui::DialogTemplate t = childPage(
        101,
        row({
            column({
                group("User Setting", {column({
                                          menuButton(IDC_MENU_USER_SETTING, "Configure Printer Setting"),
                                          menuButton(IDC_ZII_PRINT_QUALITY, "Configure Print Quality"),
                                          menuButton(IDC_MENU_CALIBRATION, "Calibration Setting Manager"),
                                      })}),
                group("Downloader", {menuButton(IDC_MENU_PCX_DOWNLOADER, "PCX File Downloader")}),
                stretch(),
            }),
            column({
                group("Printer Tool", {column({
                                          menuButton(IDC_ZII_SEND_FILE, "Send File"),
                                          menuButton(IDC_ZII_PRINTER_TOOL, "Printer Tool"),
                                          menuButton(IDC_ZII_COMMUNICATION, "Communication Tool"),
                                          menuButton(IDC_ZII_TAVL_TESTER, "TAVL Test Tool"),
                                      })}),
                group("RFID", {column({
                                  menuButton(IDC_ZII_RFID_SETTING, "Set Configuration"),
                                  menuButton(IDC_ZII_RFID_WRITE_READ, "Write/Read"),
                              })}),
                stretch(),
            }),
        }));
    return t;
}

const ui::DialogTemplate& UserSettingTemplate() {
    static const ui::DialogTemplate t = [] {
        ui::DialogTemplate d;
        d.resourceId = 156;
        d.caption = "User Setting Manager";
        d.minWidth = 560;
        d.minHeight = 420;
        d.root = column({
            tab(IDC_USERSETTING_TAB),
            row({button(IDC_USERSETTING_SAVE_PROFILE, "Save Profile..."), button(IDC_USERSETTING_COMPARE, "Compare..."),
                 button(IDC_USERSETTING_APPLY, "Apply..."), stretch(), button(IDC_USERSETTING_CLOSE, "Close")}),
        });
        return d;
    }();
    return t;
}

}  // namespace velmora::resources
