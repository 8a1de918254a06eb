// File-system queries behind platform/files.h, over POSIX.
#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
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
    std::string text(limit, '\0');
    std::size_t filled = 0;
    while (filled < limit) {
        const ssize_t n = ::read(fd, text.data() + filled, limit - filled);
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

bool replaceFile(const std::string& path, const std::string& text, std::string& error) {
    const auto slash = path.find_last_of('/');
    const std::string directory = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    std::string temp = (slash == std::string::npos ? std::string() : directory) + ".velmora-XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        error = "cannot write in " + directory + ": " + std::strerror(errno);
        return false;
    }
    bool written = true;
    int failure = 0;
    for (std::size_t done = 0; written && done < text.size();) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            written = false;
            failure = n < 0 ? errno : EIO;
        } else {
            done += static_cast<std::size_t>(n);
        }
    }
    if (written && ::fsync(fd) != 0) {
        written = false;
        failure = errno;
    }
    ::close(fd);
    if (!written) {
        error = "cannot write " + path + ": " + std::strerror(failure);
        ::unlink(temp.c_str());
        return false;
    }
    // mkstemp makes the file 0600; a settings file is the user's to read as any other.
    ::chmod(temp.c_str(), 0644);
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        error = "cannot replace " + path + ": " + std::strerror(errno);
        ::unlink(temp.c_str());
        return false;
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
