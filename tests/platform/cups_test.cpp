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
#include "app/velmoradlg.h"
#include "platform/cupsspooler.h"
#include "platform/server.h"
#include "resources/templates_main.h"
#include "sim/server.h"
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

// A cupsd of the test's own: configuration, spool and state in a temporary directory, listening
// on a free loopback port, stopped and removed at the end.
class Cupsd {
public:
    static std::string program() {
        for (const char* candidate : {"/usr/sbin/cupsd", "/usr/local/sbin/cupsd"})
            if (access(candidate, X_OK) == 0) return candidate;
        return {};
    }

    // printers: the printers.conf body.
    bool start(const std::string& printers, std::string& why) {
        char name[] = "/tmp/velmora-cupsd-XXXXXX";
        if (!mkdtemp(name)) return false;
        dir_ = name;
        {
            platform::TcpListener probe;  // a free port: the kernel's pick, given back at once
            if (!probe.listen("127.0.0.1", 0)) return false;
            port_ = probe.port();
        }
        for (const char* sub : {"spool", "cache", "state", "log"}) fs::create_directories(dir_ / sub);
        std::ofstream(dir_ / "cupsd.conf") << "LogLevel warn\n"
                                              "Listen 127.0.0.1:"
                                           << port_
                                           << "\n"
                                              "Browsing Off\nWebInterface No\nDefaultAuthType None\n"
                                              "<Policy default>\n<Limit All>\nOrder allow,deny\nAllow all\n"
                                              "</Limit>\n</Policy>\n"
                                              "<Location />\nOrder allow,deny\nAllow all\n</Location>\n";
        std::ofstream(dir_ / "cups-files.conf")
            << "ServerRoot " << dir_.string() << "\nRequestRoot " << (dir_ / "spool").string() << "\nTempDir "
            << (dir_ / "spool").string() << "\nCacheDir " << (dir_ / "cache").string() << "\nStateDir "
            << (dir_ / "state").string() << "\nAccessLog " << (dir_ / "log/access_log").string() << "\nErrorLog "
            << (dir_ / "log/error_log").string() << "\nPageLog " << (dir_ / "log/page_log").string() << "\n";
        std::ofstream(dir_ / "printers.conf") << printers;

        const std::string conf = (dir_ / "cupsd.conf").string();
        const std::string files = (dir_ / "cups-files.conf").string();
        std::string prog = program();
        std::vector<char*> argv = {prog.data(), const_cast<char*>("-f"), const_cast<char*>("-c"),
                                   const_cast<char*>(conf.c_str()), const_cast<char*>("-s"),
                                   const_cast<char*>(files.c_str()), nullptr};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        const int spawned = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        if (spawned != 0) {
            pid_ = -1;
            why = "cannot run " + prog;
            return false;
        }
        // Up once it lists its queues; a scheduler that starts takes well under a second.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < deadline) {
            CupsSpooler probe(server(), {200, 1000});
            if (!probe.enumerate().empty()) return true;
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        why = "cupsd did not come up; its log says:\n" + log();
        return false;
    }

    ~Cupsd() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            int status = 0;
            waitpid(pid_, &status, 0);
        }
        std::error_code ec;
        if (!dir_.empty()) fs::remove_all(dir_, ec);
    }

    std::string server() const { return "127.0.0.1:" + std::to_string(port_); }

    // printer-state of a queue, asked independently of the backend under test: 3 idle, 5 stopped.
    int state(const std::string& queue) const {
        http_t* http = httpConnect2("127.0.0.1", static_cast<int>(port_), nullptr, AF_INET, HTTP_ENCRYPTION_NEVER, 1,
                                    2000, nullptr);
        if (!http) return -1;
        ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
        char uri[HTTP_MAX_URI];
        httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", 0, "/printers/%s",
                         queue.c_str());
        ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
        ipp_t* response = cupsDoRequest(http, request, "/");
        int value = -1;
        if (ipp_attribute_t* a = ippFindAttribute(response, "printer-state", IPP_TAG_ENUM)) value = ippGetInteger(a, 0);
        ippDelete(response);
        httpClose(http);
        return value;
    }

    std::string log() const {
        std::ifstream in(dir_ / "log/error_log");
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

private:
    fs::path dir_;
    unsigned port_ = 0;
    pid_t pid_ = -1;
};

std::string queue(const std::string& name, const std::string& uri, bool stopped = false) {
    return "<Printer " + name + ">\nDeviceURI " + uri + "\nState " + (stopped ? "Stopped" : "Idle") +
           "\nAccepting Yes\nShared No\n</Printer>\n";
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
        app::CVelmoraDlg dlg(ctx, spooler);
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
