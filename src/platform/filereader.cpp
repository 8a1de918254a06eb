// Piecewise reads of a regular file behind platform/filereader.h, over POSIX pread.
#include "platform/filereader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/device.h"

namespace velmora::platform {

namespace {
// O_NONBLOCK: opening a FIFO must not wait for a writer before we can refuse it.
int openRegular(const std::string& path, struct stat& info) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return -1;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return -1;
    }
    return fd;
}
}  // namespace

FileReader::~FileReader() { close(); }

bool FileReader::open(const std::string& path) {
    close();
    struct stat info {};
    fd_ = openRegular(path, info);
    if (fd_ < 0) return false;
    size_ = static_cast<std::uint64_t>(info.st_size);
    mtimeSec_ = info.st_mtim.tv_sec;
    mtimeNsec_ = info.st_mtim.tv_nsec;
    changed_ = false;
    // Read once, front to back: let the kernel read ahead.
    ::posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);
    return true;
}

void FileReader::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    size_ = 0;
}

bool FileReader::stillAsOpened() {
    if (fd_ < 0) return false;
    struct stat info {};
    if (::fstat(fd_, &info) != 0 || static_cast<std::uint64_t>(info.st_size) != size_ ||
        info.st_mtim.tv_sec != mtimeSec_ || info.st_mtim.tv_nsec != mtimeNsec_) {
        changed_ = true;
        return false;
    }
    return true;
}

bool FileReader::read(std::uint64_t offset, std::uint8_t* buf, std::size_t n) {
    if (!stillAsOpened()) return false;
    std::size_t done = 0;
    while (done < n) {
        const ssize_t got = ::pread(fd_, buf + done, n - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            changed_ = got == 0;  // the end came early: the file shrank under us
            return false;
        }
        done += static_cast<std::size_t>(got);
    }
    return true;
}

void FileReader::release(std::uint64_t n) {
    if (fd_ >= 0 && n > 0) ::posix_fadvise(fd_, 0, static_cast<off_t>(n), POSIX_FADV_DONTNEED);
}

long StreamSocket::sendFile(FileReader& file, std::uint64_t offset, std::size_t n, unsigned timeoutMs) {
    std::vector<std::uint8_t> bytes(n);
    if (!file.read(offset, bytes.data(), n)) return -1;
    return send(bytes.data(), n, timeoutMs);
}

long long regularFileSize(const std::string& path) {
    struct stat info {};
    const int fd = openRegular(path, info);
    if (fd < 0) return -1;
    ::close(fd);
    return static_cast<long long>(info.st_size);
}

}  // namespace velmora::platform
