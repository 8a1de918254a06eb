// Clients of the simulator's two front ends, for tests that talk to it over real links: a TCP
// client on a loopback port and a client on the pseudo-terminal's slave. Every wait is bounded.
#pragma once

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "platform/serialdevice.h"
#include "platform/tcpsocket.h"
#include "sim/server.h"

namespace velmora::sim {

using Clock = std::chrono::steady_clock;
constexpr unsigned kReplyWaitMs = 2000;  // only a broken simulator waits this long
constexpr unsigned kQuietWaitMs = 100;   // how long "no reply" is watched for

inline long long msSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// A client of one front end.
class Client {
  public:
    virtual ~Client() = default;
    virtual void send(const std::string& bytes) = 0;
    // Up to n bytes, waiting at most waitMs for them all.
    virtual std::string receive(std::size_t n, unsigned waitMs) = 0;
};

class TcpClient final : public Client {
  public:
    explicit TcpClient(unsigned port)
        : connected(socket.connect("127.0.0.1", port, 1000) == platform::StreamSocket::ConnectResult::Ok) {}
    void send(const std::string& bytes) override {
        socket.send(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), 1000);
    }
    std::string receive(std::size_t n, unsigned waitMs) override {
        std::string got;
        const auto start = Clock::now();
        while (got.size() < n && msSince(start) < waitMs) {
            std::uint8_t buf[64];
            const long r = socket.receive(buf, std::min(n - got.size(), sizeof buf),
                                          static_cast<unsigned>(waitMs - msSince(start)));
            if (r <= 0) break;
            got.append(reinterpret_cast<const char*>(buf), static_cast<std::size_t>(r));
        }
        return got;
    }
    platform::TcpSocket socket;
    const bool connected;
};

class PtyClient final : public Client {
  public:
    explicit PtyClient(const std::string& path) : connected(device.open(path)) {}
    void send(const std::string& bytes) override {
        device.write(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }
    std::string receive(std::size_t n, unsigned waitMs) override {
        // The serial device only reads what is there, as the port object uses it; look again
        // every millisecond until the bound.
        std::string got;
        const auto start = Clock::now();
        while (got.size() < n && msSince(start) < waitMs) {
            std::uint8_t buf[64];
            const long r = device.read(buf, std::min(n - got.size(), sizeof buf));
            if (r < 0) break;
            if (r == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
            got.append(reinterpret_cast<const char*>(buf), static_cast<std::size_t>(r));
        }
        return got;
    }
    platform::SerialDevice device;
    const bool connected;
};

// Starts the server's TCP listener (tcp) or its pseudo-terminal and connects a client there;
// nullptr, with `why` set, when either fails.
inline std::unique_ptr<Client> connectClient(Server& server, bool tcp, std::string& why) {
    if (tcp) {
        const unsigned port = server.startTcp(0);
        if (port == 0) {
            why = server.error();
            return nullptr;
        }
        auto client = std::make_unique<TcpClient>(port);
        if (!client->connected) why = "cannot connect to port " + std::to_string(port);
        return client->connected ? std::move(client) : nullptr;
    }
    const std::string path = server.startPty();
    if (path.empty()) {
        why = server.error();
        return nullptr;
    }
    auto client = std::make_unique<PtyClient>(path);
    if (!client->connected) why = "cannot open " + path;
    return client->connected ? std::move(client) : nullptr;
}

// Reads until `done` holds for what came, or waitMs pass; returns what came.
template <typename Done>
std::string receiveUntil(Client& client, Done done, unsigned waitMs) {
    std::string got;
    const auto start = Clock::now();
    while (!done(got) && msSince(start) < waitMs) {
        const std::string more = client.receive(1, static_cast<unsigned>(waitMs - msSince(start)));
        if (more.empty()) break;
        got += more;
    }
    return got;
}

}  // namespace velmora::sim
