// Main window: panel enabling, connect and disconnect, print-queue switching, menu views.
#include "shell/velmoradlg.h"

#include <algorithm>
#include <cerrno>
#include <system_error>

#include "app/dialogcatalog.h"
#include "app/handshake.h"
#include "app/menumode.h"
#include "app/versionrecord.h"
#include "doctor/diagnosedlg.h"
#include "fleet/findprintersdlg.h"
#include "platform/deviceaccess.h"
#include "resources/messages.h"
#include "resources/stringtable.h"
#include "resources/templates_main.h"
#include "shell/main_kdrmenuview.h"
#include "shell/main_ziimenuview.h"
#include "shell/prefsstatic.h"
#include "ui/dataexchange.h"

namespace velmora::shell {

using namespace resources;

namespace {
constexpr int kInterfaceRadios[] = {IDC_MAIN_SERIAL, IDC_MAIN_PARALLEL, IDC_MAIN_USB, IDC_MAIN_ETHERNET,
                                    IDC_MAIN_BLUETOOTH};
constexpr int kSerialLists[] = {IDC_MAIN_BAUD, IDC_MAIN_DATABITS, IDC_MAIN_PARITY, IDC_MAIN_STOPBITS};

unsigned baudFromIndex(int i) {
    switch (i) {
        case 0: return 9600;
        case 1: return 19200;
        case 2: return 38400;
        case 3: return 57600;
        default: return 115200;
    }
}

using app::FilledString;
}  // namespace

std::optional<std::string> formatAddress(const std::string& text) {
    int bytes[4] = {0, 0, 0, 0};
    int field = 0;
    for (char c : text) {
        if (c == '.') {
            if (++field == 4) break;
        } else if (c >= '0' && c <= '9') {
            bytes[field] = std::min(256, bytes[field] * 10 + (c - '0'));
            if (bytes[field] > 255) return std::nullopt;
        }
    }
    return std::to_string(bytes[0]) + "." + std::to_string(bytes[1]) + "." + std::to_string(bytes[2]) + "." +
           std::to_string(bytes[3]);
}

CVelmoraDlg::CVelmoraDlg(app::ToolContext& ctx, platform::PrintSpooler& spooler)
    : ui::Dialog(ctx.host, VelmoraMainTemplate()), ctx_(ctx), spooler_(spooler) {}

CVelmoraDlg::~CVelmoraDlg() {
    host().statusLine = nullptr;
    // However the window ended, the queues get their ports back before the program ends.
    views_.clear();
    RestoreQueuePorts();
}

void CVelmoraDlg::AddMenuViews() {
    app::VersionRecord version;
    if (app::LoadVersionRecord(version)) {
        titles_[0] = titles_[1] = version.productName + " (Version " + version.versionText + ")";
    } else {
        titles_[0] = titles_[1] = "Velmora-II";
        SetWindowText("Velmora");
    }
    views_.clear();
    views_.push_back(std::make_unique<CMain_KDRMenuView>(ctx_));
    views_.push_back(std::make_unique<CMain_ZIIMenuView>(ctx_));
}

MenuView* CVelmoraDlg::view(int index) const {
    return index >= 0 && index < static_cast<int>(views_.size()) ? views_[index].get() : nullptr;
}

bool CVelmoraDlg::OnInitDialog() {
    if (views_.empty()) AddMenuViews();
    for (int id : kInterfaceRadios) on(ui::Event::Clicked, id, [this] { UpdateConnectionState(false); });
    on(ui::Event::Clicked, IDC_MAIN_CONNECT, [this] { OnConnect(); });
    on(ui::Event::Clicked, IDC_MAIN_DIAGNOSE, [this] { OnDiagnose(); });
    on(ui::Event::Clicked, IDC_MAIN_FIND, [this] { OnFind(); });
    on(ui::Event::Clicked, IDC_MAIN_DISCONNECT, [this] { OnDisconnect(); });
    on(ui::Event::Clicked, IDC_MAIN_EXIT, [this] { OnExit(); });

    const int mode = app::MenuMode == 0 ? 0 : 1;  // the native view only in mode 0
    auto banner = std::make_shared<CPrefsStatic>();
    banner->faceName = "Verdana";
    banner->fontHeight = 14;
    banner->fontWeight = 700;
    banner->textColor = kButtonFaceColor;
    banner->gradientColor = app::MenuMode == 1 ? 0x8080EC : 0x80EC80;
    banner->subtitle = app::kBrandName;
    control(IDC_MAIN_BANNER).setCustom(banner);
    control(IDC_MAIN_BANNER).setText(titles_[mode]);
    SetWindowText(titles_[mode]);

    std::vector<ui::Dialog*> pages;
    for (auto& v : views_) {
        v->CreateAsChild(*this);
        v->ShowWindow(false);
        pages.push_back(v.get());
    }
    setTabPages(IDC_MAIN_VIEWFRAME, pages);
    views_[mode]->ShowWindow(true);
    SetFocus(IDC_MAIN_VIEWFRAME);

    showPortDevices();
    UpdateData(false);
    UpdateConnectionState(false);
    // Tools say here what an action did when they show no box for it.
    host().statusLine = [this](const std::string& text) { control(IDC_MAIN_STATUSLINE).setText(text); };
    return true;
}

void CVelmoraDlg::showPortDevices() {
    const platform::PortMap& map = ctx_.comm.portMap;
    for (int id : {IDC_MAIN_COM, IDC_MAIN_LPT}) {
        ui::Control& list = control(id);
        for (int i = 0; i < list.count(); ++i) {
            const std::string port = list.itemText(i);
            list.setItemTip(i, map.devicePath(port) + (map.isMapped(port) ? " (from [Ports] in velmora.ini)" : ""));
        }
    }
}

void CVelmoraDlg::DoDataExchange(ui::DataExchange& dx) {
    dx.Radio(IDC_MAIN_SERIAL, interfaceIndex);
    dx.CBIndex(IDC_MAIN_LPT, lptIndex);
    dx.CBIndex(IDC_MAIN_COM, comIndex);
    dx.CBIndex(IDC_MAIN_BAUD, baudIndex);
    dx.CBIndex(IDC_MAIN_DATABITS, dataBitsIndex);
    dx.CBIndex(IDC_MAIN_PARITY, parityIndex);
    dx.CBIndex(IDC_MAIN_STOPBITS, stopBitsIndex);
    dx.Text(IDC_MAIN_IP, address);
    dx.Text(IDC_MAIN_TCPPORT, tcpPort);
}

void CVelmoraDlg::UpdateConnectionState(bool connected) {
    UpdateData(true);  // a bad port number shows its message; the panel still follows the state
    connected_ = connected;
    for (int id : {IDC_MAIN_LPT, IDC_MAIN_COM, IDC_MAIN_CONNECT, IDC_MAIN_DIAGNOSE}) control(id).enable(!connected);
    for (int id : kSerialLists) control(id).enable(!connected);
    for (int id : kInterfaceRadios) control(id).enable(!connected);
    control(IDC_MAIN_DISCONNECT).enable(connected);

    for (int id : {IDC_MAIN_LPT, IDC_MAIN_COM, IDC_MAIN_IP, IDC_MAIN_TCPPORT, IDC_MAIN_FIND}) control(id).enable(false);
    for (int id : kSerialLists) control(id).enable(false);
    if (!connected) {
        switch (interfaceIndex) {
            case 0:
                control(IDC_MAIN_COM).enable();
                for (int id : kSerialLists) control(id).enable();
                break;
            case 1: control(IDC_MAIN_LPT).enable(); break;
            case 3:
                control(IDC_MAIN_IP).enable();
                control(IDC_MAIN_TCPPORT).enable();
                control(IDC_MAIN_FIND).enable();
                break;
            case 4: control(IDC_MAIN_COM).enable(); break;
            default: break;
        }
    }
    if (MenuView* v = view(app::MenuMode == 0 ? 0 : 1)) v->EnableButtons(connected);
}

std::string CVelmoraDlg::chosenPortName() {
    switch (interfaceIndex) {
        case 1: return control(IDC_MAIN_LPT).itemText(lptIndex);
        case 2: return "USB";
        case 3: return "ETHERNET";
        default: return control(IDC_MAIN_COM).itemText(comIndex);  // serial and Bluetooth
    }
}

void CVelmoraDlg::applySerialSettings() {
    link::CComm& comm = ctx_.comm;
    comm.baudRate = baudFromIndex(baudIndex);
    comm.dataBits = dataBitsIndex == 0 ? 7 : 8;
    comm.parity = (parityIndex == 1 || parityIndex == 2) ? parityIndex : 0;
    comm.stopBits = (stopBitsIndex == 1 || stopBitsIndex == 2) ? stopBitsIndex : 0;
}

void CVelmoraDlg::OnConnect() {
    UpdateData(true);  // on a bad port number the message shows and the previous number stays
    const auto ip = formatAddress(address);
    if (interfaceIndex == 3 && !ip) {
        app::ShowMessage(host(), msg::kBadAddress);
        return;
    }
    ui::WaitCursor wait(host());
    link::CComm& comm = ctx_.comm;
    portName = chosenPortName();
    // What the program waits for shows while it waits (the waits repaint the window).
    control(IDC_MAIN_STATUSLINE).setText(FilledString(msg::kLineConnecting, {linkTarget(false)}));
    const bool usesQueues = interfaceIndex == 0 || interfaceIndex == 1 || interfaceIndex == 4;
    if (usesQueues) SwitchQueuesToFile(portName);
    comm.portName = portName;
    if (interfaceIndex == 3) comm.socket.SetTarget(*ip, static_cast<unsigned>(tcpPort));
    if (interfaceIndex == 0 || interfaceIndex == 4) applySerialSettings();

    if (!comm.Open()) {
        // A failed connect gives back what it took: the port and the paused queues.
        comm.Close();
        if (usesQueues) RestoreQueuePorts();
        // A device the system refused the user: say what would let them in.
        control(IDC_MAIN_STATUSLINE).setText(openFailureLine());
        app::ShowMessage(host(), msg::kCannotOpenPort);
        return;
    }
    if (interfaceIndex == 2) comm.Close();  // USB links stay closed between transfers

    if (app::Handshake(comm, ctx_.clock)) {
        control(IDC_MAIN_STATUSLINE).setText(FilledString(msg::kLineConnected, {linkTarget(true)}));
        app::ShowMessage(host(), msg::kPortOpened);
        UpdateConnectionState(true);
        return;
    }
    if (interfaceIndex == 3) {
        comm.CloseTcp();
    } else if (usesQueues) {
        comm.Close();
        RestoreQueuePorts();
    }
    control(IDC_MAIN_STATUSLINE).setText(resources::LoadString(msg::kLineNoAnswer));
    app::ShowMessage(host(), msg::kCannotOpenPort);
}

void CVelmoraDlg::OnDiagnose() {
    UpdateData(true);
    const auto ip = formatAddress(address);
    if (interfaceIndex == 3 && !ip) {
        app::ShowMessage(host(), msg::kBadAddress);
        return;
    }
    // The port object is idle while disconnected; it only carries the panel's choice here.
    link::CComm& comm = ctx_.comm;
    comm.portName = chosenPortName();
    if (interfaceIndex == 3) comm.socket.SetTarget(*ip, static_cast<unsigned>(tcpPort));
    if (interfaceIndex == 0 || interfaceIndex == 4) applySerialSettings();
    doctor::CDiagnoseDlg report(ctx_, doctor::doctorTargetOf(comm), spooler_);
    report.DoModal();
}

void CVelmoraDlg::OnFind() {
    UpdateData(true);
    fleet::CFindPrintersDlg find(ctx_, static_cast<unsigned>(tcpPort));
    if (find.DoModal() != ui::IDOK) return;
    address = find.chosenHost;
    tcpPort = static_cast<int>(find.chosenPort);
    UpdateData(false);
}

std::string CVelmoraDlg::linkTarget(bool withKind) const {
    const link::CComm& comm = ctx_.comm;
    std::string kind;
    std::string target;
    switch (interfaceIndex) {
        case 2:
            kind = "USB";
            target = "printer";  // the search finds it; its path is an interface name, not for people
            break;
        case 3:
            kind = "Ethernet";
            target = formatAddress(address).value_or(address) + ":" + std::to_string(tcpPort);
            break;
        default:
            kind = interfaceIndex == 1 ? "Parallel" : interfaceIndex == 4 ? "Bluetooth" : "Serial";
            target = portName + " " + comm.portMap.devicePath(portName);
            break;
    }
    return withKind || interfaceIndex == 2 ? kind + " " + target : target;
}

std::string CVelmoraDlg::openFailureLine() const {
    const link::CComm::OpenFailure& failure = ctx_.comm.openFailure();
    if (interfaceIndex == 3) {
        // No connection came about: silence is no answer; a refusal or no route says so.
        if (failure.error == 0 || failure.error == ETIMEDOUT) return resources::LoadString(msg::kLineNoAnswer);
        return FilledString(msg::kLineCannotOpenBecause, {failure.device, std::generic_category().message(failure.error)});
    }
    if (failure.device.empty()) return FilledString(msg::kLineCannotOpen, {linkTarget(false)});
    std::string advice = platform::deviceAccessAdvice(
        failure.device, failure.error,
        ctx_.comm.traits().deviceUse);
    if (advice.empty()) {
        const std::string cause =
            failure.error ? std::generic_category().message(failure.error) : std::string("no such device");
        return FilledString(msg::kLineCannotOpenBecause, {failure.device, cause});
    }
    // The advice names the device itself; after "Permission denied on <device>: " its remedy is enough.
    if (const std::size_t at = advice.find(failure.device + ": "); at != std::string::npos)
        advice.erase(0, at + failure.device.size() + 2);
    return FilledString(msg::kLinePermission, {failure.device, advice});
}

void CVelmoraDlg::OnDisconnect() {
    link::CComm& comm = ctx_.comm;
    comm.CloseTcp();
    if (comm.traits().hasPrintQueues) {
        comm.Close();
        RestoreQueuePorts();
    }
    UpdateConnectionState(false);
    control(IDC_MAIN_STATUSLINE).setText(resources::LoadString(msg::kLineDisconnected));
}

void CVelmoraDlg::OnExit() {
    link::CComm& comm = ctx_.comm;
    if (comm.traits().hasPrintQueues) {
        comm.Close();
        RestoreQueuePorts();
    }
    OnOK();  // reads the controls first and stays open when that fails
}

bool CVelmoraDlg::setQueuePort(const std::string& printerName, const std::string& port, bool& changeFlag) {
    auto handle = spooler_.open(printerName);
    if (!handle) return false;
    std::size_t size = 0;
    if (spooler_.querySize(*handle, size) == platform::PrintSpooler::SizeResult::Failed) changeFlag = false;
    bool done = false;
    if (changeFlag) {
        if (auto info = spooler_.read(*handle)) {
            info->portName = port;
            done = spooler_.write(*handle, *info);
        } else {
            changeFlag = false;
        }
    }
    spooler_.close(*handle);
    return done;
}

void CVelmoraDlg::SwitchQueuesToFile(const std::string& chosenPort) {
    bool changeFlag = true;
    const std::string device = ctx_.comm.portMap.devicePath(chosenPort);
    for (const auto& queue : spooler_.enumerate()) {
        if (!spooler_.attachedTo(queue, chosenPort, device)) continue;
        queueMap[queue.printerName] = queue.portName;
        setQueuePort(queue.printerName, platform::kFilePort, changeFlag);
    }
}

void CVelmoraDlg::RestoreQueuePorts() {
    if (queueMap.empty()) return;
    bool changeFlag = true;
    for (const auto& [printer, former] : queueMap) setQueuePort(printer, former, changeFlag);
    queueMap.clear();
}

namespace {
// The main window is no tool, but it is drawn with the rest: idle and connected, in both modes.
// Its pictures never pause the machine's own print queues.
const bool registered = app::registerDialog({
    "main",
    [](app::ToolContext& ctx) { return std::make_unique<CVelmoraDlg>(ctx, platform::spoolerWithoutQueues()); },
    {{"connected", [](ui::Dialog& d) { d.click(IDC_MAIN_CONNECT); }}},
    {0, 1},
});
}  // namespace

}  // namespace velmora::shell
