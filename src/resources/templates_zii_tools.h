// Templates and control ids of the ZII print quality dialog and the ZII printer tools.
#pragma once

#include "ui/layout.h"

namespace velmora::resources {

enum ZiiQualityControlId {
    IDC_ZQ_AUTO = 5300,  // radio pair: automatic / manual
    IDC_ZQ_MANUAL,
    IDC_ZQ_COUNT,
    IDC_ZQ_SPEED,
    IDC_ZQ_DARKNESS,
    IDC_ZQ_IDENTIFIERS,
    IDC_ZQ_SHOW_SPEED,
    IDC_ZQ_SHOW_DARKNESS,
    IDC_ZQ_SAVE_FILE,
    IDC_ZQ_PRINT,
    IDC_ZQ_SET,
};

enum ZiiPrinterToolControlId {
    IDC_ZT_CONFIG_LABEL = 5400,
    IDC_ZT_FEED,
    IDC_ZT_OBJECT_LIST,
    IDC_ZT_CALIBRATE,
    IDC_ZT_FACTORY_DEFAULTS,
    IDC_ZT_RESET,
    IDC_ZT_DIAGNOSTICS_ON,
    IDC_ZT_DIAGNOSTICS_OFF,
};

const ui::DialogTemplate& ZiiQualityTemplate();      // 140
const ui::DialogTemplate& ZiiPrinterToolTemplate();  // 142

}  // namespace velmora::resources
