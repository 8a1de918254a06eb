// The main window's share of the Linux integration: the device each COM and LPT entry maps to,
// the line about device permissions after a refused open, and queue matching by the mapped device.
#include <gtest/gtest.h>

#include <cerrno>

#include "app/menumode.h"
#include "resources/templates_main.h"
#include "shell/velmoradlg.h"
#include "support/fakespooler.h"
#include "support/linkfixture.h"
#include "ui/testhost.h"

namespace velmora::testing {
namespace {

using namespace resources;

const char* kCannotOpen = "Cannot open port! Please check printer and cable.";

// A spooler that says which port and device the window asked about.
class RecordingSpooler : public FakeSpooler {
public:
    bool attachedTo(const Queue& queue, const std::string& portName, const std::string& devicePath) override {
        asked.push_back(portName + " " + devicePath);
        return queue.portName.find(devicePath) != std::string::npos;
    }
    std::vector<std::string> asked;
};

struct Window {
    explicit Window(ScriptedLink& link) : ctx{link.comm, link.clock, host}, dlg(ctx, spooler) {
        app::MenuMode = 1;
        link.comm.setMessages(messages);
        dlg.Create();
    }
    ui::TestHost host;
    app::HostLinkMessages messages{host};
    RecordingSpooler spooler;
    app::ToolContext ctx;
    shell::CVelmoraDlg dlg;
};

TEST(MainWindowPortMap, EachEntryShowsItsDeviceAndAMissingOneFailsTheConnect) {
    ScriptedLink link;
    link.comm.portMap = {};
    link.comm.portMap.set("COM3", "/dev/ttyUSB0");
    link.comm.portMap.set("LPT2", "/dev/usb/lp1");
    Window w(link);
    const ui::Control& com = w.dlg.control(IDC_MAIN_COM);
    EXPECT_EQ(com.count(), 20);
    EXPECT_EQ(com.itemText(2), "COM3:");  // the texts stay
    EXPECT_EQ(com.itemTip(0), "/dev/ttyS0");
    EXPECT_EQ(com.itemTip(2), "/dev/ttyUSB0 (from [Ports] in velmora.ini)");
    EXPECT_EQ(com.itemTip(19), "/dev/ttyS19");
    const ui::Control& lpt = w.dlg.control(IDC_MAIN_LPT);
    EXPECT_EQ(lpt.itemTip(0), "/dev/lp0");
    EXPECT_EQ(lpt.itemTip(1), "/dev/usb/lp1 (from [Ports] in velmora.ini)");

    // The port object opens what the entry shows; a device that is not there fails as any open.
    link.script.refusedPaths = {{"/dev/ttyUSB0", ENOENT}};
    w.spooler.add("Labels", "serial:/dev/ttyUSB0?baud=9600");
    w.dlg.chooseItem(IDC_MAIN_COM, 2);
    w.dlg.click(IDC_MAIN_CONNECT);
    EXPECT_EQ(link.script.openedPaths, std::vector<std::string>{"/dev/ttyUSB0"});
    EXPECT_EQ(w.host.messageTexts(), std::vector<std::string>{kCannotOpen});
    EXPECT_EQ(w.dlg.control(IDC_MAIN_STATUSLINE).text(), "Cannot open /dev/ttyUSB0: No such file or directory");
    // Queues were matched against the mapped device, and the failed connect gave them back.
    EXPECT_EQ(w.spooler.asked, std::vector<std::string>{"COM3: /dev/ttyUSB0"});
    EXPECT_EQ(w.spooler.portOf("Labels"), "serial:/dev/ttyUSB0?baud=9600");
}

TEST(MainWindowUsb, ARefusedPrinterAddsTheLineAboutAccessUntilTheNextConnect) {
    ScriptedLink link;
    link.script.readScript = {"OK"};
    Window w(link);
    w.dlg.click(IDC_MAIN_USB);

    link.script.refusedPaths = {{"/dev/usb/lp0", EACCES}};
    w.dlg.click(IDC_MAIN_CONNECT);
    EXPECT_EQ(w.host.messageTexts(), std::vector<std::string>{kCannotOpen});
    const std::string line = w.dlg.control(IDC_MAIN_STATUSLINE).text();
    EXPECT_EQ(line.rfind("Permission denied on /dev/usb/lp0: join the group ", 0), 0u) << line;

    link.script.refusedPaths = {};
    w.dlg.click(IDC_MAIN_CONNECT);
    EXPECT_TRUE(w.dlg.connected());
    EXPECT_EQ(w.dlg.control(IDC_MAIN_STATUSLINE).text(), "Connected (USB printer)");
}

}  // namespace
}  // namespace velmora::testing
