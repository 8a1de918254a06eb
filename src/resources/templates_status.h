// Templates and control ids of the status check dialog and its two query pages.
#pragma once

#include "ui/layout.h"

namespace velmora::resources {

enum StatusControlId {
    IDC_STATUS_TAB = 1000,
    IDC_STATUS_TEST = 1001,  // the page's query button
    // Check boxes, in the order of the status bits.
    IDC_STATUS_PAPER_EMPTY = 1010,
    IDC_STATUS_COVER_OPEN,
    IDC_STATUS_CUTTER_JAMMED,
    IDC_STATUS_HEAD_OVERHEAT,
    IDC_STATUS_GAP_ERROR,
    IDC_STATUS_RIBBON_END,
    IDC_STATUS_BUILDING_LABEL,
    IDC_STATUS_PRINTING_LABEL,
    IDC_STATUS_LABEL_PAUSED,
    IDC_STATUS_OK,
};

const ui::DialogTemplate& CheckPrinterStatusTemplate();  // 191
const ui::DialogTemplate& CpStatusCmdTemplate();         // 192
const ui::DialogTemplate& CuStatusCmdTemplate();         // 193

}  // namespace velmora::resources
