// The connection doctor's report window.
#include "doctor/diagnosedlg.h"

#include "app/dialogcatalog.h"
#include "resources/templates_doctor.h"
#include "ui/host.h"

namespace velmora::doctor {

using namespace resources;

std::string describeTarget(const DoctorTarget& t) {
    switch (t.kind) {
        case DoctorTarget::Kind::Serial:
            return "Serial " + t.portName + " " + t.device + " (" + std::to_string(t.serial.baudRate) + " " +
                   framingName(t.serial) + ")";
        case DoctorTarget::Kind::Parallel: return "Parallel " + t.portName + " " + t.device;
        case DoctorTarget::Kind::Usb: return "USB printers";
        case DoctorTarget::Kind::Tcp: break;
    }
    return "Ethernet " + t.host + ":" + std::to_string(t.port);
}

CDiagnoseDlg::CDiagnoseDlg(app::ToolContext& ctx, DoctorTarget target, platform::PrintSpooler& spooler)
    : ui::Dialog(ctx.host, DiagnoseTemplate()),
      target_(std::move(target)),
      system_(ctx.comm.devices(), ctx.clock, spooler) {}

bool CDiagnoseDlg::OnInitDialog() {
    on(ui::Event::Clicked, IDC_DOCTOR_AGAIN, [this] { OnDiagnose(); });
    OnDiagnose();
    return true;
}

void CDiagnoseDlg::setTarget(DoctorTarget target) { target_ = std::move(target); }

void CDiagnoseDlg::OnDiagnose() {
    // The serial scan takes seconds: the window shows it is busy and keeps painting.
    ui::WaitCursor wait(host());
    control(IDC_DOCTOR_TARGET).setText("Examined: " + describeTarget(target_));
    report_ = RunDoctor(target_, system_);
    control(IDC_DOCTOR_REPORT).setText(report_.text());
}

namespace {
// A serial port whose node the pictures describe instead of the machine's own /dev.
void pictureSerial(CDiagnoseDlg& d, unsigned mode) {
    d.system().inspect = [mode](const std::string&) {
        platform::DeviceStatus s;
        s.exists = s.characterDevice = true;
        s.mode = mode;
        s.groupId = 20;
        s.groupName = "dialout";
        return s;
    };
    d.system().holders = [](const std::string&) { return std::vector<platform::DeviceHolder>{}; };
    d.system().user = {1000, {1000}, "tech"};
    DoctorTarget t;
    t.kind = DoctorTarget::Kind::Serial;
    t.portName = "COM1:";
    t.device = "/dev/ttyS0";
    t.serial = {115200, 8, 0, 0};
    d.setTarget(t);
    d.OnDiagnose();
}

// Opened on the link the port object names (velmora --dialog diagnose --tcp HOST:PORT), or with
// none named on a TCP port where nothing listens (refused at once); the scenes show a serial port
// (the simulator answering at the first rate) and one the user may not open.
const bool registered = app::registerDialog({
    "diagnose",
    [](app::ToolContext& ctx) {
        DoctorTarget target;
        if (!ctx.comm.portName.empty()) {
            target = doctorTargetOf(ctx.comm);
        } else {
            target.kind = DoctorTarget::Kind::Tcp;
            target.host = "127.0.0.1";
            target.port = 1;
        }
        return std::make_unique<CDiagnoseDlg>(ctx, target, platform::spoolerWithoutQueues());
    },
    {{"serial-found", [](ui::Dialog& d) { pictureSerial(static_cast<CDiagnoseDlg&>(d), 0666); }},
     {"permission", [](ui::Dialog& d) { pictureSerial(static_cast<CDiagnoseDlg&>(d), 0660); }}},
    {},
});
}  // namespace

}  // namespace velmora::doctor
