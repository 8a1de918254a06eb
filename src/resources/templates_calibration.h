// Templates and control ids of the sensing calibration: the tab dialog (189), its sensing page
// (190) and the finer-level dialog (196).
#pragma once

#include "ui/layout.h"

namespace velmora::resources {

enum CalibrationControlId {
    IDC_CAL_TAB = 5000,
    // The 32 bucket radios (one group) and the value label beside each.
    IDC_CAL_LEVEL_FIRST = 5010,
    IDC_CAL_LEVEL_LAST = IDC_CAL_LEVEL_FIRST + 31,
    IDC_CAL_VALUE_FIRST = 5050,
    IDC_CAL_VALUE_LAST = IDC_CAL_VALUE_FIRST + 31,
    IDC_CAL_CHART = 5090,  // the distribution as bars, painted by the window program
    IDC_CAL_TYPE_GAP = 5100,  // radio pair "G" / "B"
    IDC_CAL_TYPE_MARK,
    IDC_CAL_LENGTH,
    IDC_CAL_CHECK,
    IDC_CAL_MIDDLE,
    IDC_CAL_GAP_COUNT,
    IDC_CAL_SAVE,
    IDC_CAL_CANCEL,
    // Finer-level dialog.
    IDC_CALX_UPPER_LABEL = 5200,
    IDC_CALX_UPPER_VALUE,
    IDC_CALX_DETAIL_FIRST = 5210,  // eight radios; the first is hidden
    IDC_CALX_DETAIL_LAST = IDC_CALX_DETAIL_FIRST + 7,
    IDC_CALX_LOWER_LABEL = 5220,
    IDC_CALX_LOWER_VALUE,
    IDC_CALX_MIDDLE,
    IDC_CALX_GAP_COUNT,
    IDC_CALX_SAVE,
};

const ui::DialogTemplate& CalibrationTabTemplate();    // 189
const ui::DialogTemplate& CalibrationPageTemplate();   // 190
const ui::DialogTemplate& CalibrationExtraTemplate();  // 196

}  // namespace velmora::resources
