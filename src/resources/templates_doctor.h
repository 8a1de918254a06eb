// Template and control ids of the connection doctor's report window.
#pragma once

#include "ui/layout.h"

namespace velmora::resources {

enum DoctorControlId {
    IDC_DOCTOR_TARGET = 6500,
    IDC_DOCTOR_REPORT = 6501,
    IDC_DOCTOR_AGAIN = 6502,
};

const ui::DialogTemplate& DiagnoseTemplate();  // 650

}  // namespace velmora::resources
