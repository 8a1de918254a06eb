// Read-only file mapping behind platform/mappedfile.h, over POSIX mmap.
#include "platform/mappedfile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <utility>

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

MappedFile::~MappedFile() { close(); }

MappedFile::MappedFile(MappedFile&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      open_(std::exchange(other.open_, false)) {}

MappedFile& MappedFile::operator=(MappedFile&& other) noexcept {
    if (this != &other) {
        close();
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
        open_ = std::exchange(other.open_, false);
    }
    return *this;
}

bool MappedFile::open(const std::string& path) {
    close();
    struct stat info {};
    const int fd = openRegular(path, info);
    if (fd < 0) return false;
    const auto size = static_cast<std::size_t>(info.st_size);
    if (size > 0) {
        void* p = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
        if (p == MAP_FAILED) {
            ::close(fd);
            return false;
        }
        // Read once, front to back: let the kernel read ahead and drop pages behind us.
        ::madvise(p, size, MADV_SEQUENTIAL);
        data_ = static_cast<const std::uint8_t*>(p);
    }
    ::close(fd);  // the mapping keeps the file
    size_ = size;
    open_ = true;
    return true;
}

void MappedFile::close() {
    if (data_) ::munmap(const_cast<std::uint8_t*>(data_), size_);
    data_ = nullptr;
    size_ = 0;
    open_ = false;
}

void MappedFile::release(std::size_t n) {
    if (!data_) return;
    const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    const std::size_t length = std::min(n, size_) / page * page;
    if (length > 0) ::madvise(const_cast<std::uint8_t*>(data_), length, MADV_DONTNEED);
}

long long regularFileSize(const std::string& path) {
    struct stat info {};
    const int fd = openRegular(path, info);
    if (fd < 0) return -1;
    ::close(fd);
    return static_cast<long long>(info.st_size);
}

}  // namespace velmora::platform
