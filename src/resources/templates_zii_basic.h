// Template and control ids of the ZII basic settings page: nine setting rows, each with a "use"
// box in front of its control, six of them with a "Lock" box, and the Get and Set buttons.
#pragma once

#include "ui/layout.h"

namespace velmora::resources {

enum ZiiBasicControlId {
    // "Use" boxes, one per row, in row order.
    IDC_ZB_USE_WIDTH = 1100,
    IDC_ZB_USE_HEIGHT,
    IDC_ZB_USE_ORIENTATION,
    IDC_ZB_USE_SPEED,
    IDC_ZB_USE_DARKNESS,
    IDC_ZB_USE_PRINT_MODE,
    IDC_ZB_USE_MEDIA_TYPE,
    IDC_ZB_USE_TEAR_OFF,
    IDC_ZB_USE_PRINT_OFFSET,
    // The row controls, in row order.
    IDC_ZB_WIDTH = 1110,
    IDC_ZB_HEIGHT,
    IDC_ZB_ORIENTATION,
    IDC_ZB_SPEED,
    IDC_ZB_DARKNESS,
    IDC_ZB_PRINT_MODE,
    IDC_ZB_MEDIA_TYPE,
    IDC_ZB_TEAR_OFF,
    IDC_ZB_PRINT_OFFSET,
    // "Lock" boxes of the six lockable rows.
    IDC_ZB_LOCK_WIDTH = 1120,
    IDC_ZB_LOCK_SPEED,
    IDC_ZB_LOCK_DARKNESS,
    IDC_ZB_LOCK_MEDIA_TYPE,
    IDC_ZB_LOCK_TEAR_OFF,
    IDC_ZB_LOCK_PRINT_OFFSET,
    IDC_ZB_LOCK_HEADING,
    // Present in the page but never shown and without a function.
    IDC_ZB_MARGIN_LABEL = 1130,
    IDC_ZB_MARGIN_H_LABEL,
    IDC_ZB_MARGIN_H,
    IDC_ZB_MARGIN_V_LABEL,
    IDC_ZB_MARGIN_V,
    IDC_ZB_LOCK_HIDDEN_1,
    IDC_ZB_LOCK_HIDDEN_2,
    IDC_ZB_LOCK_HIDDEN_3,
    IDC_ZB_LOCK_HIDDEN_4,
    // Buttons.
    IDC_ZB_GET = 1140,
    IDC_ZB_SET,
};

const ui::DialogTemplate& ZiiBasicTabTemplate();  // 202

}  // namespace velmora::resources
