// Template and control ids of the profile diff table, and of the profile buttons of the
// user-setting manager.
#pragma once

#include "ui/layout.h"

namespace velmora::resources {

enum ProfileControlId {
    IDC_PD_SUMMARY = 6201,
    IDC_PD_LIST = 6202,
    IDC_PD_APPLY = 6203,
    IDC_PD_CLOSE = 6204,
    IDC_USERSETTING_SAVE_PROFILE = 6210,
    IDC_USERSETTING_COMPARE = 6211,
    IDC_USERSETTING_APPLY = 6212,
};

const ui::DialogTemplate& ProfileDiffTemplate();

}  // namespace velmora::resources
