// The simulated printer's image store and its commands: "IS<size>,'<name>'" followed at once by
// exactly <size> raw bytes (never parsed as commands), "ID'<name>'" and "ID*" (delete one or all),
// "II" (prints the image list as a label), and "IR<x>,<y>,'<name>'" (puts a stored image on the
// label being built, which "P" prints). Memory stays bounded: an image larger than the store
// takes is received and dropped, and the label being built records why.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::sim {

class CommandSet;

class ImageStore {
  public:
    static constexpr std::size_t kMaxImageBytes = 16u << 20;
    static constexpr std::size_t kMaxTotalBytes = 64u << 20;
    static constexpr std::size_t kMaxImages = 256;

    // Keeps an image, replacing one of the same name. False (nothing changes) when it does not fit.
    bool store(const std::string& name, std::string bytes);
    bool remove(const std::string& name);
    void clear();
    std::optional<std::string> image(const std::string& name) const;
    // Names and sizes, by name.
    std::vector<std::pair<std::string, std::size_t>> list() const;

    // Called with each image stored (outside the lock): `velmora-sim --images DIR` writes it.
    using Sink = std::function<void(const std::string& name, std::string_view bytes)>;
    void setSink(Sink sink);

  private:
    mutable std::mutex mutex_;
    std::map<std::string, std::string> images_;
    std::size_t totalBytes_ = 0;
    Sink sink_;
};

// The header "IS<size>,'<name>'": size and name, or nothing when it is malformed.
struct StoreHeader {
    std::uint64_t size = 0;
    std::string name;
};
std::optional<StoreHeader> parseStoreHeader(std::string_view command);

void addImageCommands(CommandSet& commands);

// A file name for an image name: bytes that cannot be in a file name ('/', NUL) and a leading
// dot become '_', so no name can reach outside the directory.
std::string imageFileName(const std::string& name);

}  // namespace velmora::sim
