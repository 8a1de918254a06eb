// velmora: the window program. Until the main window exists it opens one tool dialog by name
// against the printer given on the command line, or against an in-process simulator.
#include <QApplication>

#include <iostream>

#include "app/dialogcatalog.h"
#include "app/handshake.h"
#include "app/toolcontext.h"
#include "cli/cli.h"
#include "gui/qthost.h"
#include "platform/clock.h"
#include "platform/device.h"
#include "sim/printer.h"
#include "sim/server.h"

using namespace velmora;

namespace {

const char* kUsage =
    "Usage: velmora [--simulate] [--dialog NAME] [CONNECTION] [--codepage NAME] [--timeout MS]\n"
    "  --simulate       use a printer simulator inside the program\n"
    "  --dialog NAME    the tool to open (default: status)\n"
    "  CONNECTION       as for velmora-cli: --tcp HOST[:PORT], --serial DEVICE ..., --lpt DEVICE, --usb\n";

}  // namespace

int main(int argc, char** argv) {
    QApplication qapp(argc, argv);
    QApplication::setApplicationName("Velmora");

    bool simulate = false;
    std::string dialogName = "status";
    std::vector<std::string> linkArgs;
    const QStringList args = QApplication::arguments();
    for (int i = 1; i < args.size(); ++i) {
        const std::string a = args[i].toStdString();
        if (a == "--simulate") {
            simulate = true;
        } else if (a == "--dialog" && i + 1 < args.size()) {
            dialogName = args[++i].toStdString();
        } else if (a == "--help" || a == "-h") {
            std::cout << kUsage;
            return 0;
        } else {
            linkArgs.push_back(a);
        }
    }
    const app::DialogEntry* entry = app::findDialog(dialogName);
    if (!entry) {
        std::cerr << "velmora: no dialog named " << dialogName << "\n" << kUsage;
        return 2;
    }

    sim::Printer simPrinter;
    sim::Server simServer(simPrinter);
    if (simulate) {
        const unsigned port = simServer.startTcp(0);
        if (!port) {
            std::cerr << "velmora: the simulator did not start: " << simServer.error() << '\n';
            return 1;
        }
        linkArgs.insert(linkArgs.begin(), {"--tcp", "127.0.0.1:" + std::to_string(port)});
    }
    linkArgs.push_back("connect");
    std::string error;
    const auto options = cli::parseCliOptions(linkArgs, error);
    if (!options) {
        std::cerr << "velmora: " << error << '\n' << kUsage;
        return 2;
    }

    gui::QtHost host;
    gui::installPaintingWaitHook();
    app::HostLinkMessages messages(host);
    platform::Clock& clock = platform::realClock();
    link::CComm comm(platform::systemDevices(), clock, messages);
    cli::configureLink(comm, *options);
    if (!app::OpenAndHandshake(comm, clock)) {
        app::ShowMessage(host, app::kMsgCannotOpenPort);
        return 1;
    }

    app::ToolContext ctx{comm, clock, host};
    auto dialog = entry->make(ctx);
    dialog->DoModal();
    comm.Close();
    comm.CloseTcp();
    return 0;
}
