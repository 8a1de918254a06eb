// A regular file read piece by piece at stated offsets, so a large file (a firmware image) can be
// sent without holding it whole. Nothing is mapped: a file that shrinks or is rewritten while it
// is sent is noticed as such, never as a crash (a mapping would raise SIGBUS past the new end).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace velmora::platform {

class FileReader {
public:
    FileReader() = default;
    ~FileReader();
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    // False for a path that cannot be opened or that is not a regular file (a FIFO or a device
    // would never end). An empty file opens with no bytes.
    bool open(const std::string& path);
    void close();
    bool isOpen() const { return fd_ >= 0; }
    // The size when it was opened: what a transfer announces and sends.
    std::uint64_t size() const { return size_; }

    // Reads the n bytes at `offset` into buf. False when they did not all come or when the file
    // is no longer as it was opened (its size or modification time changed): changed() says so.
    bool read(std::uint64_t offset, std::uint8_t* buf, std::size_t n);
    // False (and changed() true) when the file's size or modification time is no longer as it
    // was opened.
    bool stillAsOpened();
    bool changed() const { return changed_; }
    // Tells the system the first n bytes will not be read again, so a large file read front to
    // back keeps little of itself in memory.
    void release(std::uint64_t n);

private:
    friend class TcpSocket;  // sends a file's bytes straight from it
    int fd_ = -1;
    std::uint64_t size_ = 0;
    long long mtimeSec_ = 0;
    long long mtimeNsec_ = 0;
    bool changed_ = false;
};

// The size of a regular file, or -1 when the path cannot be opened or is not a regular file.
long long regularFileSize(const std::string& path);

}  // namespace velmora::platform
