// Templates and control ids of the RFID tools (configuration, write, read) and of the command
// tester's five RFID builders (write 181, read 184, password 186, security 187, kill 188).
#pragma once

#include <array>
#include <string>
#include <vector>

#include "ui/layout.h"

namespace velmora::resources {

enum RfidControlId {
    // Configuration.
    IDC_RS_TAG_TYPE = 3000,
    IDC_RS_POWER,
    IDC_RS_POSITION,
    IDC_RS_RETRY,
    IDC_RS_LABELS,
    IDC_RS_VALID,
    IDC_RS_VOID,
    IDC_RS_GET,
    IDC_RS_SET,
    IDC_RS_DEFAULT,
    IDC_RS_RESET,
    IDC_RS_CALIBRATE,
    // Write and read dialogs (the read dialog uses the ids they share).
    IDC_RW_ACCESS = 3020,
    IDC_RW_KILL,
    IDC_RW_PASSWORD,
    IDC_RW_EPC,  // radio pair "EPC Data :" / "User Data"
    IDC_RW_USER,
    IDC_RW_LABEL,  // radio pair "Label" / "Metal"
    IDC_RW_METAL,
    IDC_RW_START,
    IDC_RW_COUNT,
    IDC_RW_FORMAT,
    IDC_RW_SET_DATA,
    IDC_RW_RESET_DATA,
    IDC_RW_DO_DATA,
    IDC_RW_DO_LOCK,
    IDC_RW_DO_UNLOCK,
    IDC_RW_WRITE,
    IDC_RW_POPUP_READ,
    IDC_RR_READ,
    IDC_RR_PRINT,
    IDC_RW_CELL_FIRST = 3100,      // cells 1 to 64: IDC_RW_CELL_FIRST + number - 1
    IDC_RW_LOCK_BIT0 = 3200,       // payload bit n: IDC_RW_LOCK_BIT0 + n
    // Write builder.
    IDC_RB_SET_DATA = 1084,
    IDC_RB_CELL_FIRST = 1249,  // cells 1 to 12: 1249 to 1260
    IDC_RB_WRITE_TYPE = 1266,
    IDC_RB_WRITE_START = 1267,
    IDC_RB_WRITE_COUNT = 1269,
    IDC_RB_RESET_DATA = 1297,
    // Read builder.
    IDC_RB_READ_COUNT = 1262,
    IDC_RB_READ_START = 1263,
    IDC_RB_READ_TYPE = 1265,
    IDC_RB_READ_OUTPUT = 1266,
    // Password builder.
    IDC_RB_ACCESS = 1270,
    IDC_RB_KILL = 1271,
    // Security builder.
    IDC_RB_LOCK = 1228,
    IDC_RB_UNLOCK_CHOICE = 1229,
    IDC_RB_UNLOCK = 1298,
    IDC_RB_PAYLOAD_MODE = 1315,
    IDC_RB_AUTO_MODE = 1317,
};

inline constexpr int kRfidCells = 64;
inline constexpr int kRfidBuilderCells = 12;
// The security builder's payload boxes, by payload bit from 19 down to 0.
inline constexpr std::array<int, 20> kSecurityPayloadIds = {1280, 1279, 1278, 1277, 1276, 1275, 1274,
                                                            1273, 1288, 1287, 1286, 1285, 1284, 1283,
                                                            1282, 1281, 1290, 1289, 1292, 1291};

const ui::DialogTemplate& RfidSettingTemplate();
const ui::DialogTemplate& RfidWriteReadTemplate();
const ui::DialogTemplate& RfidReadTemplate();
const ui::DialogTemplate& RfidWriteCommandTemplate();     // 181
const ui::DialogTemplate& RfidReadCommandTemplate();      // 184
const ui::DialogTemplate& RfidPasswordCommandTemplate();  // 186
const ui::DialogTemplate& RfidSecurityCommandTemplate();  // 187
const ui::DialogTemplate& RfidKillCommandTemplate();      // 188

// The lists' items.
extern const std::vector<std::string> kRfidPowerItems;   // "0" ... "7", "9" ... "31"
extern const std::vector<std::string> kRfidStartItems;   // "0" ... "16"
extern const std::vector<std::string> kRfidCountItems;   // "2" ... "64"

}  // namespace velmora::resources
