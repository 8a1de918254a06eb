// Templates and control ids of the native setting pages of the user-setting manager: interface
// (157), code page and ICS (158), print and page (159), hardware identity (160), printer
// information (161).
#pragma once

#include <string>
#include <vector>

#include "ui/layout.h"

namespace velmora::resources {

// Print and page: one row per setting, its edit (or radios, or list), "Get" and "Set".
enum PrinterPageControlId {
    IDC_PP_WIDTH = 2000,
    IDC_PP_LENGTH,
    IDC_PP_GAP_LENGTH,
    IDC_PP_H_MARGIN,
    IDC_PP_V_MARGIN,
    IDC_PP_DENSITY,
    IDC_PP_DENSITY_SPIN,
    IDC_PP_STROBE_2,  // radio group "2", "3", "4"
    IDC_PP_STROBE_3,
    IDC_PP_STROBE_4,
    IDC_PP_SPEED,
    IDC_PP_OFFSET_NEG,
    IDC_PP_OFFSET,
    IDC_PP_TEAROFF_NEG,
    IDC_PP_TEAROFF,
    IDC_PP_GAP_DETECT,
    IDC_PP_LLC_DISABLE,  // radio pair "Disable" / "Enable"
    IDC_PP_LLC_ENABLE,
    // "Get" and "Set" of each row: the row's Get id, and Set = Get + 1.
    IDC_PP_WIDTH_GET = 2040,
    IDC_PP_WIDTH_SET,
    IDC_PP_LENGTH_GET,
    IDC_PP_LENGTH_SET,
    IDC_PP_GAP_LENGTH_GET,
    IDC_PP_GAP_LENGTH_SET,
    IDC_PP_H_MARGIN_GET,
    IDC_PP_H_MARGIN_SET,
    IDC_PP_V_MARGIN_GET,
    IDC_PP_V_MARGIN_SET,
    IDC_PP_DENSITY_GET,
    IDC_PP_DENSITY_SET,
    IDC_PP_STROBE_GET,
    IDC_PP_STROBE_SET,
    IDC_PP_SPEED_GET,
    IDC_PP_SPEED_SET,
    IDC_PP_OFFSET_GET,
    IDC_PP_OFFSET_SET,
    IDC_PP_TEAROFF_GET,
    IDC_PP_TEAROFF_SET,
    IDC_PP_GAP_DETECT_GET,
    IDC_PP_GAP_DETECT_SET,
    IDC_PP_LLC_SET = 2070,
    IDC_PP_INITIALIZE,
};

enum SerialSettingControlId {
    IDC_NSER_HANDSHAKE = 2100,
    IDC_NSER_STOP_BIT,
    IDC_NSER_DATA_LENGTH,
    IDC_NSER_PARITY_CHECK,
    IDC_NSER_PARITY_SELECT,
    IDC_NSER_BAUD,
    IDC_NSER_DEFAULT = 2110,
    IDC_NSER_GET,
    IDC_NSER_SET,
};

enum LanguageSettingControlId {
    IDC_LANG_CODEPAGE = 2200,
    IDC_LANG_LOCK,
    IDC_LANG_ICS,
    IDC_LANG_GET = 2210,
    IDC_LANG_SET,
    IDC_LANG_ICS_GET,  // hidden
    IDC_LANG_ICS_SET,  // hidden "Set To Printer"
};

// Hardware identity: per identity i (0 version, 1 serial, 2 ID) edit 2300 + i, and its buttons.
enum HardwareInfoControlId {
    IDC_HW_VERSION = 2300,
    IDC_HW_SERIAL,
    IDC_HW_ID,
    IDC_HW_VERSION_GET = 2310,
    IDC_HW_SERIAL_GET,
    IDC_HW_ID_GET,
    IDC_HW_VERSION_SET = 2320,
    IDC_HW_SERIAL_SET,
    IDC_HW_ID_SET,
    IDC_HW_VERSION_INIT = 2330,
    IDC_HW_SERIAL_INIT,
    IDC_HW_ID_INIT,
};

// Printer information: the eight facts 2400..2407 in page order.
enum PrinterInfoControlId {
    IDC_PI_MODEL = 2400,
    IDC_PI_FIRMWARE,
    IDC_PI_MOTOR,
    IDC_PI_MOTOR_PERMANENT,
    IDC_PI_TPH,
    IDC_PI_TPH_PERMANENT,
    IDC_PI_CUTTER,
    IDC_PI_CUTTER_PERMANENT,
    IDC_PI_GET = 2410,
    IDC_PI_INIT_MOTOR,
    IDC_PI_INIT_TPH,
    IDC_PI_INIT_CUTTER,
    IDC_PI_USB_SERIAL,
    IDC_PI_USB_SET,
    IDC_PI_PROGRESS,  // never shown
};

// The code page list (position = the byte of switch 1) and the ICS list (switch 3).
const std::vector<std::string>& CodePageItems();
const std::vector<std::string>& IcsItems();

const ui::DialogTemplate& SerialSettingTemplate();        // 157
const ui::DialogTemplate& LanguageSettingTemplate();      // 158
const ui::DialogTemplate& PrinterPageSettingTemplate();   // 159
const ui::DialogTemplate& HardwareInfoSettingTemplate();  // 160
const ui::DialogTemplate& PrinterInfoTemplate();          // 161

}  // namespace velmora::resources
