// Templates and control ids of the command tester, its builders, the font finder, the
// character-set test and the unit converter. Ids are per dialog: the same number may name
// different controls in different builders.
#pragma once

#include "ui/layout.h"

namespace velmora::resources {

enum TesterControlId {
    // The tester.
    IDC_TT_CONVERT = 1000,
    IDC_TT_READ = 1001,
    IDC_TT_CLOSE = 1004,
    IDC_TT_EDITOR = 1056,
    IDC_TT_CUT = 1065,
    IDC_TT_COPY = 1066,
    IDC_TT_PASTE = 1067,
    IDC_TT_COPIES = 1068,
    IDC_TT_MULTI_SEND = 1069,
    IDC_TT_SEND_SPIN = 1072,
    IDC_TT_PRINTING_SETTING = 1074,
    IDC_TT_LABEL_SETTING = 1075,
    IDC_TT_BITMAP_TEXT = 1076,
    IDC_TT_LINE_BOX = 1077,
    IDC_TT_BARCODE_1D = 1078,
    IDC_TT_CHECK_STATUS = 1079,
    IDC_TT_BARCODE_2D = 1080,
    IDC_TT_CHARSET = 1081,
    IDC_TT_RECEIVE_VIEW = 1082,
    IDC_TT_CLEAR_RECEIVE = 1083,
    IDC_TT_HEX = 1084,
    IDC_TT_ASCII = 1085,
    IDC_TT_SEND_COUNT = 1100,
    IDC_TT_CLEAN = 1123,
    IDC_TT_LOAD = 1207,
    IDC_TT_SAVE = 1208,
    IDC_TT_SENT_COUNTER = 1221,
    IDC_TT_RFID_WRITE = 1297,
    IDC_TT_RFID_SECURITY = 1300,
    IDC_TT_RFID_READ = 1305,
    IDC_TT_RFID_PASSWORD = 1307,
    IDC_TT_RFID_KILL = 1308,
    IDC_TT_VECTOR_TEXT = 1414,
    IDC_TT_PRINT_CODES = 1415,
    IDC_TT_PREVIEW = 1590,

    // Shared by the builders.
    IDC_B_TEST_PRINT = 1095,
    IDC_B_INSERT = 1096,
    IDC_B_CONVERT = 1152,
    IDC_B_X = 1124,
    IDC_B_X_SPIN = 1125,
    IDC_B_Y = 1126,
    IDC_B_Y_SPIN = 1127,
    IDC_B_ROTATION = 1144,
    IDC_B_DATA = 1140,

    // Bitmap text.
    IDC_BT_H_MULTI = 1130,
    IDC_BT_H_SPIN = 1131,
    IDC_BT_V_MULTI = 1132,
    IDC_BT_V_SPIN = 1133,
    IDC_BT_SPACE = 1134,
    IDC_BT_SPACE_SPIN = 1135,
    IDC_BT_BOLD = 1141,
    IDC_BT_REVERSE = 1142,
    IDC_BT_FONT = 1143,
    IDC_BT_FIND_FONT = 1148,

    // Vector text.
    IDC_VT_FONT_SPACE = 1050,
    IDC_VT_WIDTH = 1108,
    IDC_VT_HEIGHT = 1110,
    IDC_VT_FONT = 1123,
    IDC_VT_WIDTH_SPIN = 1131,
    IDC_VT_HEIGHT_SPIN = 1133,
    IDC_VT_SPACE_SPIN = 1135,
    IDC_VT_BOLD = 1141,
    IDC_VT_REVERSE = 1142,
    IDC_VT_ITALIC = 1145,
    IDC_VT_JUSTIFY = 1146,
    IDC_VT_DIRECTION = 1147,

    // Font finder.
    IDC_FF_WIDTH = 1108,
    IDC_FF_HEIGHT = 1110,
    IDC_FF_FIND_SIMILAR = 1152,
    IDC_FF_FIND_ROUND = 1185,
    IDC_FF_SIMILAR_FONT = 1186,
    IDC_FF_SIMILAR_X = 1187,
    IDC_FF_SIMILAR_Y = 1188,
    IDC_FF_ROUND_FONT = 1189,
    IDC_FF_ROUND_X = 1190,
    IDC_FF_ROUND_Y = 1191,
    IDC_FF_PRINT = 1192,

    // 1D barcode.
    IDC_B1_TYPE = 1163,
    IDC_B1_NARROW = 1164,
    IDC_B1_WIDE = 1165,
    IDC_B1_HEIGHT = 1166,
    IDC_B1_HRI = 1167,
    IDC_B1_QZONE = 1168,
    IDC_B1_QZONE_ON = 1169,
    IDC_B1_NARROW_SPIN = 1170,
    IDC_B1_WIDE_SPIN = 1171,
    IDC_B1_HEIGHT_SPIN = 1172,
    IDC_B1_QZONE_SPIN = 1173,

    // 2D barcode.
    IDC_B2_MODULE = 1134,
    IDC_B2_MODULE_SPIN = 1135,
    IDC_B2_MODE = 1145,
    IDC_B2_COMPRESS = 1146,
    IDC_B2_BAR = 1166,
    IDC_B2_HRI = 1167,
    IDC_B2_BAR_SPIN = 1172,
    IDC_B2_SYMBOLOGY = 1173,
    IDC_B2_TYPE_LETTER = 1175,
    IDC_B2_ROWS = 1176,
    IDC_B2_COLS = 1177,
    IDC_B2_ROWS_SPIN = 1178,
    IDC_B2_COLS_SPIN = 1179,
    IDC_B2_ECC = 1180,
    IDC_B2_ORIGIN = 1181,
    IDC_B2_ECC_LABEL = 1218,
    IDC_B2_BAR_LABEL = 1219,
    IDC_B2_MODE_LABEL = 1220,

    // Block draw.
    IDC_BD_START_X = 1153,
    IDC_BD_START_Y = 1154,
    IDC_BD_END_X = 1155,
    IDC_BD_END_Y = 1156,
    IDC_BD_TYPE = 1157,
    IDC_BD_OPTIONAL = 1158,
    IDC_BD_START_X_SPIN = 1159,
    IDC_BD_START_Y_SPIN = 1160,
    IDC_BD_END_X_SPIN = 1161,
    IDC_BD_END_Y_SPIN = 1162,
    IDC_BD_OPTIONAL_SPIN = 1163,

    // Label setting.
    IDC_LS_INCH = 1103,
    IDC_LS_MM = 1104,
    IDC_LS_DOTS = 1105,
    IDC_LS_GAP = 1106,
    IDC_LS_CONTINUOUS = 1107,
    IDC_LS_WIDTH = 1108,
    IDC_LS_WIDTH_UNIT = 1109,
    IDC_LS_LENGTH = 1110,
    IDC_LS_LENGTH_UNIT = 1111,
    IDC_LS_WIDTH_ON = 1112,
    IDC_LS_LENGTH_ON = 1113,
    IDC_LS_MARGINS_ON = 1114,
    IDC_LS_X_MARGIN = 1115,
    IDC_LS_Y_MARGIN = 1116,
    IDC_LS_X_UNIT = 1117,
    IDC_LS_Y_UNIT = 1118,
    IDC_LS_BLACK_MARK = 1430,

    // Printing setting.
    IDC_PS_SPEED_ON = 1084,
    IDC_PS_SPEED_FIRST = 1085,  // to 1089
    IDC_PS_SLIDER = 1090,
    IDC_PS_DENSITY_ON = 1091,
    IDC_PS_DIRECTION_ON = 1092,
    IDC_PS_TOP = 1093,
    IDC_PS_BOTTOM = 1094,
    IDC_PS_DENSITY_TEXT = 1097,

    // Copies.
    IDC_PC_QUANTITY = 1075,
    IDC_PC_COPIES_SPIN = 1079,
    IDC_PC_COPIES = 1102,
    IDC_PC_QUANTITY_SPIN = 1212,

    // Character-set test.
    IDC_CS_ALL_TABLES = 1122,
    IDC_CS_FONT = 1128,
    IDC_CS_H_SIZE = 1130,
    IDC_CS_H_SPIN = 1131,
    IDC_CS_V_SIZE = 1132,
    IDC_CS_V_SPIN = 1133,
    IDC_CS_SET = 1144,
    IDC_CS_TABLE = 1145,
    IDC_CS_UNDER80 = 1152,
    IDC_CS_INTERNATIONAL = 1153,
    IDC_CS_OVER80 = 1154,
    IDC_CS_VECTOR = 1228,
    IDC_CS_BITMAP = 1416,
    IDC_CS_H_LABEL = 1417,
    IDC_CS_V_LABEL = 1418,

    // Unit converter (directions in the order of the members: 1103, 1104, 1124, 1123, 1105, 1122).
    IDC_CU_INCH_MM = 1103,
    IDC_CU_INCH_DOTS = 1104,
    IDC_CU_MM_INCH = 1105,
    IDC_CU_MM_DOTS = 1122,
    IDC_CU_DOTS_MM = 1123,
    IDC_CU_DOTS_INCH = 1124,
    IDC_CU_CONVERT = 1152,
    IDC_CU_INPUT_UNIT = 1194,
    IDC_CU_RESULT_UNIT = 1195,
    IDC_CU_INPUT = 1196,
    IDC_CU_RESULT = 1197,
};

const ui::DialogTemplate& TavlCmdTesterTemplate();     // 135
const ui::DialogTemplate& TextCommandTemplate();       // 141
const ui::DialogTemplate& VectorTextCommandTemplate(); // 197
const ui::DialogTemplate& FontFinderTemplate();        // 149
const ui::DialogTemplate& ConvertUnitTemplate();       // 150
const ui::DialogTemplate& Barcode1DCommandTemplate();  // 145
const ui::DialogTemplate& Barcode2DCommandTemplate();  // 147
const ui::DialogTemplate& BlockDrawCommandTemplate();  // 143
const ui::DialogTemplate& LabelSettingTemplate();      // 140
const ui::DialogTemplate& PrintingSettingTemplate();   // 139
const ui::DialogTemplate& PrinterCopiesTemplate();     // 177
const ui::DialogTemplate& CharacterSetCommandTemplate(); // 148

// The items of the lists the templates fill.
extern const std::vector<std::string> kBarcode1DTypes;
extern const std::vector<std::string> kCharsetNames;
extern const std::vector<std::string> kCodeTableNames;

}  // namespace velmora::resources
