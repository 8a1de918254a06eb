// The TCP socket of the Ethernet link (and of the simulator's accepted clients). The socket is
// non-blocking throughout; every wait is a poll with a deadline.
#include "platform/tcpsocket.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

#include "platform/pollwait.h"

namespace velmora::platform {

namespace {

void setNoDelay(int fd) {
    const int on = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

struct AddrInfoFree {
    void operator()(addrinfo* p) const { freeaddrinfo(p); }
};

// Connects fd to one address before the deadline.
bool connectOne(int fd, const addrinfo& ai, detail::Deadline deadline, detail::Hook hook) {
    if (::connect(fd, ai.ai_addr, ai.ai_addrlen) == 0) return true;
    if (errno != EINPROGRESS && errno != EINTR) return false;
    if (detail::waitFor(fd, POLLOUT, deadline, hook) <= 0) return false;
    int error = 0;
    socklen_t len = sizeof error;
    return getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &len) == 0 && error == 0;
}

}  // namespace

TcpSocket::TcpSocket(int connectedFd, bool runsWaitHook) : fd_(connectedFd), runsWaitHook_(runsWaitHook) {
    if (fd_ < 0) return;
    const int flags = fcntl(fd_, F_GETFL);
    if (flags >= 0) fcntl(fd_, F_SETFL, flags | O_NONBLOCK);
    setNoDelay(fd_);
}

TcpSocket::~TcpSocket() { close(); }

StreamSocket::ConnectResult TcpSocket::connect(const std::string& host, unsigned port, unsigned timeoutMs) {
    close();
    const auto deadline = detail::deadlineAfter(timeoutMs);
    const auto hook = runsWaitHook_ ? detail::Hook::Run : detail::Hook::Skip;

    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* found = nullptr;
    if (port > 65535 || getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0) {
        return ConnectResult::ConnectFailed;
    }
    const std::unique_ptr<addrinfo, AddrInfoFree> list(found);

    bool created = false;
    for (const addrinfo* ai = list.get(); ai; ai = ai->ai_next) {
        const int fd =
            ::socket(ai->ai_family, ai->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, ai->ai_protocol);
        if (fd < 0) continue;
        created = true;
        if (connectOne(fd, *ai, deadline, hook)) {
            setNoDelay(fd);
            fd_ = fd;
            return ConnectResult::Ok;
        }
        ::close(fd);
        if (detail::msUntil(deadline) == 0) break;
    }
    return created ? ConnectResult::ConnectFailed : ConnectResult::CreateFailed;
}

long TcpSocket::send(const std::uint8_t* data, std::size_t n, unsigned timeoutMs) {
    if (fd_ < 0) return -1;
    if (n == 0) return 0;
    auto deadline = detail::deadlineAfter(timeoutMs);
    const auto hook = runsWaitHook_ ? detail::Hook::Run : detail::Hook::Skip;
    std::size_t sent = 0;
    while (sent < n) {
        // Large buffers go in as few calls as the socket allows; poll only when it is full.
        const ssize_t r = ::send(fd_, data + sent, n - sent, MSG_NOSIGNAL);
        if (r > 0) {
            sent += static_cast<std::size_t>(r);
            // The bound is on a stall, not on the whole transfer: a large download that keeps
            // moving may take longer than one wait.
            deadline = detail::deadlineAfter(timeoutMs);
            continue;
        }
        if (r < 0 && errno == EINTR) continue;
        if (r < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return sent ? static_cast<long>(sent) : -1;
        const int ready = detail::waitFor(fd_, POLLOUT, deadline, hook);
        if (ready == 0) break;
        if (ready < 0) return sent ? static_cast<long>(sent) : -1;
    }
    return static_cast<long>(sent);
}

long TcpSocket::receive(std::uint8_t* buf, std::size_t n, unsigned timeoutMs) {
    if (fd_ < 0) return -1;
    if (n == 0) return 0;
    const auto deadline = detail::deadlineAfter(timeoutMs);
    const auto hook = runsWaitHook_ ? detail::Hook::Run : detail::Hook::Skip;
    for (;;) {
        const ssize_t r = ::recv(fd_, buf, n, 0);
        if (r >= 0) return static_cast<long>(r);  // 0: the peer closed the connection
        if (errno == EINTR) continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK) return -1;
        const int ready = detail::waitFor(fd_, POLLIN, deadline, hook);
        if (ready == 0) return 0;  // silent past the wait
        if (ready < 0) return -1;
    }
}

void TcpSocket::close() {
    if (fd_ < 0) return;
    ::close(fd_);
    fd_ = -1;
}

}  // namespace velmora::platform
