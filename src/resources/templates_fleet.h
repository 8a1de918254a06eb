// Template and control ids of the window's printer search ("Find..." on the Ethernet panel).
#pragma once

#include "ui/layout.h"

namespace velmora::resources {

enum FleetControlId {
    IDC_FIND_SUBNET = 6600,
    IDC_FIND_PORT = 6601,
    IDC_FIND_SEARCH = 6602,
    IDC_FIND_LIST = 6603,
    IDC_FIND_SUMMARY = 6604,
};

const ui::DialogTemplate& FindPrintersTemplate();  // 660

}  // namespace velmora::resources
