// The window program: it starts the application (menu mode, model catalog), then runs the main
// window; with --dialog it opens one tool against the printer named on the command line.
#include "gui/windowprogram.h"

#include <QApplication>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QTimer>

#include <iostream>
#include <string_view>

#include "app/dialogcatalog.h"
#include "app/handshake.h"
#include "app/toolcontext.h"
#include "app/versionrecord.h"
#include "frontend/connection.h"
#include "frontend/tracefile.h"
#include "frontend/version.h"
#include "gui/qthost.h"
#include "gui/tracewindow.h"
#include "link/sessiontrace.h"
#include "platform/clock.h"
#include "platform/device.h"
#include "platform/monotonic.h"
#include "platform/process.h"
#include "platform/spooler.h"
#include "profile/profilepages.h"
#include "resources/messages.h"
#include "resources/templates_main.h"
#include "shell/velmoraapp.h"
#include "shell/velmoradlg.h"
#include "sim/printer.h"
#include "sim/server.h"

namespace velmora::gui {

namespace {

const char* kUsage =
    "Usage: velmora [--menu-mode 0|1] [--simulate] [--trace FILE] [--dialog NAME [CONNECTION]]\n"
    "  --menu-mode 0|1  native (0) or ZII (1, the default) menus\n"
    "  --simulate       a printer simulator inside the program: the panel is set to reach it\n"
    "  --dialog NAME    open one tool instead of the main window (e.g. status), connected first\n"
    "  CONNECTION       for --dialog, as for velmora-cli: --tcp HOST[:PORT], --serial DEVICE ..., --lpt DEVICE, --usb\n"
    "  --trace FILE     write the session trace to FILE at the end (Ctrl+T shows it live)\n"
    "  --trace-format text|jsonl  the trace as text (default) or JSON lines\n"
    "  --help, --version  this text, the version\n";

// The window icon: a label with a bar code on it.
QIcon appIcon() {
    QPixmap pixmap(64, 64);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(0x80, 0x80, 0xEC));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(2, 8, 60, 48, 8, 8);
    p.setBrush(Qt::white);
    p.drawRect(10, 16, 44, 32);
    p.setBrush(Qt::black);
    const int bars[] = {2, 1, 3, 1, 1, 2, 3, 1, 2, 1, 1, 3};
    int x = 13;
    for (int i = 0; i < 12 && x < 52; ++i) {
        if (i % 2 == 0) p.drawRect(x, 20, bars[i], 24);
        x += bars[i] + 1;
    }
    return QIcon(pixmap);
}

// One tool against the printer of the command line, connected first.
int runTool(const app::DialogEntry& entry, std::vector<std::string> linkArgs, gui::QtHost& host,
            platform::Clock& clock, link::SessionTrace& trace) {
    std::string error;
    const auto options = frontend::parseConnection(linkArgs, error);
    if (!options) {
        std::cerr << "velmora: " << error << '\n' << kUsage;
        return 2;
    }
    app::HostLinkMessages messages(host);
    link::CComm comm(platform::systemDevices(), clock, messages);
    comm.observer = &trace;
    comm.portMap = platform::PortMap::fromSettings();
    if (!comm.portMap.note().empty()) std::cerr << "velmora: " << comm.portMap.note() << '\n';
    frontend::configureLink(comm, *options);
    // The connection doctor examines the link itself, most of all one where no printer answers.
    const bool examinesTheLink = entry.name == "diagnose";
    if (!examinesTheLink && !app::OpenAndHandshake(comm, clock)) {
        app::ShowMessage(host, msg::kCannotOpenPort);
        return 1;
    }
    app::ToolContext ctx{comm, clock, host};
    auto dialog = entry.make(ctx);
    dialog->DoModal();
    comm.Close();
    comm.CloseTcp();
    return 0;
}

}  // namespace

int runWindowProgram(int argc, char** argv) {
    // Answered before QApplication exists, which needs a display.
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            return 0;
        }
        if (arg == "--version") {
            std::cout << frontend::versionText("velmora");
            return 0;
        }
    }
    QApplication qapp(argc, argv);
    QApplication::setApplicationName("Velmora");
    QApplication::setWindowIcon(appIcon());

    std::vector<std::string> args;
    for (const QString& a : QApplication::arguments().mid(1)) args.push_back(a.toStdString());

    shell::CVelmoraApp velmoraApp;
    std::string error;
    const int status = velmoraApp.Run(
        args,
        [&]() -> int {
            bool simulate = false;
            std::string dialogName;
            std::string traceFile;
            bool traceJsonl = false;
            std::vector<std::string> linkArgs;
            for (std::size_t i = 0; i < args.size(); ++i) {
                if (args[i] == "--trace" && i + 1 < args.size()) {
                    traceFile = args[++i];
                } else if (args[i] == "--trace-format" && i + 1 < args.size() &&
                           (args[i + 1] == "text" || args[i + 1] == "jsonl")) {
                    traceJsonl = args[++i] == "jsonl";
                } else if (args[i] == "--simulate") {
                    simulate = true;
                } else if (args[i] == "--dialog" && i + 1 < args.size()) {
                    dialogName = args[++i];
                } else {
                    linkArgs.push_back(args[i]);
                }
            }

            sim::Printer simPrinter;
            sim::Server simServer(simPrinter);
            unsigned simPort = 0;
            if (simulate && !(simPort = simServer.startTcp(0))) {
                std::cerr << "velmora: the simulator did not start: " << simServer.error() << '\n';
                return 1;
            }

            gui::QtHost host;
            gui::installPaintingWaitHook();
            // The session trace: always recorded (bounded), shown by Ctrl+T, written by --trace.
            link::SessionTrace trace(platform::monotonicMicros);
            link::TracingClock clock(platform::realClock(), trace);
            host.messageWatcher = [&trace](const std::string& text) { trace.recordMessage(text); };
            gui::installTraceShortcut(trace);
            profile::installProfileService();
            struct TraceOnExit {
                link::SessionTrace& trace;
                const std::string& file;
                bool jsonl;
                ~TraceOnExit() {
                    if (!file.empty()) frontend::writeTrace(trace, file, jsonl, std::cerr, "velmora");
                }
            } traceOnExit{trace, traceFile, traceJsonl};
            if (!dialogName.empty()) {
                const app::DialogEntry* entry = app::findDialog(dialogName);
                if (!entry) {
                    std::cerr << "velmora: no dialog named " << dialogName << '\n' << kUsage;
                    return 2;
                }
                if (simulate) linkArgs.insert(linkArgs.begin(), {"--tcp", "127.0.0.1:" + std::to_string(simPort)});
                return runTool(*entry, linkArgs, host, clock, trace);
            }
            if (!linkArgs.empty()) {
                std::cerr << "velmora: unexpected " << linkArgs.front() << '\n' << kUsage;
                return 2;
            }

            app::HostLinkMessages messages(host);
            link::CComm comm(platform::systemDevices(), clock, messages);
            comm.observer = &trace;
            comm.portMap = platform::PortMap::fromSettings();  // the [Ports] the panel's lists show
            if (!comm.portMap.note().empty()) std::cerr << "velmora: " << comm.portMap.note() << '\n';
            app::ToolContext ctx{comm, clock, host};
            shell::CVelmoraDlg dlg(ctx, platform::systemSpooler());
            if (simulate) {
                // Ethernet to the simulator, so that Connect just works.
                dlg.interfaceIndex = 3;
                dlg.address = "127.0.0.1";
                dlg.tcpPort = static_cast<int>(simPort);
            }
            dlg.AddMenuViews();
            if (std::getenv("VELMORA_BENCH")) {
                // Measured start-up: say when the window is up, connect, report memory, leave.
                host.setUnattended(true);
                QTimer::singleShot(0, [&dlg] {
                    std::cout << "velmora: window shown" << std::endl;
                    dlg.click(resources::IDC_MAIN_CONNECT);
                    std::cout << "velmora: connected=" << dlg.connected()
                              << " resident-kib=" << platform::residentMemoryKiB() << std::endl;
                    dlg.EndDialog(ui::IDOK);
                });
            }
            dlg.DoModal();
            return 0;
        },
        error);
    if (!error.empty()) std::cerr << "velmora: " << error << '\n' << kUsage;
    return status;
}

}  // namespace velmora::gui
