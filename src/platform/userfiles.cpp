// The user's files over POSIX.
#include "platform/userfiles.h"

#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace velmora::platform {

namespace {
void set(int* error, int value) {
    if (error) *error = value;
}
}  // namespace

std::optional<std::string> readUserFile(const std::string& path, std::size_t maxBytes, int* error) {
    // O_NONBLOCK: a FIFO must not hang the window waiting for a writer; it is refused below.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        set(error, errno);
        return std::nullopt;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        set(error, S_ISDIR(info.st_mode) ? EISDIR : EINVAL);
        ::close(fd);
        return std::nullopt;
    }
    if (static_cast<unsigned long long>(info.st_size) > maxBytes) {
        set(error, EFBIG);
        ::close(fd);
        return std::nullopt;
    }
    std::string bytes;
    char buffer[65536];
    while (true) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            set(error, errno);
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0) break;
        bytes.append(buffer, static_cast<std::size_t>(n));
        if (bytes.size() > maxBytes) {
            set(error, EFBIG);
            ::close(fd);
            return std::nullopt;
        }
    }
    ::close(fd);
    return bytes;
}

bool writeUserFile(const std::string& path, std::string_view bytes, int* error) {
    std::string why;
    return writeOutputFile(path, bytes, why, error);
}

}  // namespace velmora::platform
