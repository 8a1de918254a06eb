// A regular file mapped read-only, so a large file (a firmware image) can be sent without copying
// it into the heap: the pages are read in as they are written out and cost little resident memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace velmora::platform {

class MappedFile {
public:
    MappedFile() = default;
    ~MappedFile();
    MappedFile(MappedFile&& other) noexcept;
    MappedFile& operator=(MappedFile&& other) noexcept;
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    // Maps the whole file. False for a path that cannot be opened or that is not a regular file
    // (a FIFO or a device would never end). An empty file opens with no bytes.
    bool open(const std::string& path);
    void close();
    bool isOpen() const { return open_; }

    std::span<const std::uint8_t> bytes() const { return {data_, size_}; }
    std::size_t size() const { return size_; }
    // Drops the pages of the first n bytes from memory (they are read again if touched), so
    // reading a large file front to back keeps little of it resident.
    void release(std::size_t n);

private:
    const std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    bool open_ = false;
};

// The size of a regular file, or -1 when the path cannot be opened or is not a regular file.
long long regularFileSize(const std::string& path);

}  // namespace velmora::platform
