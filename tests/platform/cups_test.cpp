// The CUPS print-spooler backend: which device URIs name a port's device, the bounded wait when
// no server answers, and, against a real cupsd of its own on loopback, the main window pausing
// the queues of the port it connects to and resuming exactly those on disconnect.
#include <gtest/gtest.h>

#include <cups/cups.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <thread>

#include "app/menumode.h"
#include "app/toolcontext.h"
#include "platform/cupsspooler.h"
#include "platform/server.h"
#include "resources/templates_main.h"
#include "shell/velmoradlg.h"
#include "sim/server.h"
#include "support/cupsd.h"
#include "support/linkfixture.h"
#include "ui/testhost.h"

extern char** environ;

namespace velmora::testing {
namespace {

namespace fs = std::filesystem;
using platform::CupsSpooler;
using platform::deviceUriNames;

TEST(CupsDeviceUri, NamesTheWholeDevicePathOnly) {
    char name[] = "/tmp/velmora-uri-XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    const fs::path dir = name;
    std::ofstream(dir / "ttyUSB0");
    fs::create_symlink(dir / "ttyUSB0", dir / "by-id-printer");
    const std::string real = (dir / "ttyUSB0").string();
    const std::string link = (dir / "by-id-printer").string();

    struct Case {
        std::string uri;
        std::string device;
        bool names;
    };
    const Case cases[] = {
        {"serial:/dev/ttyS0?baud=115200+bits=8", "/dev/ttyS0", true},
        {"serial:/dev/ttyS0", "/dev/ttyS0", true},
        {"serial:/dev/ttyS10?baud=9600", "/dev/ttyS1", false},
        {"serial:/dev/ttyS1", "/dev/ttyS10", false},
        {"parallel:/dev/lp0", "/dev/lp0", true},
        {"parallel:/dev/lp0", "/dev/lp", false},
        {"serial:/tmp/dev/ttyS0", "/dev/ttyS0", false},
        {"usb://Maker/Model?serial=1", "/dev/usb/lp0", false},
        {"serial:/dev/ttyS0", "", false},
        {"serial:" + real + "?baud=9600", link, true},  // the map names the link, the queue the device
        {"serial:" + link, real, true},
        {"serial://" + link + "?baud=9600", real, true},
        {"FILE:", "/dev/ttyS0", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.uri + " / " + c.device);
        EXPECT_EQ(deviceUriNames(c.uri, c.device), c.names);
    }
    fs::remove_all(dir);
}

TEST(CupsSpoolerWithoutServer, FindsNoQueuesWithinItsBound) {
    // Nobody listens: refused at once. A listener that never answers: the request's bound.
    platform::TcpListener silent;
    ASSERT_TRUE(silent.listen("127.0.0.1", 0)) << silent.error();
    platform::TcpListener closed;
    ASSERT_TRUE(closed.listen("127.0.0.1", 0));
    const unsigned closedPort = closed.port();
    closed.close();

    for (const unsigned port : {closedPort, silent.port()}) {
        CupsSpooler spooler("127.0.0.1:" + std::to_string(port), {300, 300});
        const auto start = std::chrono::steady_clock::now();
        EXPECT_TRUE(spooler.enumerate().empty());
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2000));
    }
    CupsSpooler refused("127.0.0.1:" + std::to_string(closedPort), {300, 300});
    EXPECT_EQ(refused.open("anything"), std::nullopt);
}

constexpr int kIdle = IPP_PSTATE_IDLE;
constexpr int kStopped = IPP_PSTATE_STOPPED;

TEST(CupsSpoolerAgainstCupsd, MainWindowPausesTheConnectedPortsQueuesUntilDisconnect) {
    if (Cupsd::program().empty()) GTEST_SKIP() << "cupsd is not installed (Debian package cups; scripts/install-deps)";

    sim::Printer printer;
    sim::Server simulator(printer);
    const std::string pty = simulator.startPty();
    ASSERT_FALSE(pty.empty()) << simulator.error();

    // A device that is no terminal: a serial open of it fails.
    char notTty[] = "/tmp/velmora-notatty-XXXXXX";
    const int fd = mkstemp(notTty);
    ASSERT_GE(fd, 0);
    close(fd);
    struct Remove {
        const char* path;
        ~Remove() { unlink(path); }
    } removeNotTty{notTty};

    Cupsd cupsd;
    std::string why;
    ASSERT_TRUE(cupsd.start(queue("label", "serial:" + pty + "?baud=115200+bits=8") +
                                queue("other", "serial:/dev/ttyS7?baud=9600") +
                                queue("held", "serial:" + pty, true) + queue("longer", "serial:" + pty + "0") +
                                queue("adapter", std::string("serial:") + notTty),
                            why))
        << why;

    CupsSpooler spooler(cupsd.server());
    const auto listed = spooler.enumerate();
    std::map<std::string, std::string> ports;
    for (const auto& q : listed) ports[q.printerName] = q.portName;
    EXPECT_EQ(ports, (std::map<std::string, std::string>{{"adapter", std::string("serial:") + notTty},
                                                         {"held", "FILE:"},
                                                         {"label", "serial:" + pty + "?baud=115200+bits=8"},
                                                         {"longer", "serial:" + pty + "0"},
                                                         {"other", "serial:/dev/ttyS7?baud=9600"}}));

    // The main window on a serial port over the pseudo-terminal: COM1 is mapped to it.
    app::MenuMode = 1;
    ui::TestHost host;
    app::HostLinkMessages messages(host);
    platform::RealClock clock;
    link::CComm comm(platform::systemDevices(), clock, messages);
    comm.portMap.set("COM1", pty);
    app::ToolContext ctx{comm, clock, host};
    {
        shell::CVelmoraDlg dlg(ctx, spooler);
        dlg.Create();
        dlg.click(resources::IDC_MAIN_CONNECT);
        ASSERT_EQ(host.messageTexts(), std::vector<std::string>{"Success open port."});
        EXPECT_EQ(dlg.queueMap, (std::map<std::string, std::string>{{"label", ports["label"]}}));
        EXPECT_EQ(cupsd.state("label"), kStopped);
        EXPECT_EQ(cupsd.state("other"), kIdle);
        EXPECT_EQ(cupsd.state("longer"), kIdle);
        EXPECT_EQ(cupsd.state("held"), kStopped);

        dlg.click(resources::IDC_MAIN_DISCONNECT);
        EXPECT_TRUE(dlg.queueMap.empty());
        EXPECT_EQ(cupsd.state("label"), kIdle);
        EXPECT_EQ(cupsd.state("held"), kStopped);  // the user's pause stays
        EXPECT_EQ(cupsd.state("other"), kIdle);

        // A connect whose open fails gives the queue it paused straight back, every time.
        comm.portMap.set("COM2", notTty);
        dlg.chooseItem(resources::IDC_MAIN_COM, 1);
        for (int attempt = 0; attempt < 2; ++attempt) {
            host.clear();
            dlg.click(resources::IDC_MAIN_CONNECT);
            EXPECT_EQ(host.messageTexts(), std::vector<std::string>{"Cannot open port! Please check printer and cable."});
            EXPECT_EQ(cupsd.state("adapter"), kIdle);
            EXPECT_TRUE(dlg.queueMap.empty());
        }
        EXPECT_EQ(cupsd.state("label"), kIdle);
    }
    EXPECT_EQ(cupsd.state("adapter"), kIdle);
    EXPECT_EQ(cupsd.state("held"), kStopped);
}

}  // namespace
}  // namespace velmora::testing
