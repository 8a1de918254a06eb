// Template and control ids of the main window: interface panel, banner, menu view frame.
#pragma once

#include "ui/layout.h"

namespace velmora::resources {

enum MainControlId {
    IDC_MAIN_SERIAL = 1000,
    IDC_MAIN_PARALLEL = 1001,
    IDC_MAIN_USB = 1002,
    IDC_MAIN_ETHERNET = 1435,
    IDC_MAIN_BLUETOOTH = 1129,
    IDC_MAIN_LPT = 1028,
    IDC_MAIN_COM = 1021,
    IDC_MAIN_BAUD = 1024,
    IDC_MAIN_DATABITS = 1025,
    IDC_MAIN_PARITY = 1026,
    IDC_MAIN_STOPBITS = 1027,
    IDC_MAIN_IP = 1316,
    IDC_MAIN_TCPPORT = 1436,
    IDC_MAIN_CONNECT = 1003,
    IDC_MAIN_DISCONNECT = 1022,
    IDC_MAIN_EXIT = 1004,
    IDC_MAIN_BANNER = 1005,
    IDC_MAIN_VIEWFRAME = 1023,
    IDC_MAIN_STATUSLINE = 1066,
    IDC_MAIN_DIAGNOSE = 1650,  // the connection doctor
    IDC_MAIN_FIND = 1651,      // the printer search of the Ethernet panel
};

const ui::DialogTemplate& VelmoraMainTemplate();  // 100

}  // namespace velmora::resources
