// The connection doctor's report window, opened by "Diagnose" beside Connect: it runs the doctor
// on the port the panel chose and shows the report the command line prints.
#pragma once

#include <string>

#include "app/toolcontext.h"
#include "doctor/doctor.h"
#include "ui/dialog.h"

namespace velmora::doctor {

class CDiagnoseDlg : public ui::Dialog {
public:
    CDiagnoseDlg(app::ToolContext& ctx, DoctorTarget target, platform::PrintSpooler& spooler);

    // Runs the doctor again and shows its report.
    void OnDiagnose();
    void setTarget(DoctorTarget target);
    const DoctorReport& report() const { return report_; }
    // Lets a test (or the render scenes) replace what the doctor reads of the system.
    DoctorSystem& system() { return system_; }

protected:
    bool OnInitDialog() override;

private:
    DoctorTarget target_;
    DoctorSystem system_;
    DoctorReport report_;
};

// What the report window names as examined: "Serial COM1: /dev/ttyS0", "Ethernet 10.0.0.5:9100".
std::string describeTarget(const DoctorTarget& target);

}  // namespace velmora::doctor
