// A cupsd of a test's own, for the tests that run CUPS for real: configuration, spool and state in
// a temporary directory, listening on a free loopback port, stopped and removed at the end.
#pragma once

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
#include <string>
#include <thread>
#include <vector>

#include "platform/cupsspooler.h"
#include "platform/server.h"

extern char** environ;

namespace velmora::testing {

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
        for (const char* sub : {"spool", "cache", "state", "log"}) std::filesystem::create_directories(dir_ / sub);
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
            platform::CupsSpooler probe(server(), {200, 1000});
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
        if (!dir_.empty()) std::filesystem::remove_all(dir_, ec);
    }

    std::string server() const { return "127.0.0.1:" + std::to_string(port_); }
    unsigned port() const { return port_; }

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
    std::filesystem::path dir_;
    unsigned port_ = 0;
    pid_t pid_ = -1;
};

inline std::string queue(const std::string& name, const std::string& uri, bool stopped = false) {
    return "<Printer " + name + ">\nDeviceURI " + uri + "\nState " + (stopped ? "Stopped" : "Idle") +
           "\nAccepting Yes\nShared No\n</Printer>\n";
}

}  // namespace velmora::testing
