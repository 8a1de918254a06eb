// The termios serial device. The fd stays non-blocking: reads return at once (the original's
// read time-outs), and writes wait with poll so every wait has a bound.
#include "platform/serialdevice.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>

#include "platform/pollwait.h"

namespace velmora::platform {

namespace {

// The bound on a write when the port has no per-byte time-out (38400 baud and above).
constexpr std::uint64_t kUntimedWriteMinMs = 2000;
// Closing waits for queued output to leave, but gives up once it stops moving for this long.
constexpr unsigned kCloseStallMs = 500;

std::optional<speed_t> termiosSpeed(unsigned baud) {
    struct Pair {
        unsigned baud;
        speed_t speed;
    };
    static constexpr Pair kSpeeds[] = {
        {50, B50},           {75, B75},           {110, B110},         {134, B134},
        {150, B150},         {200, B200},         {300, B300},         {600, B600},
        {1200, B1200},       {1800, B1800},       {2400, B2400},       {4800, B4800},
        {9600, B9600},       {19200, B19200},     {38400, B38400},     {57600, B57600},
        {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
        {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000},
        {1500000, B1500000}, {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000},
        {3500000, B3500000}, {4000000, B4000000},
    };
    for (const Pair& p : kSpeeds) {
        if (p.baud == baud) return p.speed;
    }
    return std::nullopt;
}

// The slave side of a pseudo-terminal (Unix98 majors 136-143, legacy BSD major 3).
bool isPseudoTerminalSlave(int fd) {
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode)) return false;
    const unsigned m = major(st.st_rdev);
    return (m >= 136 && m <= 143) || m == 3;
}

int queuedOutput(int fd) {
    int queued = 0;
    return ioctl(fd, TIOCOUTQ, &queued) == 0 ? queued : 0;
}

}  // namespace

unsigned writeTimeoutMsPerByte(unsigned baudRate) { return baudRate == 0 ? 0 : 19200 / baudRate; }

SerialDevice::~SerialDevice() { close(); }

bool SerialDevice::open(const std::string& path) {
    close();
    lastError_ = 0;
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        lastError_ = errno;
        return false;
    }
    // One program at a time on the port; this also refuses files that are no terminal.
    if (!isatty(fd) || ioctl(fd, TIOCEXCL) != 0) {
        lastError_ = errno;
        ::close(fd);
        return false;
    }
    fd_ = fd;
    pseudoTerminal_ = isPseudoTerminalSlave(fd);
    return true;
}

// Lets queued output drain while it moves; returns what is still queued once it stalls.
int SerialDevice::drainWhileMoving() {
    // The kernel's own close waits up to 30 s for queued output, for ever if flow control holds
    // it; let output drain while it moves, and give up once it stalls.
    int queued = queuedOutput(fd_);
    auto stallDeadline = detail::deadlineAfter(kCloseStallMs);
    while (queued > 0 && detail::msUntil(stallDeadline) > 0) {
        detail::waitFor(-1, 0, detail::deadlineAfter(10), detail::Hook::Run);
        const int now = queuedOutput(fd_);
        if (now < queued) stallDeadline = detail::deadlineAfter(kCloseStallMs);
        queued = now;
    }
    return queued;
}

void SerialDevice::close() {
    if (fd_ < 0) return;
    // Only output that stalled is dropped. A pseudo-terminal reports nothing queued, and a flush
    // of its slave empties what the other end has not read yet: the last command would be lost.
    if (drainWhileMoving() > 0) tcflush(fd_, TCOFLUSH);
    // A pseudo-terminal's slave outlives this close when the simulator holds it open, and the
    // exclusive flag would outlive it too.
    ioctl(fd_, TIOCNXCL);
    ::close(fd_);
    fd_ = -1;
}

std::uint64_t SerialDevice::writeBoundMs(std::size_t n) const {
    if (timeouts_.writeMsPerByte == 0 && timeouts_.writeConstantMs == 0) {
        return std::max<std::uint64_t>(kUntimedWriteMinMs, n);
    }
    return std::uint64_t{n} * timeouts_.writeMsPerByte + timeouts_.writeConstantMs;
}

long SerialDevice::write(const std::uint8_t* data, std::size_t n) {
    if (fd_ < 0) return -1;
    if (n == 0) return 0;
    const auto deadline = detail::deadlineAfter(writeBoundMs(n));
    std::size_t done = 0;
    while (done < n) {
        const ssize_t w = ::write(fd_, data + done, n - done);
        if (w > 0) {
            done += static_cast<std::size_t>(w);
            continue;
        }
        if (w < 0 && errno == EINTR) continue;
        if (w < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return done ? static_cast<long>(done) : -1;
        // The output buffer is full (flow control holds it): wait for room until the time-out.
        const int ready = detail::waitFor(fd_, POLLOUT, deadline, detail::Hook::Run);
        if (ready == 0) break;
        if (ready < 0) return done ? static_cast<long>(done) : -1;
    }
    return static_cast<long>(done);
}

long SerialDevice::read(std::uint8_t* buf, std::size_t n) {
    const Timeouts& t = timeouts_;
    if (t.readIntervalMs == Timeouts::kReturnAtOnce && t.readMsPerByte == 0 && t.readConstantMs == 0) {
        return detail::readAvailable(fd_, buf, n);
    }
    if (fd_ < 0) return -1;
    const auto total = detail::deadlineAfter(std::uint64_t{n} * t.readMsPerByte + t.readConstantMs);
    const bool interval = t.readIntervalMs != 0 && t.readIntervalMs != Timeouts::kReturnAtOnce;
    std::size_t got = 0;
    while (got < n) {
        const long r = detail::readAvailable(fd_, buf + got, n - got);
        if (r < 0) return got ? static_cast<long>(got) : -1;
        got += static_cast<std::size_t>(r);
        if (got == n) break;
        auto deadline = total;
        if (interval && got > 0) deadline = std::min(deadline, detail::deadlineAfter(t.readIntervalMs));
        const int ready = detail::waitFor(fd_, POLLIN, deadline, detail::Hook::Run);
        if (ready == 0) break;
        if (ready < 0) return got ? static_cast<long>(got) : -1;
    }
    return static_cast<long>(got);
}

// Input is dropped; output only once it stalled, for the reason close() gives: a purge right after
// the last write (the port object purges when it closes) must not lose that write.
bool SerialDevice::purge() {
    if (fd_ < 0) return false;
    if (drainWhileMoving() > 0 && tcflush(fd_, TCOFLUSH) != 0) return false;
    return tcflush(fd_, TCIFLUSH) == 0;
}

ModemLines SerialDevice::modemLines() {
    ModemLines lines;
    int bits = 0;
    if (fd_ < 0 || ioctl(fd_, TIOCMGET, &bits) != 0) return lines;  // ENOTTY/EINVAL: cannot tell
    lines.known = true;
    lines.cts = (bits & TIOCM_CTS) != 0;
    lines.dsr = (bits & TIOCM_DSR) != 0;
    return lines;
}

bool SerialDevice::configure(const SerialSettings& settings) {
    if (fd_ < 0) return false;
    const std::optional<speed_t> speed = termiosSpeed(settings.baudRate);
    if (!speed) return false;

    termios tio{};
    if (tcgetattr(fd_, &tio) != 0) return false;
    cfmakeraw(&tio);
    tio.c_iflag &= ~static_cast<tcflag_t>(IXOFF | IXANY | INPCK);

    // Data bits 5 to 8; parity in the codes of the Windows device-control block (0 none, 1 odd,
    // 2 even, 3 mark, 4 space); stop bits 0 one, 2 two. termios has no one and a half: 1 (which
    // UARTs use only with five data bits) is sent as two, the nearest that keeps the receiver in step.
    static constexpr tcflag_t kSizes[] = {CS5, CS6, CS7, CS8};
    static constexpr tcflag_t kParities[] = {0, PARENB | PARODD, PARENB, PARENB | PARODD | CMSPAR,
                                             PARENB | CMSPAR};
    static constexpr tcflag_t kStopBits[] = {0, CSTOPB, CSTOPB};
    if (settings.dataBits < 5 || settings.dataBits > 8) return false;
    if (settings.parity < 0 || settings.parity > 4) return false;
    if (settings.stopBits < 0 || settings.stopBits > 2) return false;
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB);
    tio.c_cflag |= kSizes[settings.dataBits - 5] | kParities[settings.parity] | kStopBits[settings.stopBits];
    if (settings.parity != 0) tio.c_iflag |= INPCK;
    // CTS/RTS flow control. The original also holds output on DSR; Linux has no DSR flow
    // control, so only CTS holds output here.
    tio.c_cflag |= CRTSCTS | CLOCAL | CREAD;
    if (pseudoTerminal_) {
        // A pseudo-terminal carries bytes, not frames: Linux keeps it at CS8 without parity and
        // glibc's tcsetattr then reports EINVAL for any other frame. The settings were checked
        // above all the same, so a bad value fails here as on a real port.
        tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CMSPAR);
        tio.c_cflag |= CS8;
        tio.c_iflag &= ~static_cast<tcflag_t>(INPCK);
    }
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    if (cfsetispeed(&tio, *speed) != 0 || cfsetospeed(&tio, *speed) != 0) return false;
    if (tcsetattr(fd_, TCSANOW, &tio) != 0) return false;
    // tcsetattr succeeds when any one change took, and glibc checks only the frame size and
    // parity; a UART that cannot do the speed keeps its old one.
    termios applied{};
    if (tcgetattr(fd_, &applied) != 0 || cfgetospeed(&applied) != *speed) return false;

    // DTR and RTS on. A pseudo-terminal has no modem lines and refuses; that is no failure.
    const int lines = TIOCM_DTR | TIOCM_RTS;
    ioctl(fd_, TIOCMBIS, &lines);
    return true;
}

bool SerialDevice::setWriteTimeout(unsigned msPerByte) {
    timeouts_ = Timeouts{};
    timeouts_.writeMsPerByte = msPerByte;
    return true;
}

bool SerialDevice::setTimeouts(const Timeouts& timeouts) {
    timeouts_ = timeouts;
    return fd_ >= 0;
}

bool SerialDevice::drainOutput() {
    if (fd_ < 0) return false;
    int queued = queuedOutput(fd_);
    const auto deadline = detail::deadlineAfter(writeBoundMs(static_cast<std::size_t>(std::max(queued, 0))));
    while (queued > 0 && detail::msUntil(deadline) > 0) {
        detail::waitFor(-1, 0, detail::deadlineAfter(10), detail::Hook::Run);
        queued = queuedOutput(fd_);
    }
    return queued <= 0;
}

}  // namespace velmora::platform
