// The usblp device. The fd stays non-blocking, as the serial device's: reads return at once,
// and every wait for the printer is a bounded poll.
#include "platform/usbprinterdevice.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "platform/pollwait.h"

namespace velmora::platform {

UsbPrinterDevice::~UsbPrinterDevice() { close(); }

bool UsbPrinterDevice::open(const std::string& path) {
    close();
    lastError_ = 0;
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        lastError_ = errno;
        return false;
    }
    // usblp admits one opener by itself; the lock keeps out cooperating programs on any node.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        lastError_ = errno == EWOULDBLOCK ? EBUSY : errno;
        ::close(fd);
        return false;
    }
    fd_ = fd;
    wrote_ = false;
    return true;
}

void UsbPrinterDevice::close() {
    if (fd_ < 0) return;
    if (wrote_) detail::waitFor(fd_, POLLOUT, detail::deadlineAfter(stallBoundMs_), detail::Hook::Run);
    ::close(fd_);  // the lock goes with the descriptor
    fd_ = -1;
}

long UsbPrinterDevice::write(const std::uint8_t* data, std::size_t n) {
    if (fd_ < 0) return -1;
    if (n == 0) return 0;
    auto deadline = detail::deadlineAfter(stallBoundMs_);
    std::size_t done = 0;
    while (done < n) {
        const ssize_t w = ::write(fd_, data + done, n - done);
        if (w > 0) {
            done += static_cast<std::size_t>(w);
            wrote_ = true;
            deadline = detail::deadlineAfter(stallBoundMs_);  // the bound is on a stall, not the whole write
            continue;
        }
        if (w < 0 && errno == EINTR) continue;
        if (w < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return done ? static_cast<long>(done) : -1;
        const int ready = detail::waitFor(fd_, POLLOUT, deadline, detail::Hook::Run);
        if (ready == 0) break;
        if (ready < 0 || (ready & (POLLERR | POLLHUP | POLLNVAL))) return done ? static_cast<long>(done) : -1;
    }
    return static_cast<long>(done);
}

long UsbPrinterDevice::read(std::uint8_t* buf, std::size_t n) {
    return detail::readAvailable(fd_, buf, n);
}

}  // namespace velmora::platform
