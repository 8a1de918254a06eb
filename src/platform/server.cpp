// The simulator's ends of the link: a TCP listener on loopback, and a pseudo-terminal whose
// slave a client opens as its serial port. Both run on the simulator's thread, so their waits
// never call the window's wait hook.
#include "platform/server.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/pollwait.h"
#include "platform/tcpsocket.h"

namespace velmora::platform {

namespace {

std::string systemError(const std::string& what) { return what + ": " + std::strerror(errno); }

unsigned boundPort(int fd) {
    sockaddr_storage addr{};
    socklen_t len = sizeof addr;
    if (getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0) return 0;
    if (addr.ss_family == AF_INET) return ntohs(reinterpret_cast<sockaddr_in*>(&addr)->sin_port);
    if (addr.ss_family == AF_INET6) return ntohs(reinterpret_cast<sockaddr_in6*>(&addr)->sin6_port);
    return 0;
}

}  // namespace

// ---- TcpListener ----

TcpListener::TcpListener() = default;

TcpListener::~TcpListener() { close(); }

bool TcpListener::listen(const std::string& address, unsigned port) {
    close();
    error_.clear();
    const std::string where = address + ":" + std::to_string(port);
    if (port > 65535) {
        error_ = where + ": no such port";
        return false;
    }
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
    addrinfo* found = nullptr;
    if (const int rc = getaddrinfo(address.c_str(), std::to_string(port).c_str(), &hints, &found); rc != 0) {
        error_ = where + ": " + gai_strerror(rc);
        return false;
    }
    const addrinfo ai = *found;  // the first address only
    const int fd = ::socket(ai.ai_family, ai.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, ai.ai_protocol);
    if (fd < 0) {
        error_ = systemError("socket");
        freeaddrinfo(found);
        return false;
    }
    // A simulator restarted at once must get its port back despite connections in TIME_WAIT.
    const int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    const bool ok = ::bind(fd, ai.ai_addr, ai.ai_addrlen) == 0 && ::listen(fd, 8) == 0;
    freeaddrinfo(found);
    if (!ok) {
        error_ = systemError(where);
        ::close(fd);
        return false;
    }
    fd_ = fd;
    port_ = boundPort(fd);
    return true;
}

std::unique_ptr<StreamSocket> TcpListener::accept(unsigned timeoutMs) {
    if (fd_ < 0) return nullptr;
    const auto deadline = detail::deadlineAfter(timeoutMs);
    for (;;) {
        const int client = ::accept4(fd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (client >= 0) return std::make_unique<TcpSocket>(client, false);
        // A client that gave up between poll and accept shows as ECONNABORTED: wait for the next.
        if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR && errno != ECONNABORTED) {
            error_ = systemError("accept");
            return nullptr;
        }
        if (detail::waitFor(fd_, POLLIN, deadline, detail::Hook::Skip) <= 0) return nullptr;
    }
}

void TcpListener::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    port_ = 0;
}

// ---- PseudoTerminal ----

PseudoTerminal::PseudoTerminal() = default;

PseudoTerminal::~PseudoTerminal() { close(); }

bool PseudoTerminal::open() {
    close();
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0) return false;
    char name[128];
    if (grantpt(master_) != 0 || unlockpt(master_) != 0 || ptsname_r(master_, name, sizeof name) != 0) {
        close();
        return false;
    }
    slavePath_ = name;
    // Holding the slave open keeps the master from seeing a hang-up (EIO, POLLHUP) whenever a
    // client closes its end, so one terminal serves client after client.
    slaveKeep_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios tio{};
    if (slaveKeep_ < 0 || tcgetattr(slaveKeep_, &tio) != 0) {
        close();
        return false;
    }
    cfmakeraw(&tio);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    const int flags = fcntl(master_, F_GETFL);
    if (tcsetattr(slaveKeep_, TCSANOW, &tio) != 0 || flags < 0 ||
        fcntl(master_, F_SETFL, flags | O_NONBLOCK) != 0) {
        close();
        return false;
    }
    return true;
}

long PseudoTerminal::read(std::uint8_t* buf, std::size_t n, unsigned timeoutMs) {
    if (master_ < 0) return -1;
    if (n == 0) return 0;
    const auto deadline = detail::deadlineAfter(timeoutMs);
    for (;;) {
        const ssize_t r = ::read(master_, buf, n);
        if (r > 0) return static_cast<long>(r);
        if (r < 0 && errno == EINTR) continue;
        // EIO: no client holds the slave (possible only if our own hold were lost). That is
        // "nothing came", and the master then polls ready at once, so pause instead of polling.
        const bool hungUp = r == 0 || errno == EIO;
        if (!hungUp && errno != EAGAIN && errno != EWOULDBLOCK) return -1;
        if (detail::msUntil(deadline) == 0) return 0;
        if (hungUp) {
            detail::waitFor(-1, 0, std::min(deadline, detail::deadlineAfter(10)), detail::Hook::Skip);
            continue;
        }
        const int ready = detail::waitFor(master_, POLLIN, deadline, detail::Hook::Skip);
        if (ready < 0) return -1;
        if (ready == 0) return 0;
    }
}

std::optional<unsigned> PseudoTerminal::lineSpeed() const {
    // Master and slave share one termios; what the client set shows through the held slave.
    termios tio{};
    if (slaveKeep_ < 0 || tcgetattr(slaveKeep_, &tio) != 0) return std::nullopt;
    struct Pair {
        speed_t speed;
        unsigned baud;
    };
    static constexpr Pair kSpeeds[] = {{B1200, 1200},     {B2400, 2400},     {B4800, 4800},
                                       {B9600, 9600},     {B19200, 19200},   {B38400, 38400},
                                       {B57600, 57600},   {B115200, 115200}, {B230400, 230400},
                                       {B460800, 460800}, {B921600, 921600}};
    const speed_t speed = cfgetospeed(&tio);
    for (const Pair& p : kSpeeds)
        if (p.speed == speed) return p.baud;
    return std::nullopt;
}

long PseudoTerminal::write(const std::uint8_t* data, std::size_t n, unsigned timeoutMs) {
    if (master_ < 0) return -1;
    if (n == 0) return 0;
    const auto deadline = detail::deadlineAfter(timeoutMs);
    std::size_t done = 0;
    while (done < n) {
        const ssize_t w = ::write(master_, data + done, n - done);
        if (w > 0) {
            done += static_cast<std::size_t>(w);
            continue;
        }
        if (w < 0 && errno == EINTR) continue;
        if (w < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return done ? static_cast<long>(done) : -1;
        const int ready = detail::waitFor(master_, POLLOUT, deadline, detail::Hook::Skip);
        if (ready == 0) break;
        if (ready < 0) return done ? static_cast<long>(done) : -1;
    }
    return static_cast<long>(done);
}

void PseudoTerminal::discardUnread() {
    if (slaveKeep_ >= 0) tcflush(slaveKeep_, TCIFLUSH);
}

void PseudoTerminal::close() {
    if (slaveKeep_ >= 0) ::close(slaveKeep_);
    if (master_ >= 0) ::close(master_);
    slaveKeep_ = -1;
    master_ = -1;
    slavePath_.clear();
}

}  // namespace velmora::platform
