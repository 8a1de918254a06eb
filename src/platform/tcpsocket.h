// A TCP stream over a non-blocking socket: connect, send and receive each wait with a bound, and
// the window keeps painting while they wait. Sends never raise SIGPIPE.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/device.h"

namespace velmora::platform {

class TcpSocket final : public StreamSocket {
public:
    TcpSocket() = default;
    // Adopts a connected socket (from TcpListener::accept). The simulator's side passes
    // runsWaitHook false: its waits must never repaint the window from another thread.
    TcpSocket(int connectedFd, bool runsWaitHook);
    ~TcpSocket() override;
    TcpSocket(const TcpSocket&) = delete;
    TcpSocket& operator=(const TcpSocket&) = delete;

    // Resolves host (IPv4 or IPv6 text, or a name) and connects within timeoutMs. CreateFailed
    // when no socket could be made, ConnectFailed when the host is unknown or every address
    // refused or stayed silent.
    ConnectResult connect(const std::string& host, unsigned port, unsigned timeoutMs) override;
    long send(const std::uint8_t* data, std::size_t n, unsigned timeoutMs) override;
    long receive(std::uint8_t* buf, std::size_t n, unsigned timeoutMs) override;
    void close() override;
    bool isOpen() const override { return fd_ >= 0; }

private:
    int fd_ = -1;
    bool runsWaitHook_ = true;
};

}  // namespace velmora::platform
