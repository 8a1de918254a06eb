// Templates and control ids of the application shell's menu views (the native and the ZII button
// forms shown in the main dialog) and of the user-setting manager that hosts the setting pages.
#pragma once

#include "ui/layout.h"

namespace velmora::resources {

enum ShellControlId {
    // Buttons both menu views have, under the same id.
    IDC_MENU_USER_SETTING = 1008,
    IDC_MENU_CALIBRATION = 1152,
    IDC_MENU_PCX_DOWNLOADER = 1007,
    // Native view only.
    IDC_KDR_FILE_TRANSFER = 1009,
    IDC_KDR_RFID_SETTING = 1294,
    IDC_KDR_RFID_WRITE_READ = 1295,
    IDC_KDR_TAVL_TESTER = 1022,
    // ZII view only.
    IDC_ZII_PRINT_QUALITY = 1016,
    IDC_ZII_PRINTER_TOOL = 1017,
    IDC_ZII_SEND_FILE = 1019,
    IDC_ZII_COMMUNICATION = 1020,
    IDC_ZII_TAVL_TESTER = 1073,
    IDC_ZII_RFID_SETTING = 1076,
    IDC_ZII_RFID_WRITE_READ = 1077,
    // User-setting manager.
    IDC_USERSETTING_CLOSE = 1004,
    IDC_USERSETTING_TAB = 1063,
};

const ui::DialogTemplate& KdrMenuViewTemplate();  // 201
const ui::DialogTemplate& ZiiMenuViewTemplate();  // 101
const ui::DialogTemplate& UserSettingTemplate();  // 156

}  // namespace velmora::resources
