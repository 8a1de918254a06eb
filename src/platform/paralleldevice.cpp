// The lp parallel device. The fd stays non-blocking: the lp driver's blocking write waits for an
// off-line printer without end, and the driver has no poll, so a write that finds the printer busy
// retries in short pauses until its bound runs out.
#include "platform/paralleldevice.h"

#include <fcntl.h>
#include <linux/lp.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/pollwait.h"

namespace velmora::platform {

namespace {
// The pause between attempts when poll cannot tell when the printer will take bytes.
constexpr unsigned kRetryPauseMs = 10;
}  // namespace

std::uint8_t parallelStatusFromLp(int lpStatus) {
    namespace ps = parallel_status;
    std::uint8_t status = 0;
    if (lpStatus & LP_PSELECD) status |= ps::kSelected;
    if (!(lpStatus & LP_PBUSY)) status |= ps::kBusy;  // the BUSY line reads inverted
    if (lpStatus & LP_POUTPA) status |= ps::kPaperEmpty;
    if (!(lpStatus & LP_PERRORP)) status |= ps::kOffLine;  // ERROR is active low
    return status;
}

ParallelDevice::~ParallelDevice() { close(); }

bool ParallelDevice::open(const std::string& path) {
    close();
    // O_NONBLOCK also keeps the open from failing or waiting when the printer is off-line; the
    // port object reads the status itself.
    fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    lastError_ = fd_ >= 0 ? 0 : errno;
    return fd_ >= 0;
}

void ParallelDevice::close() {
    if (fd_ < 0) return;
    ::close(fd_);
    fd_ = -1;
}

long ParallelDevice::write(const std::uint8_t* data, std::size_t n) {
    if (fd_ < 0) return -1;
    if (n == 0) return 0;
    const auto deadline = detail::deadlineAfter(writeBoundMs_);
    std::size_t done = 0;
    bool pollSaidReady = false;
    bool pollHelps = true;  // false once poll said "ready" and the write still could not go
    while (done < n) {
        const ssize_t w = ::write(fd_, data + done, n - done);
        if (w > 0) {
            done += static_cast<std::size_t>(w);
            pollSaidReady = false;
            continue;
        }
        if (w < 0 && errno == EINTR) continue;
        if (w < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return done ? static_cast<long>(done) : -1;
        if (pollSaidReady) pollHelps = false;
        if (detail::msUntil(deadline) == 0) break;
        if (pollHelps) {
            const int ready = detail::waitFor(fd_, POLLOUT, deadline, detail::Hook::Run);
            if (ready < 0) return done ? static_cast<long>(done) : -1;
            pollSaidReady = ready > 0;
        } else {
            detail::waitFor(-1, 0, std::min(deadline, detail::deadlineAfter(kRetryPauseMs)),
                            detail::Hook::Run);
        }
    }
    return static_cast<long>(done);
}

long ParallelDevice::read(std::uint8_t* buf, std::size_t n) {
    return detail::readAvailable(fd_, buf, n);
}

std::optional<std::uint8_t> ParallelDevice::parallelStatus() {
    int lpStatus = 0;
    if (fd_ < 0 || ioctl(fd_, LPGETSTATUS, &lpStatus) != 0) return std::nullopt;
    return parallelStatusFromLp(lpStatus);
}

}  // namespace velmora::platform
