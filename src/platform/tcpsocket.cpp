// The TCP socket of the Ethernet link (and of the simulator's accepted clients). The socket is
// non-blocking throughout; every wait is a poll with a deadline.
#include "platform/tcpsocket.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <pthread.h>
#include <sys/sendfile.h>
#include <sys/socket.h>
#include <unistd.h>
#include <arpa/inet.h>

#include <cerrno>
#include <csignal>
#include <chrono>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

#include "platform/filereader.h"
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

// Connects fd to one address before the deadline: 0, or the errno of the failure (ETIMEDOUT when
// the deadline passed without an answer).
int connectWhy(int fd, const addrinfo& ai, detail::Deadline deadline, detail::Hook hook) {
    if (::connect(fd, ai.ai_addr, ai.ai_addrlen) == 0) return 0;
    if (errno != EINPROGRESS && errno != EINTR) return errno;
    const int ready = detail::waitFor(fd, POLLOUT, deadline, hook);
    if (ready == 0) return ETIMEDOUT;
    int error = 0;
    socklen_t len = sizeof error;
    if (ready < 0 || getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &len) != 0) return errno ? errno : EIO;
    return error;
}

int systemLookup(const std::string& host, const std::string& service, addrinfo** found) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    return getaddrinfo(host.c_str(), service.c_str(), &hints, found);
}

// One lookup on a thread of its own, shared with the thread. The waiter watches the pipe with
// its deadline; a lookup it gave up on finishes in the background and frees its own result.
struct Lookup {
    std::mutex mutex;
    bool done = false;
    addrinfo* result = nullptr;
    int pipe[2] = {-1, -1};
    ~Lookup() {
        if (result) freeaddrinfo(result);
        for (int fd : pipe)
            if (fd >= 0) ::close(fd);
    }
};

// The addresses of host, or nullptr when it has none or the lookup ran past the deadline.
addrinfo* lookUp(const TcpSocket::Resolver& resolver, const std::string& host, const std::string& service,
                 detail::Deadline deadline, detail::Hook hook) {
    // An address in numbers needs no lookup and no thread.
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), service.c_str(), &hints, &found) == 0) return found;

    auto lookup = std::make_shared<Lookup>();
    if (pipe2(lookup->pipe, O_CLOEXEC) != 0) return nullptr;
    const TcpSocket::Resolver resolve = resolver ? resolver : TcpSocket::Resolver(systemLookup);
    try {
        std::thread([lookup, resolve, host, service] {
            addrinfo* list = nullptr;
            if (resolve(host, service, &list) != 0) list = nullptr;
            {
                const std::lock_guard lock(lookup->mutex);
                lookup->result = list;  // freed with the lookup when nobody takes it
                lookup->done = true;
            }
            const char done = 1;
            [[maybe_unused]] const ssize_t n = ::write(lookup->pipe[1], &done, 1);
        }).detach();
    } catch (const std::system_error&) {
        return nullptr;
    }
    detail::waitFor(lookup->pipe[0], POLLIN, deadline, hook);
    // Not done by now: the thread keeps the lookup and its result until it ends.
    const std::lock_guard lock(lookup->mutex);
    return std::exchange(lookup->result, nullptr);
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

    connectError_ = EINVAL;
    if (port > 65535) return ConnectResult::ConnectFailed;
    const std::unique_ptr<addrinfo, AddrInfoFree> list(
        lookUp(resolver_, host, std::to_string(port), deadline, hook));
    connectError_ = EHOSTUNREACH;  // a name with no address, or one found too late
    if (!list) return ConnectResult::ConnectFailed;

    bool created = false;
    for (const addrinfo* ai = list.get(); ai; ai = ai->ai_next) {
        const int fd =
            ::socket(ai->ai_family, ai->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, ai->ai_protocol);
        if (fd < 0) continue;
        created = true;
        connectError_ = connectWhy(fd, *ai, deadline, hook);
        if (connectError_ == 0) {
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

namespace {

// sendfile has no MSG_NOSIGNAL: a peer that closed must not end the program with SIGPIPE. The
// signal is held back for the calling thread, and one the call raised is taken before it is let
// through again.
class NoBrokenPipe {
public:
    NoBrokenPipe() {
        sigset_t pipe;
        sigemptyset(&pipe);
        sigaddset(&pipe, SIGPIPE);
        sigset_t pending;
        sigpending(&pending);
        alreadyPending_ = sigismember(&pending, SIGPIPE) == 1;
        pthread_sigmask(SIG_BLOCK, &pipe, &previous_);
    }
    ~NoBrokenPipe() {
        if (raised && !alreadyPending_) {
            sigset_t pipe;
            sigemptyset(&pipe);
            sigaddset(&pipe, SIGPIPE);
            const timespec now{0, 0};
            while (sigtimedwait(&pipe, nullptr, &now) < 0 && errno == EINTR) {
            }
        }
        pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
    }
    NoBrokenPipe(const NoBrokenPipe&) = delete;
    NoBrokenPipe& operator=(const NoBrokenPipe&) = delete;
    bool raised = false;

private:
    sigset_t previous_{};
    bool alreadyPending_ = false;
};

}  // namespace

long TcpSocket::sendFile(FileReader& file, std::uint64_t offset, std::size_t n, unsigned timeoutMs) {
    if (fd_ < 0 || file.fd_ < 0) return -1;
    if (n == 0) return 0;
    if (!file.stillAsOpened()) return -1;
    auto deadline = detail::deadlineAfter(timeoutMs);
    const auto hook = runsWaitHook_ ? detail::Hook::Run : detail::Hook::Skip;
    NoBrokenPipe guard;
    off_t at = static_cast<off_t>(offset);
    std::size_t sent = 0;
    while (sent < n) {
        const ssize_t r = ::sendfile(fd_, file.fd_, &at, n - sent);
        if (r > 0) {
            sent += static_cast<std::size_t>(r);
            deadline = detail::deadlineAfter(timeoutMs);  // the bound is on a stall, as in send
            continue;
        }
        if (r == 0) {
            file.changed_ = true;  // the end came early: the file shrank under us
            break;
        }
        if (errno == EINTR) continue;
        if (errno == EPIPE) guard.raised = true;
        if (errno != EAGAIN && errno != EWOULDBLOCK) return sent ? static_cast<long>(sent) : -1;
        const int ready = detail::waitFor(fd_, POLLOUT, deadline, hook);
        if (ready == 0) break;
        if (ready < 0) return sent ? static_cast<long>(sent) : -1;
    }
    // A file rewritten while it went is not the file that was announced.
    if (sent == n && !file.stillAsOpened()) return -1;
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

bool TcpSocket::peerGone() {
    if (fd_ < 0) return true;
    pollfd entry{fd_, POLLRDHUP, 0};
    if (::poll(&entry, 1, 0) > 0 && (entry.revents & (POLLRDHUP | POLLHUP | POLLERR))) return true;
    int error = 0;
    socklen_t len = sizeof error;
    return getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &len) == 0 && error != 0;
}

void TcpSocket::close() {
    if (fd_ < 0) return;
    ::close(fd_);
    fd_ = -1;
}

namespace {

unsigned msSince(std::chrono::steady_clock::time_point start) {
    return static_cast<unsigned>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count());
}

std::string numericAddress(const addrinfo& ai) {
    char text[INET6_ADDRSTRLEN] = {};
    const void* where = ai.ai_family == AF_INET6
                            ? static_cast<const void*>(&reinterpret_cast<const sockaddr_in6*>(ai.ai_addr)->sin6_addr)
                            : static_cast<const void*>(&reinterpret_cast<const sockaddr_in*>(ai.ai_addr)->sin_addr);
    return inet_ntop(ai.ai_family, where, text, sizeof text) ? text : "";
}

}  // namespace

TcpProbe probeTcp(const std::string& host, unsigned port, const std::string& request, std::size_t expectBytes,
                  unsigned timeoutMs) {
    TcpProbe probe;
    if (port == 0 || port > 65535) return probe;
    auto start = std::chrono::steady_clock::now();
    const std::unique_ptr<addrinfo, AddrInfoFree> list(
        lookUp({}, host, std::to_string(port), detail::deadlineAfter(timeoutMs), detail::Hook::Run));
    probe.lookupMs = msSince(start);
    probe.resolved = list != nullptr;
    if (!list) return probe;

    int fd = -1;
    start = std::chrono::steady_clock::now();
    const auto deadline = detail::deadlineAfter(timeoutMs);
    for (const addrinfo* ai = list.get(); ai && fd < 0; ai = ai->ai_next) {
        probe.address = numericAddress(*ai);
        const int s = ::socket(ai->ai_family, ai->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, ai->ai_protocol);
        if (s < 0) {
            probe.connectError = errno;
            continue;
        }
        probe.connectError = connectWhy(s, *ai, deadline, detail::Hook::Run);
        if (probe.connectError == 0) {
            fd = s;
        } else {
            ::close(s);
            if (detail::msUntil(deadline) == 0) break;
        }
    }
    probe.connectMs = msSince(start);
    probe.connected = fd >= 0;
    if (!probe.connected) return probe;

    TcpSocket socket(fd, true);
    start = std::chrono::steady_clock::now();
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(request.data());
    if (socket.send(bytes, request.size(), timeoutMs) != static_cast<long>(request.size())) {
        probe.reply = TcpProbe::Reply::Reset;
        probe.replyMs = msSince(start);
        return probe;
    }
    probe.reply = TcpProbe::Reply::Silent;
    const auto replyDeadline = detail::deadlineAfter(timeoutMs);
    std::uint8_t buf[256];
    while (probe.replyBytes < expectBytes) {
        const ssize_t r = ::recv(fd, buf, sizeof buf, 0);
        if (r > 0) {
            probe.replyBytes += static_cast<std::size_t>(r);
            continue;
        }
        if (r == 0) {
            probe.reply = TcpProbe::Reply::Closed;
            break;
        }
        if (errno == EINTR) continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK) {
            probe.reply = TcpProbe::Reply::Reset;
            break;
        }
        if (detail::waitFor(fd, POLLIN, replyDeadline, detail::Hook::Run) <= 0) break;
    }
    if (probe.replyBytes >= expectBytes) probe.reply = TcpProbe::Reply::Answered;
    probe.replyMs = msSince(start);
    return probe;
}

}  // namespace velmora::platform
