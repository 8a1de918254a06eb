// A TCP stream over a non-blocking socket: connect, send and receive each wait with a bound, and
// the window keeps painting while they wait. Sends never raise SIGPIPE.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/device.h"

struct addrinfo;

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

    // Resolves host (IPv4 or IPv6 text, or a name) and connects, the lookup included, within
    // timeoutMs. CreateFailed when no socket could be made, ConnectFailed when the host is unknown
    // or its lookup ran past the bound, or every address refused or stayed silent.
    ConnectResult connect(const std::string& host, unsigned port, unsigned timeoutMs) override;
    long send(const std::uint8_t* data, std::size_t n, unsigned timeoutMs) override;
    // Straight from the file to the socket (sendfile), never through the program's memory.
    long sendFile(FileReader& file, std::uint64_t offset, std::size_t n, unsigned timeoutMs) override;
    long receive(std::uint8_t* buf, std::size_t n, unsigned timeoutMs) override;
    bool peerGone() override;
    void close() override;
    int connectError() const override { return connectError_; }

    // The name lookup connect uses (getaddrinfo unless a test replaces it). It runs on a thread
    // of its own, so a lookup that hangs costs no more than the connect bound.
    using Resolver = std::function<int(const std::string& host, const std::string& service, addrinfo** found)>;
    void setResolver(Resolver resolver) { resolver_ = std::move(resolver); }
    bool isOpen() const override { return fd_ >= 0; }

private:
    int fd_ = -1;
    int connectError_ = 0;
    bool runsWaitHook_ = true;
    Resolver resolver_;
};

// One connection attempt taken apart for diagnosis: the name lookup, the connect and one
// request with its reply, each with the time it took and why it failed.
struct TcpProbe {
    enum class Reply { NotTried, Answered, Silent, Closed, Reset };
    bool resolved = false;
    unsigned lookupMs = 0;
    std::string address;  // the address connected to (or last tried), in numbers
    bool connected = false;
    unsigned connectMs = 0;
    int connectError = 0;  // errno: ECONNREFUSED, ETIMEDOUT (no answer within the bound), ...
    Reply reply = Reply::NotTried;
    unsigned replyMs = 0;
    std::size_t replyBytes = 0;
};

// Looks `host` up, connects to its first address that takes the connection and sends `request`,
// then waits for `expectBytes` reply bytes. Each step is bounded by timeoutMs.
TcpProbe probeTcp(const std::string& host, unsigned port, const std::string& request, std::size_t expectBytes,
                  unsigned timeoutMs);

}  // namespace velmora::platform
