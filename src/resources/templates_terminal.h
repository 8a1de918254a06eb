// Templates and control ids of the communication window and the two-byte code page prints of
// both languages (the command tester's and the ZII one).
#pragma once

#include "ui/layout.h"

namespace velmora::resources {

enum TerminalControlId {
    // The communication window.
    IDC_CW_EDITOR = 1001,
    IDC_CW_FILE_OPEN = 1002,
    IDC_CW_SAVE = 1003,
    IDC_CW_CLEAR = 1005,
    IDC_CW_COPY = 1006,
    IDC_CW_CUT = 1007,
    IDC_CW_PASTE = 1008,
    IDC_CW_REPLACE = 1009,
    IDC_CW_SEND = 1010,
    IDC_CW_READ = 1011,
    IDC_CW_CLEAR_RECEIVE = 1012,
    IDC_CW_RECEIVE_VIEW = 1013,
    IDC_CW_HEX = 1014,
    IDC_CW_ASCII = 1015,
    IDC_CW_PRINT_CODES = 1016,
    IDC_CW_PREVIEW = 1017,

    // Both two-byte code page prints (the tester's ids; the ZII dialog uses the same).
    IDC_TB_CLOSE = 1004,
    IDC_TB_TABLE = 1145,
    IDC_TB_PRINT = 1152,
    IDC_TB_VECTOR = 1228,
    IDC_TB_START = 1237,
    IDC_TB_END = 1238,
    IDC_TB_AREA = 1420,
    IDC_TB_ALL = 1421,
    IDC_TB_BITMAP = 1422,
    IDC_TB_BITMAP_FONT = 1423,
    IDC_TB_WIDTH = 1425,
    IDC_TB_HEIGHT = 1426,
};

const ui::DialogTemplate& CommunicationTemplate();
const ui::DialogTemplate& TwobytesCodeTemplate();
const ui::DialogTemplate& ZiiTwobytesCodeTemplate();

}  // namespace velmora::resources
