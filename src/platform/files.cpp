// File-system queries behind platform/files.h, over POSIX.
#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

namespace velmora::platform {

std::string currentDirectory() {
    // getcwd reports ERANGE when the buffer is short; grow until the path fits.
    std::vector<char> buffer(1024);
    while (true) {
        if (::getcwd(buffer.data(), buffer.size())) return std::string(buffer.data());
        if (errno != ERANGE || buffer.size() >= (std::size_t{1} << 20)) return {};
        buffer.resize(buffer.size() * 2);
    }
}

bool pathExists(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0;
}

namespace {

// Up to `limit` bytes of a regular file; outcome Read, or why nothing was read.
TextFileRead readRegularFile(const std::string& path, std::size_t limit) {
    using Outcome = TextFileRead::Outcome;
    TextFileRead read;
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        read.outcome = errno == ENOENT || errno == ENOTDIR ? Outcome::Missing : Outcome::Unreadable;
        read.reason = std::strerror(errno);
        return read;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        read.outcome = Outcome::NotRegularFile;
        return read;
    }
    // Room for what the file holds (plus a byte to see it end), never the whole limit: a small
    // file under a large cap costs its own size.
    std::string text;
    std::size_t filled = 0;
    const auto size = static_cast<unsigned long long>(info.st_size);
    text.resize(static_cast<std::size_t>(std::min<unsigned long long>(limit, size + 1)));
    while (filled < limit) {
        if (filled == text.size()) text.resize(std::min(limit, std::max<std::size_t>(text.size() * 2, 4096)));
        const ssize_t n = ::read(fd, text.data() + filled, text.size() - filled);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            read.outcome = Outcome::Unreadable;
            read.reason = std::strerror(errno);
            ::close(fd);
            return read;
        }
        if (n == 0) break;
        filled += static_cast<std::size_t>(n);
    }
    ::close(fd);
    text.resize(filled);
    read.outcome = Outcome::Read;
    read.text = std::move(text);
    return read;
}

}  // namespace

std::optional<std::string> readFileHead(const std::string& path, std::size_t maxBytes) {
    TextFileRead read = readRegularFile(path, maxBytes);
    if (!read.hasText()) return std::nullopt;
    return std::move(read.text);
}

TextFileRead readTextFile(const std::string& path, std::size_t maxBytes) {
    // One byte past the cap tells a file of exactly the cap from a longer one.
    TextFileRead read = readRegularFile(path, maxBytes + 1);
    if (read.text.size() > maxBytes) {
        // Whole lines only: a cut must not leave half a key or value behind.
        read.text.resize(maxBytes);
        const auto lastEnd = read.text.find_last_of("\r\n");
        read.text.resize(lastEnd == std::string::npos ? 0 : lastEnd + 1);
        read.outcome = TextFileRead::Outcome::Cut;
    }
    return read;
}

std::string ignoredNote(const TextFileRead& read, const std::string& path, std::size_t maxBytes) {
    switch (read.outcome) {
        case TextFileRead::Outcome::Read:
        case TextFileRead::Outcome::Missing:
            return {};
        case TextFileRead::Outcome::Cut:
            return path + " is larger than " + std::to_string(maxBytes / 1024) +
                   " KiB; only its first lines were read, the rest is ignored";
        case TextFileRead::Outcome::NotRegularFile:
            return path + " is not a regular file; ignored";
        case TextFileRead::Outcome::Unreadable:
            return "cannot read " + path + ": " + read.reason + "; ignored";
    }
    return {};
}

namespace {

std::string directoryOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The path a name stands for once its links are followed (a dangling link: the name it points
// to, which writing creates). Empty after too many links.
std::string followLinks(std::string path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
        std::vector<char> target(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 255) + 1);
        const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
        if (n <= 0 || static_cast<std::size_t>(n) >= target.size()) return path;
        std::string next(target.data(), static_cast<std::size_t>(n));
        path = next[0] == '/' ? next : directoryOf(path) + "/" + next;
    }
    return {};
}

enum class OutputKind { Replace, Stream, Refused };

struct OutputTarget {
    OutputKind kind = OutputKind::Refused;
    std::string path;  // links followed
    bool exists = false;
    mode_t mode = 0;
    std::string problem;
    int error = 0;
};

OutputTarget examine(const std::string& path) {
    OutputTarget t;
    if (path.empty()) {
        t.problem = "no file name";
        t.error = ENOENT;
        return t;
    }
    t.path = followLinks(path);
    if (t.path.empty()) {
        t.problem = path + ": " + std::strerror(ELOOP);
        t.error = ELOOP;
        return t;
    }
    struct stat info {};
    if (::stat(t.path.c_str(), &info) == 0) {
        t.exists = true;
        t.mode = info.st_mode;
        if (S_ISCHR(info.st_mode) || S_ISFIFO(info.st_mode)) {
            t.kind = OutputKind::Stream;
            if (::access(t.path.c_str(), W_OK) != 0) {
                t.error = errno;
                t.problem = "cannot write " + path + ": " + std::strerror(errno);
                t.kind = OutputKind::Refused;
            }
            return t;
        }
        if (!S_ISREG(info.st_mode)) {
            t.error = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
            t.problem = path + (S_ISDIR(info.st_mode) ? " is a directory" : " is not a file, a character device or a FIFO");
            return t;
        }
    } else if (errno != ENOENT) {
        t.error = errno;
        t.problem = "cannot write " + path + ": " + std::strerror(errno);
        return t;
    }
    // A new or regular file is written beside itself and renamed: its folder must take a new name.
    const std::string directory = directoryOf(t.path);
    struct stat dir {};
    if (::stat(directory.c_str(), &dir) != 0)
        t.error = errno;
    else if (!S_ISDIR(dir.st_mode))
        t.error = ENOTDIR;
    else if (::access(directory.c_str(), W_OK | X_OK) != 0)
        t.error = errno;
    if (t.error) {
        t.problem = "cannot write in " + directory + ": " + std::strerror(t.error);
        return t;
    }
    t.kind = OutputKind::Replace;
    return t;
}

bool writeAll(int fd, std::string_view bytes, int& failure) {
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            failure = n < 0 ? errno : EIO;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// A temporary name beside `path` that nothing holds yet, opened for writing. Created with mode
// 0666 so the umask applies as it would to the file itself.
int openTemporaryBeside(const std::string& path, std::string& temp) {
    const std::string directory = directoryOf(path);
    const auto slash = path.find_last_of('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = directory + "/." + name + ".velmora-" + std::to_string(::getpid()) + "-" +
               std::to_string(__atomic_fetch_add(&counter, 1u, __ATOMIC_RELAXED));
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

}  // namespace

std::string outputProblem(const std::string& path) { return examine(path).problem; }

bool writeOutputFile(const std::string& path, std::string_view bytes, std::string& error, int* errorNumber) {
    const OutputTarget t = examine(path);
    auto fail = [&](const std::string& why, int number) {
        error = why;
        if (errorNumber) *errorNumber = number;
        return false;
    };
    if (t.kind == OutputKind::Refused) return fail(t.problem, t.error);
    int failure = 0;
    if (t.kind == OutputKind::Stream) {
        // Not blocking on the open: a FIFO that nobody reads would hold the program forever.
        const int fd = ::open(t.path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        if (fd < 0)
            return fail(errno == ENXIO ? path + " is a FIFO that no program reads"
                                       : "cannot write " + path + ": " + std::strerror(errno),
                        errno);
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        const bool written = writeAll(fd, bytes, failure);
        if (::close(fd) != 0 && written) failure = errno;
        if (!written || failure) return fail("cannot write " + path + ": " + std::strerror(failure), failure);
        return true;
    }
    std::string temp;
    const int fd = openTemporaryBeside(t.path, temp);
    if (fd < 0) return fail("cannot write in " + directoryOf(t.path) + ": " + std::strerror(errno), errno);
    bool written = writeAll(fd, bytes, failure);
    if (written && t.exists) ::fchmod(fd, t.mode & 07777);
    if (::close(fd) != 0 && written) {
        written = false;
        failure = errno;
    }
    if (!written) {
        ::unlink(temp.c_str());
        return fail("cannot write " + path + ": " + std::strerror(failure), failure);
    }
    if (::rename(temp.c_str(), t.path.c_str()) != 0) {
        failure = errno;
        ::unlink(temp.c_str());
        return fail("cannot replace " + path + ": " + std::strerror(failure), failure);
    }
    return true;
}

bool ensureDirectory(const std::string& path, std::string& error) {
    if (::mkdir(path.c_str(), 0777) == 0) return true;
    const int made = errno;
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) return true;
    error = made == EEXIST ? "not a directory" : std::strerror(made);
    return false;
}

std::vector<std::string> directoryEntries(const std::string& path) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(path.c_str());
    if (!dir) return names;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    ::closedir(dir);
    return names;
}


bool standardErrorIsTerminal() { return ::isatty(STDERR_FILENO) == 1; }

}  // namespace velmora::platform
