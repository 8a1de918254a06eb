// The simulator's side of the link: a TCP listener on loopback and a pseudo-terminal whose
// slave end a client opens as if it were a serial port.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/device.h"

namespace velmora::platform {

class TcpListener {
public:
    TcpListener();
    ~TcpListener();
    TcpListener(const TcpListener&) = delete;
    TcpListener& operator=(const TcpListener&) = delete;

    // Listens on address:port (port 0 picks a free port). False on failure, with error() set.
    bool listen(const std::string& address, unsigned port);
    unsigned port() const { return port_; }
    // Waits up to timeoutMs for a client; nullptr when none came.
    std::unique_ptr<StreamSocket> accept(unsigned timeoutMs);
    void close();
    const std::string& error() const { return error_; }

private:
    int fd_ = -1;
    unsigned port_ = 0;
    std::string error_;
};

class PseudoTerminal {
public:
    PseudoTerminal();
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    // Creates the master and puts the slave in raw mode; false on failure.
    bool open();
    const std::string& slavePath() const { return slavePath_; }
    // Waits up to timeoutMs for bytes from the client: the count, 0 when none came, -1 on error.
    long read(std::uint8_t* buf, std::size_t n, unsigned timeoutMs);
    // The speed the client last set on its end (termios output speed) in bits per second;
    // nothing when it is not one of the usual rates or cannot be read.
    std::optional<unsigned> lineSpeed() const;
    // Writes all bytes (bounded wait): the count written, -1 on error.
    long write(const std::uint8_t* data, std::size_t n, unsigned timeoutMs);
    // Drops what was written to the client and not read yet: a client that stopped reading
    // leaves old answers queued, and the next client must not read them as its own.
    void discardUnread();
    void close();

private:
    int master_ = -1;
    int slaveKeep_ = -1;  // kept open so the master never sees a hang-up between clients
    std::string slavePath_;
};

}  // namespace velmora::platform
