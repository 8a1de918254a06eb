// The connection doctor: the device node findings, the serial scan on the simulator's
// pseudo-terminal and its bound, TCP refused, silent and answering, USB printers and their
// drivers, print queues, and the main window's "Diagnose" showing the same report.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "doctor/diagnosedlg.h"
#include "doctor/doctor.h"
#include "platform/server.h"
#include "resources/templates_doctor.h"
#include "resources/templates_main.h"
#include "shell/velmoradlg.h"
#include "sim/server.h"
#include "support/fakespooler.h"
#include "support/linkfixture.h"
#include "ui/testhost.h"

namespace velmora::testing {
namespace {

namespace fs = std::filesystem;
using doctor::DoctorTarget;
using doctor::Finding;

constexpr auto kProblem = Finding::Level::Problem;
constexpr auto kOk = Finding::Level::Ok;
constexpr auto kNote = Finding::Level::Note;

platform::DeviceStatus charDevice(unsigned mode, unsigned gid, const std::string& group) {
    platform::DeviceStatus s;
    s.exists = s.characterDevice = true;
    s.mode = mode;
    s.groupId = gid;
    s.groupName = group;
    return s;
}

DoctorTarget usbTarget() {
    DoctorTarget t;
    t.kind = DoctorTarget::Kind::Usb;
    t.portName = "USB";
    return t;
}

DoctorTarget serialTarget(const std::string& device, unsigned baud = 115200) {
    DoctorTarget t;
    t.kind = DoctorTarget::Kind::Serial;
    t.portName = "COM1:";
    t.device = device;
    t.serial = {baud, 8, 0, 0};
    return t;
}

struct Doctor {
    ScriptedLink link;
    FakeSpooler spooler;
    doctor::DoctorSystem system{link.factory, link.clock, spooler};
    Doctor() { system.holders = [](const std::string&) { return std::vector<platform::DeviceHolder>{}; }; }
};

TEST(DoctorDevice, MissingNotADeviceRefusedAndAllowed) {
    char name[] = "/tmp/velmora-doctor-XXXXXX";
    const int fd = mkstemp(name);
    ASSERT_GE(fd, 0);
    ::close(fd);
    struct Case {
        std::string device;
        std::optional<platform::DeviceStatus> status;  // nothing: the real node
        platform::UserIds user;
        Finding::Level level;
        std::string says;
    };
    const platform::UserIds tech{1000, {1000}, "tech"};
    const platform::UserIds dialoutMember{1000, {1000, 20}, "tech"};
    const Case cases[] = {
        {"/dev/velmora-no-such-tty", std::nullopt, tech, kProblem, "There is no device /dev/velmora-no-such-tty"},
        {name, std::nullopt, tech, kProblem, "is not a character device"},
        {"/dev/ttyS0", charDevice(0660, 20, "dialout"), tech, kProblem,
         "Permission denied: tech may not open /dev/ttyS0 (group dialout, mode 0660)"},
        {"/dev/ttyS0", charDevice(0660, 20, "dialout"), tech, kProblem, "sudo usermod -aG dialout $USER"},
        // A node only its owner may open: the usual group is named instead of root.
        {"/dev/ttyS0", charDevice(0600, 0, "root"), tech, kProblem, "join the group dialout"},
        {"/dev/ttyS0", charDevice(0660, 20, "dialout"), dialoutMember, kOk, "is a character device you may open"},
        {"/dev/ttyS0", charDevice(0600, 0, "root"), platform::UserIds{0, {0}, "root"}, kOk, "you may open"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.device + " / " + c.says);
        Doctor d;
        if (c.status) d.system.inspect = [s = *c.status](const std::string&) { return s; };
        d.system.user = c.user;
        doctor::DoctorReport report;
        doctor::checkDeviceNode(serialTarget(c.device), d.system, report);
        ASSERT_FALSE(report.findings.empty());
        EXPECT_TRUE(report.has(c.level, c.says)) << report.text();
    }
    ::unlink(name);
}

TEST(DoctorDevice, ProcessesHoldingTheDeviceAreNamedAndTheTalkIsSkippedWhenRefused) {
    Doctor d;
    d.system.inspect = [](const std::string&) { return charDevice(0666, 20, "dialout"); };
    d.system.holders = [](const std::string&) { return std::vector<platform::DeviceHolder>{{4242, "minicom"}}; };
    d.link.script.readScript = {"OK"};
    const doctor::DoctorReport held = doctor::RunDoctor(serialTarget("/dev/ttyS0", 9600), d.system);
    EXPECT_TRUE(held.has(kProblem, "held by process 4242 (minicom)")) << held.text();

    Doctor refused;
    refused.system.inspect = [](const std::string&) { return charDevice(0660, 20, "dialout"); };
    refused.system.user = {1000, {1000}, "tech"};
    const doctor::DoctorReport r = doctor::RunDoctor(serialTarget("/dev/ttyS0"), refused.system);
    EXPECT_EQ(refused.link.script.opens, 0);  // nothing is tried on a port the user may not open
    EXPECT_FALSE(r.answered);
}

TEST(DoctorQueues, AQueueOnThePortIsNamedWithWhetherVelmoraPausesIt) {
    Doctor d;
    d.spooler.add("Labels", "COM1:");
    d.spooler.add("Office", "LPT1:");
    d.spooler.add("UsbLabels", "usb://Maker/Model?serial=1");
    doctor::DoctorReport serial;
    doctor::checkQueues(serialTarget("/dev/ttyS0"), d.system, serial);
    EXPECT_TRUE(serial.has(kNote, "The CUPS queue Labels prints to /dev/ttyS0; Velmora pauses it")) << serial.text();
    EXPECT_FALSE(serial.has(kNote, "Office"));
    DoctorTarget usb;
    usb.kind = DoctorTarget::Kind::Usb;
    doctor::DoctorReport u;
    doctor::checkQueues(usb, d.system, u);
    EXPECT_TRUE(u.has(kNote, "Velmora does not pause it")) << u.text();
    EXPECT_TRUE(u.has(kNote, "cupsdisable UsbLabels"));
}

// The serial scan on a port where nothing answers stays within its bound, on the test clock.
TEST(DoctorSerialScan, SilentPortTriesEveryRateAndFramingWithinTheBound) {
    struct Case {
        unsigned waitMs;
        bool allTried;
    };
    for (const Case c : {Case{100, true}, Case{400, false}}) {
        SCOPED_TRACE(c.waitMs);
        Doctor d;
        d.system.inspect = [](const std::string&) { return charDevice(0666, 20, "dialout"); };
        d.system.serialReplyWaitMs = c.waitMs;
        const doctor::DoctorReport r = doctor::RunDoctor(serialTarget("/dev/ttyS0"), d.system);
        EXPECT_FALSE(r.answered);
        EXPECT_LE(d.link.clock.totalPaused(), d.system.scanBudgetMs);
        EXPECT_LT(d.system.scanBudgetMs, 15000u);
        const std::size_t all = doctor::doctorBaudRates().size() * doctor::doctorFramings().size();
        EXPECT_EQ(d.link.clock.pauses().size() == all, c.allTried);
        EXPECT_TRUE(r.has(kProblem, c.allTried ? "No answer at any baud rate" : "the scan stopped after")) << r.text();
        // Each try is the handshake's query; the first at 9600 8N1.
        ASSERT_TRUE(d.link.script.settings);
        EXPECT_EQ(d.link.script.writes.front(), "^cp\r");
    }
}

// The simulator answers on its pseudo-terminal only at its --baud speed: the scan finds it.
TEST(DoctorSerialScan, FindsTheSimulatorsBaudRateOnItsPseudoTerminal) {
    struct Case {
        unsigned simBaud;
        unsigned panelBaud;
        Finding::Level level;
        std::string says;
    };
    const Case cases[] = {
        {57600, 115200, kProblem, "the printer answers at 57600 8N1; choose that in the panel"},
        {19200, 19200, kOk, "The printer answers at the chosen 19200 8N1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.says);
        sim::Printer printer;
        sim::Faults faults;
        faults.baud = c.simBaud;
        printer.setFaults(faults);
        sim::Server server(printer);
        const std::string pty = server.startPty();
        ASSERT_FALSE(pty.empty());
        FakeSpooler spooler;
        doctor::DoctorSystem system(platform::systemDevices(), platform::realClock(), spooler);
        system.serialReplyWaitMs = 60;  // the simulator answers within a few milliseconds
        const doctor::DoctorReport r = doctor::RunDoctor(serialTarget(pty, c.panelBaud), system);
        EXPECT_TRUE(r.answered) << r.text();
        EXPECT_TRUE(r.has(c.level, c.says)) << r.text();
        // Its own process holds the terminal's other end: no "held by" problem for that.
        EXPECT_FALSE(r.has(kProblem, "held by")) << r.text();
    }
}

TEST(DoctorTcp, RefusedSilentAndAnsweringPrinters) {
    unsigned closedPort = 0;
    {
        platform::TcpListener l;
        ASSERT_TRUE(l.listen("127.0.0.1", 0));
        closedPort = l.port();
    }
    sim::Printer silentPrinter;
    sim::Faults silent;
    silent.silent = true;
    silentPrinter.setFaults(silent);
    sim::Server silentServer(silentPrinter);
    const unsigned silentPort = silentServer.startTcp(0);
    sim::Printer printer;
    sim::Server server(printer);
    const unsigned port = server.startTcp(0);
    ASSERT_NE(silentPort, 0u);
    ASSERT_NE(port, 0u);

    struct Case {
        std::string host;
        unsigned port;
        bool answered;
        std::string says;
    };
    const Case cases[] = {
        {"127.0.0.1", closedPort, false, "refused the connection"},
        {"127.0.0.1", silentPort, false, "nothing answered the status query within 300 ms"},
        {"127.0.0.1", port, true, "The printer answered the status query"},
        {"velmora-no-such-host.invalid", 9100, false, "was not found"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.says);
        Doctor d;
        d.system.tcpTimeoutMs = 300;
        DoctorTarget t;
        t.host = c.host;
        t.port = c.port;
        const doctor::DoctorReport r = doctor::RunDoctor(t, d.system);
        EXPECT_EQ(r.answered, c.answered) << r.text();
        EXPECT_TRUE(r.has(c.answered ? kOk : kProblem, c.says)) << r.text();
    }
}

// A USB device with a printer interface, bound to `driver` ("" none), with a usblp node or not.
void addUsbPrinter(const fs::path& root, const std::string& kernel, const std::string& vendor,
                   const std::string& product, const std::string& driver, const std::string& lp) {
    const fs::path device = root / "sys/devices/usb1" / kernel;
    fs::create_directories(device);
    std::ofstream(device / "idVendor") << vendor << "\n";
    std::ofstream(device / "idProduct") << product << "\n";
    const fs::path iface = device / (kernel + ":1.0");
    fs::create_directories(iface);
    std::ofstream(iface / "bInterfaceClass") << "07\n";
    if (!driver.empty()) {
        fs::create_directories(root / "sys/bus/usb/drivers" / driver);
        fs::create_directory_symlink(root / "sys/bus/usb/drivers" / driver, iface / "driver");
    }
    if (!lp.empty()) fs::create_directories(iface / "usbmisc" / lp);
    fs::create_directories(root / "sys/bus/usb/devices");
    fs::create_directory_symlink(iface, root / "sys/bus/usb/devices" / (kernel + ":1.0"));
}

TEST(DoctorUsb, KnownModelsAndPrintersClaimedByAnotherDriver) {
    char name[] = "/tmp/velmora-doctor-usb-XXXXXX";
    ASSERT_TRUE(mkdtemp(name));
    const fs::path root = name;
    addUsbPrinter(root, "1-1", "5a2e", "0a08", "usblp", "lp0");        // known, node missing
    addUsbPrinter(root, "1-2", "04f9", "0042", "usbfs", "");          // another make, claimed
    addUsbPrinter(root, "1-3", "6d81", "2100", "", "");               // known, no driver
    Doctor d;
    d.system.sysroot = root.string();
    const doctor::DoctorReport r = doctor::RunDoctor(usbTarget(), d.system);
    EXPECT_TRUE(r.has(kOk, "USB printer 5a2e:0a08 at 1-1:1.0, a known model")) << r.text();
    EXPECT_TRUE(r.has(kProblem, "There is no device " + (root / "dev/usb/lp0").string()));
    EXPECT_TRUE(r.has(kProblem, "04f9:0042 at 1-2:1.0, not a model Velmora knows: claimed by the driver usbfs"));
    EXPECT_TRUE(r.has(kProblem, "6d81:2100 at 1-3:1.0, a known model: no driver has it"));
    EXPECT_FALSE(r.answered);

    Doctor none;
    none.system.sysroot = (root / "empty").string();
    EXPECT_TRUE(doctor::RunDoctor(usbTarget(), none.system)
                    .has(kProblem, "The kernel offers no USB printer"));
    fs::remove_all(root);
}

// "Diagnose" beside Connect shows the report of the panel's choice in its own window.
TEST(DoctorWindow, DiagnoseShowsTheReportOfThePanelsChoice) {
    unsigned closedPort = 0;
    {
        platform::TcpListener l;
        ASSERT_TRUE(l.listen("127.0.0.1", 0));
        closedPort = l.port();
    }
    ScriptedLink link;
    ui::TestHost host;
    FakeSpooler spooler;
    app::ToolContext ctx{link.comm, link.clock, host};
    shell::CVelmoraDlg main(ctx, spooler);
    main.Create();
    main.click(resources::IDC_MAIN_ETHERNET);
    main.typeText(resources::IDC_MAIN_IP, "127.0.0.1");
    main.typeText(resources::IDC_MAIN_TCPPORT, std::to_string(closedPort));
    std::string shown;
    std::string examined;
    host.modalScripts.push_back([&](ui::Dialog& d) {
        shown = d.control(resources::IDC_DOCTOR_REPORT).text();
        examined = d.control(resources::IDC_DOCTOR_TARGET).text();
        return ui::IDOK;
    });
    main.click(resources::IDC_MAIN_DIAGNOSE);
    EXPECT_EQ(examined, "Examined: Ethernet 127.0.0.1:" + std::to_string(closedPort));
    EXPECT_NE(shown.find("refused the connection"), std::string::npos) << shown;
    EXPECT_NE(shown.find("The printer does not answer."), std::string::npos);
    EXPECT_EQ(host.modalTemplates, std::vector<int>{650});
    EXPECT_FALSE(link.comm.isOpen());  // diagnosing connects nothing
}

}  // namespace
}  // namespace velmora::testing
