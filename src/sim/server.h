// The simulated printer's front ends: a TCP listener that serves up to kMaxTcpClients clients side
// by side (a user's own software and Velmora both reach the one printer) and a pseudo-terminal
// that a client opens as its serial port. Each connection runs on its own thread with a fresh
// parser over the one shared Printer.
#pragma once

#include <atomic>
#include <cstddef>
#include <memory>
#include <string>
#include <thread>

#include "sim/parser.h"
#include "sim/printer.h"

namespace velmora::platform {
class TcpListener;
class PseudoTerminal;
}  // namespace velmora::platform

namespace velmora::sim {

class Server {
  public:
    explicit Server(Printer& printer, const CommandSet& commands = standardCommands());
    ~Server();
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

    // Clients served at once; a further one is closed as soon as it is accepted.
    static constexpr std::size_t kMaxTcpClients = 8;

    // Listens on address:port (port 0: any free port) and serves clients side by side.
    // The bound port, or 0 on failure or when the TCP front end already runs.
    unsigned startTcp(unsigned port, const std::string& address = "127.0.0.1");
    // Opens a pseudo-terminal and serves it. The slave's path, or "" on failure or when the
    // pseudo-terminal front end already runs.
    std::string startPty();
    // Ends both front ends and waits for their threads (within a wait slice, ~50 ms).
    void stop();

    // Why the last start failed, for the program's message.
    const std::string& error() const { return error_; }

    // How long a reply may wait to be taken by the client before it is dropped, and how long the
    // link may stay silent in the middle of a command (an image's bytes owed) before the printer
    // gives up on it and listens afresh. Set before starting.
    struct Timing {
        unsigned sendTimeoutMs = 1000;
        unsigned abandonAfterMs = 2000;
    };
    void setTiming(const Timing& timing) { timing_ = timing; }

  private:
    void serveTcp();
    void servePty();

    Printer& printer_;
    const CommandSet& commands_;
    std::atomic<bool> stopping_{false};
    std::unique_ptr<platform::TcpListener> listener_;
    std::unique_ptr<platform::PseudoTerminal> pty_;
    std::thread tcpThread_;
    std::thread ptyThread_;
    std::string error_;
    Timing timing_;
};

}  // namespace velmora::sim
