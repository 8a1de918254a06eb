// The main window: enable rules of the panel, connect and disconnect against the simulator and
// scripted links, print-queue switching and restoring, and the menu views it hosts.
#include <gtest/gtest.h>

#include <cerrno>

#include "app/menumode.h"
#include "link/messages.h"
#include "resources/templates_fleet.h"
#include "resources/templates_main.h"
#include "shell/velmoradlg.h"
#include "support/fakespooler.h"
#include "support/linkfixture.h"
#include "support/processes.h"
#include "support/simdevice.h"
#include "ui/testhost.h"

namespace velmora::testing {
namespace {

using namespace resources;
using shell::CVelmoraDlg;

constexpr int kZiiConfigure = 1008;  // "Configure Printer Setting" on the ZII view

const char* kSuccess = "Success open port.";
const char* kCannotOpen = "Cannot open port! Please check printer and cable.";

// The main window over any port object.
struct MainWindow {
    MainWindow(link::CComm& comm, platform::Clock& clock)
        : ctx{comm, clock, host}, owned(std::make_unique<CVelmoraDlg>(ctx, spooler)), dlg(*owned) {
        app::MenuMode = 1;
        comm.setMessages(linkMessages);
        dlg.Create();
    }
    std::vector<std::string> enabledPanel() {
        std::vector<std::string> out;
        const std::pair<int, const char*> panel[] = {
            {IDC_MAIN_COM, "com"},          {IDC_MAIN_BAUD, "baud"},         {IDC_MAIN_DATABITS, "data"},
            {IDC_MAIN_PARITY, "parity"},    {IDC_MAIN_STOPBITS, "stop"},     {IDC_MAIN_LPT, "lpt"},
            {IDC_MAIN_IP, "ip"},            {IDC_MAIN_TCPPORT, "port"},      {IDC_MAIN_FIND, "find"},
            {IDC_MAIN_CONNECT, "connect"},
            {IDC_MAIN_DISCONNECT, "disconnect"}, {IDC_MAIN_SERIAL, "radios"},
        };
        for (auto [id, name] : panel)
            if (dlg.control(id).enabled()) out.push_back(name);
        return out;
    }
    bool viewButtonsEnabled() { return dlg.view(1)->control(kZiiConfigure).enabled(); }

    ui::TestHost host;
    app::HostLinkMessages linkMessages{host};
    FakeSpooler spooler;
    app::ToolContext ctx;
    std::unique_ptr<CVelmoraDlg> owned;
    CVelmoraDlg& dlg;
};

TEST(MainWindowPanel, EachInterfaceEnablesItsOwnSettings) {
    SimLink link;
    MainWindow w(link.comm, link.clock);
    using V = std::vector<std::string>;
    const std::pair<int, V> cases[] = {
        {IDC_MAIN_SERIAL, V{"com", "baud", "data", "parity", "stop", "connect", "radios"}},
        {IDC_MAIN_PARALLEL, V{"lpt", "connect", "radios"}},
        {IDC_MAIN_USB, V{"connect", "radios"}},
        {IDC_MAIN_ETHERNET, V{"ip", "port", "find", "connect", "radios"}},
    };
    for (const auto& [radio, enabled] : cases) {
        w.dlg.click(radio);
        EXPECT_EQ(w.enabledPanel(), enabled) << radio;
    }
    EXPECT_FALSE(w.dlg.control(IDC_MAIN_BLUETOOTH).visible());
    EXPECT_EQ(w.dlg.control(IDC_MAIN_IP).text(), CVelmoraDlg::kDefaultAddress);
    EXPECT_EQ(w.dlg.control(IDC_MAIN_TCPPORT).text(), "9100");
    EXPECT_EQ(w.dlg.control(IDC_MAIN_BAUD).text(), "115200");
    EXPECT_FALSE(w.viewButtonsEnabled());
}

TEST(MainWindowConnect, SuccessEnablesTheMenuAndDisconnectGoesBackToIdle) {
    SimLink link;
    MainWindow w(link.comm, link.clock);
    w.dlg.click(IDC_MAIN_CONNECT);
    EXPECT_EQ(w.host.messageTexts(), std::vector<std::string>{kSuccess});
    EXPECT_EQ(w.enabledPanel(), std::vector<std::string>{"disconnect"});
    EXPECT_TRUE(w.viewButtonsEnabled());
    EXPECT_EQ(w.host.waitCursorDepth, 0);
    EXPECT_EQ(link.printer.journal().tail(), "^cp\r");

    w.dlg.click(IDC_MAIN_DISCONNECT);
    EXPECT_FALSE(w.viewButtonsEnabled());
    EXPECT_EQ(w.enabledPanel(), (std::vector<std::string>{"com", "baud", "data", "parity", "stop", "connect", "radios"}));
}

TEST(MainWindowConnect, ShortOrNoAnswerIsNoPrinter) {
    for (bool silent : {false, true}) {
        SimLink link;
        link.printer.setShortReplies(!silent);
        link.printer.setSilent(silent);
        MainWindow w(link.comm, link.clock);
        w.spooler.add("Labels", "COM1:");
        w.dlg.click(IDC_MAIN_CONNECT);
        EXPECT_EQ(w.host.messageTexts(), std::vector<std::string>{kCannotOpen});
        EXPECT_FALSE(w.viewButtonsEnabled());
        EXPECT_TRUE(w.dlg.control(IDC_MAIN_CONNECT).enabled());
        EXPECT_EQ(link.comm.handle(), nullptr);
        EXPECT_EQ(w.spooler.portOf("Labels"), "COM1:");  // restored after the failed handshake
        EXPECT_TRUE(w.dlg.queueMap.empty());
    }
}

// The bottom line says what the window waits for while it waits, then what came of it.
TEST(MainWindowStatusLine, SaysWhatItWaitsForAndWhatCameOfIt) {
    enum Printer { Answers, Silent, Refuses, NoRoute, Unanswered };
    const struct {
        int radio;
        Printer printer;
        std::string during;
        std::string after;
    } cases[] = {
        {IDC_MAIN_ETHERNET, Answers, "Connecting to 127.0.0.1:9100…", "Connected (Ethernet 127.0.0.1:9100)"},
        {IDC_MAIN_ETHERNET, Silent, "Connecting to 127.0.0.1:9100…", "No answer from the printer"},
        // A connect that failed says why: refused or no route as the system says it, silence as no answer.
        {IDC_MAIN_ETHERNET, Refuses, "Connecting to 127.0.0.1:9100…", "Cannot open 127.0.0.1:9100: Connection refused"},
        {IDC_MAIN_ETHERNET, NoRoute, "Connecting to 127.0.0.1:9100…", "Cannot open 127.0.0.1:9100: No route to host"},
        {IDC_MAIN_ETHERNET, Unanswered, "Connecting to 127.0.0.1:9100…", "No answer from the printer"},
        {IDC_MAIN_SERIAL, Answers, "Connecting to COM1: /dev/ttyS0…", "Connected (Serial COM1: /dev/ttyS0)"},
        {IDC_MAIN_SERIAL, Silent, "Connecting to COM1: /dev/ttyS0…", "No answer from the printer"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.after);
        ScriptedLink link;
        if (c.printer == Answers) link.script.readScript = {"OK"};
        link.factory.prepareSocket = [&c](ScriptedSocket& s) {
            if (c.printer == Answers) s.receiveScript = {"OK"};
            const std::pair<Printer, int> failures[] = {{Refuses, ECONNREFUSED}, {NoRoute, EHOSTUNREACH},
                                                         {Unanswered, ETIMEDOUT}};
            for (auto [printer, error] : failures)
                if (c.printer == printer) {
                    s.connectResult = platform::StreamSocket::ConnectResult::ConnectFailed;
                    s.connectErrno = error;
                }
        };
        MainWindow w(link.comm, link.clock);
        w.dlg.click(c.radio);
        w.dlg.typeText(IDC_MAIN_IP, "127.0.0.1");
        std::vector<std::string> seen;  // the line at each pause of the connect
        link.clock.onSleep = [&](unsigned) { seen.push_back(w.dlg.control(IDC_MAIN_STATUSLINE).text()); };
        w.host.onMessage = [&](const ui::RecordedMessage&) {
            seen.push_back(w.dlg.control(IDC_MAIN_STATUSLINE).text());
        };
        w.dlg.click(IDC_MAIN_CONNECT);
        ASSERT_GE(seen.size(), 2u);
        EXPECT_EQ(seen.front(), c.during);
        EXPECT_EQ(seen.back(), c.after);  // already there when the message box shows
        EXPECT_EQ(w.dlg.control(IDC_MAIN_STATUSLINE).text(), c.after);
        link.clock.onSleep = nullptr;
        if (w.dlg.connected()) {
            w.dlg.click(IDC_MAIN_DISCONNECT);
            EXPECT_EQ(w.dlg.control(IDC_MAIN_STATUSLINE).text(), "Disconnected");
        }
    }
}

TEST(MainWindowConnect, SerialSettingsReachThePortObject) {
    ScriptedLink link;
    link.script.readScript = {"OK"};
    MainWindow w(link.comm, link.clock);
    w.dlg.chooseItem(IDC_MAIN_COM, 9);
    w.dlg.chooseItem(IDC_MAIN_BAUD, 0);
    w.dlg.chooseItem(IDC_MAIN_DATABITS, 0);
    w.dlg.chooseItem(IDC_MAIN_PARITY, 2);
    w.dlg.chooseItem(IDC_MAIN_STOPBITS, 1);
    w.dlg.click(IDC_MAIN_CONNECT);
    EXPECT_EQ(link.comm.portName, "COM10:");
    EXPECT_EQ(link.script.openedPaths.back(), "/dev/ttyS9");
    ASSERT_TRUE(link.script.settings);
    EXPECT_EQ(link.script.settings->baudRate, 9600u);
    EXPECT_EQ(link.script.settings->dataBits, 7);
    EXPECT_EQ(link.script.settings->parity, 2);
    EXPECT_EQ(link.script.settings->stopBits, 1);
}

TEST(MainWindowConnect, BluetoothUsesTheComListAndTheLastSerialSettings) {
    ScriptedLink link;
    link.script.readScript = {"OK"};
    MainWindow w(link.comm, link.clock);
    w.dlg.chooseItem(IDC_MAIN_BAUD, 1);
    w.dlg.UpdateData(true);
    w.dlg.interfaceIndex = 4;  // its radio is never shown
    w.dlg.UpdateData(false);
    w.dlg.UpdateConnectionState(false);
    EXPECT_EQ(w.enabledPanel(), (std::vector<std::string>{"com", "connect", "radios"}));
    w.dlg.click(IDC_MAIN_CONNECT);
    EXPECT_EQ(link.comm.portName, "COM1:");
    EXPECT_EQ(link.script.settings->baudRate, 19200u);
}

TEST(MainWindowConnect, UsbHandshakeOpensTheDeviceForWriteAndReadAgain) {
    ScriptedLink link;
    link.script.readScript = {"OK"};
    MainWindow w(link.comm, link.clock);
    w.dlg.click(IDC_MAIN_USB);
    w.dlg.click(IDC_MAIN_CONNECT);
    EXPECT_EQ(w.host.messageTexts(), std::vector<std::string>{kSuccess});
    EXPECT_EQ(link.script.opens, 3);  // the connect's own open, then one per transfer
    EXPECT_EQ(link.script.closes, 3);
}

TEST(MainWindowConnect, EthernetReconnectsAfterDisconnectAndRefusalShowsBothMessages) {
    ScriptedLink link;
    link.factory.prepareSocket = [](ScriptedSocket& s) { s.receiveScript = {"OK"}; };
    MainWindow w(link.comm, link.clock);
    w.dlg.click(IDC_MAIN_ETHERNET);
    w.dlg.typeText(IDC_MAIN_TCPPORT, "9101");
    w.dlg.click(IDC_MAIN_CONNECT);
    EXPECT_EQ(link.script.openedPaths.back(), std::string(CVelmoraDlg::kDefaultAddress) + ":9101");
    w.dlg.click(IDC_MAIN_DISCONNECT);
    EXPECT_FALSE(link.comm.socket.connected);
    w.dlg.click(IDC_MAIN_CONNECT);
    EXPECT_EQ(link.factory.socketsMade, 2);
    EXPECT_EQ(w.host.messageTexts(), (std::vector<std::string>{kSuccess, kSuccess}));

    w.dlg.click(IDC_MAIN_DISCONNECT);
    w.host.clear();
    link.factory.prepareSocket = [](ScriptedSocket& s) {
        s.connectResult = platform::StreamSocket::ConnectResult::ConnectFailed;
    };
    w.dlg.click(IDC_MAIN_CONNECT);
    ASSERT_EQ(w.host.messageTexts().size(), 2u);
    EXPECT_EQ(w.host.messageTexts()[0].find("Error : Failed to connect."), 0u);
    EXPECT_EQ(w.host.messageTexts()[1], kCannotOpen);
}

// "Find..." asks before it searches, lists the printer that answers on a loopback network and
// gives the panel its address and port.
TEST(MainWindowFind, AsksThenFillsThePanelWithThePrinterChosen) {
    SimProcess sim({"--listen", "127.0.0.2", "--model", "LX-FIND"});
    ASSERT_FALSE(sim.address.empty());
    const std::string port = sim.address.substr(sim.address.rfind(':') + 1);
    platform::RealClock clock;
    link::SilentMessages silent;
    link::CComm comm(platform::systemDevices(), clock, silent);
    MainWindow w(comm, clock);
    w.dlg.click(IDC_MAIN_ETHERNET);
    w.dlg.typeText(IDC_MAIN_TCPPORT, port);

    std::vector<std::string> listed;
    std::string proposedPort;
    w.host.messageAnswers = {ui::IDNO, ui::IDYES};
    w.host.modalScripts.push_back([&](ui::Dialog& d) {
        proposedPort = d.control(IDC_FIND_PORT).text();
        EXPECT_FALSE(d.control(ui::IDOK).enabled());
        d.typeText(IDC_FIND_SUBNET, "127.0.0.0/29");
        d.click(IDC_FIND_SEARCH);  // answered No: nothing searched
        EXPECT_EQ(d.control(IDC_FIND_LIST).count(), 0);
        d.click(IDC_FIND_SEARCH);
        listed = d.control(IDC_FIND_LIST).items();
        d.click(ui::IDOK);
        return ui::IDCANCEL;  // ended by Use already
    });
    w.dlg.click(IDC_MAIN_FIND);
    EXPECT_EQ(proposedPort, port);
    ASSERT_EQ(w.host.messageTexts().size(), 2u);
    EXPECT_EQ(w.host.messageTexts()[0], "Search the 6 addresses of 127.0.0.0/29 for printers on port " + port +
                                            "? Printers of other makes may print what they receive on that port.");
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0], "127.0.0.2:" + port + "   LX-FIND   V1.00");
    EXPECT_EQ(w.dlg.control(IDC_MAIN_IP).text(), "127.0.0.2");
    EXPECT_EQ(w.dlg.control(IDC_MAIN_TCPPORT).text(), port);

    // A network wider than a search takes is refused with why, before anything is asked.
    w.host.clear();
    w.host.modalScripts.push_back([&](ui::Dialog& d) {
        d.typeText(IDC_FIND_SUBNET, "127.0.0.0/16");
        d.click(IDC_FIND_SEARCH);
        return ui::IDCANCEL;
    });
    w.dlg.click(IDC_MAIN_FIND);
    ASSERT_EQ(w.host.messageTexts().size(), 1u);
    EXPECT_NE(w.host.messageTexts()[0].find("is too wide"), std::string::npos);
    EXPECT_EQ(w.dlg.control(IDC_MAIN_IP).text(), "127.0.0.2");
}

TEST(MainWindowQueues, OnlyQueuesOnTheChosenPortAreSwitchedAndRestored) {
    ScriptedLink link;
    link.script.readScript = {"OK"};
    MainWindow w(link.comm, link.clock);
    w.spooler.add("A", "COM1:");
    w.spooler.add("B", "COM10:");
    w.spooler.add("C", "COM2:,COM10:");
    w.dlg.chooseItem(IDC_MAIN_COM, 9);
    w.dlg.click(IDC_MAIN_CONNECT);
    EXPECT_EQ(w.spooler.portOf("A"), "COM1:");
    EXPECT_EQ(w.spooler.portOf("B"), "FILE:");
    EXPECT_EQ(w.spooler.portOf("C"), "FILE:");
    w.dlg.click(IDC_MAIN_DISCONNECT);
    EXPECT_EQ(w.spooler.portOf("B"), "COM10:");
    EXPECT_EQ(w.spooler.portOf("C"), "COM2:,COM10:");
    EXPECT_EQ(w.spooler.opens, w.spooler.closes);
}

// A failed connect gives the queues and the port back at once, whichever way the open failed.
TEST(MainWindowQueues, FailedOpenReleasesThePortAndTheQueues) {
    for (const bool notReady : {false, true}) {
        ScriptedLink link;
        link.script.openFails = !notReady;
        if (notReady) link.script.lines = {true, false, true};  // CTS low: the device opened
        MainWindow w(link.comm, link.clock);
        w.spooler.add("A", "COM1:");
        w.dlg.click(IDC_MAIN_CONNECT);
        EXPECT_EQ(w.host.messageTexts(), std::vector<std::string>{kCannotOpen});
        EXPECT_TRUE(w.dlg.queueMap.empty());
        EXPECT_EQ(w.spooler.portOf("A"), "COM1:");
        EXPECT_EQ(link.comm.handle(), nullptr);
        EXPECT_EQ(link.script.closes, link.script.opens);
    }
}

TEST(MainWindowQueues, AFailedSizeQueryStopsLaterSwitchingButNotRecording) {
    ScriptedLink link;
    link.script.readScript = {"OK"};
    MainWindow w(link.comm, link.clock);
    w.spooler.add("A", "COM1:");
    w.spooler.add("B", "COM1:");
    w.spooler.add("C", "COM1:");
    w.spooler.sizeFails = {"B"};
    w.spooler.cannotOpen = {"A"};
    w.dlg.click(IDC_MAIN_CONNECT);
    EXPECT_EQ(w.dlg.queueMap.size(), 3u);
    EXPECT_TRUE(w.spooler.writes.empty());
}

TEST(MainWindowQueues, EscapeStillGivesTheQueuesBack) {
    ScriptedLink link;
    link.script.readScript = {"OK"};
    MainWindow w(link.comm, link.clock);
    w.spooler.add("A", "COM1:");
    w.dlg.click(IDC_MAIN_CONNECT);
    w.dlg.click(ui::IDCANCEL);
    EXPECT_TRUE(w.dlg.ended());
    EXPECT_EQ(w.spooler.portOf("A"), "FILE:");
    w.owned.reset();  // the window goes away
    EXPECT_EQ(w.spooler.portOf("A"), "COM1:");
}

TEST(MainWindowPortEdit, EmptyPortKeepsExitOpenAndRadiosComplain) {
    SimLink link;
    MainWindow w(link.comm, link.clock);
    w.dlg.click(IDC_MAIN_ETHERNET);
    w.dlg.typeText(IDC_MAIN_TCPPORT, "");
    w.host.clear();
    w.dlg.click(IDC_MAIN_EXIT);
    EXPECT_FALSE(w.dlg.ended());
    w.dlg.click(IDC_MAIN_USB);
    EXPECT_EQ(w.host.messageTexts(), (std::vector<std::string>{"Enter an integer.", "Enter an integer."}));
    w.dlg.typeText(IDC_MAIN_TCPPORT, "12a");  // the number-only edit refuses letters
    EXPECT_EQ(w.dlg.control(IDC_MAIN_TCPPORT).text(), "");
}

TEST(MainWindowAddress, TextBecomesFourBytesAndAPartAbove255IsRefused) {
    const std::pair<const char*, const char*> cases[] = {
        {"192.168.1.100", "192.168.1.100"}, {"10.0..7", "10.0.0.7"}, {"", "0.0.0.0"},
        {"1.2.3.4.5", "1.2.3.4"},           {"255.255.255.255", "255.255.255.255"},
        {"999.1.2.3", nullptr},             {"300.1.2.3", nullptr},   {"1.2.3.256", nullptr},
    };
    for (auto [text, address] : cases)
        EXPECT_EQ(shell::formatAddress(text), address ? std::optional<std::string>(address) : std::nullopt) << text;

    // The window says so and does not connect anywhere.
    ScriptedLink link;
    MainWindow w(link.comm, link.clock);
    w.dlg.click(IDC_MAIN_ETHERNET);
    w.dlg.typeText(IDC_MAIN_IP, "300.1.2.3");
    w.dlg.click(IDC_MAIN_CONNECT);
    EXPECT_EQ(w.host.messageTexts(),
              std::vector<std::string>{"Each part of the IP address must be a number from 0 to 255."});
    EXPECT_EQ(link.factory.socketsMade, 0);
    EXPECT_FALSE(w.dlg.connected());
}

TEST(MainWindowViews, TheViewOfTheMenuModeIsShownWithItsTitle) {
    SimLink link;
    MainWindow w(link.comm, link.clock);
    EXPECT_TRUE(w.dlg.view(1)->visible());
    EXPECT_FALSE(w.dlg.view(0)->visible());
    EXPECT_EQ(w.dlg.caption(), "Velmora-II (Version 1.0.0)");
    EXPECT_EQ(w.dlg.control(IDC_MAIN_BANNER).text(), "Velmora-II (Version 1.0.0)");
}

}  // namespace
}  // namespace velmora::testing
