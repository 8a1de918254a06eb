// Small file-system queries for the layers above: where the program was started, whether a path
// names anything, and a bounded read of a file that may not be what its name promises.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace velmora::platform {

// The working directory the program runs in; empty when it cannot be determined (for example
// when it has been removed).
std::string currentDirectory();

// True when anything (file, directory, device, dangling link excepted) exists at the path.
bool pathExists(const std::string& path);

// Up to `maxBytes` bytes from the start of a regular file. Nothing (std::nullopt) when the path
// cannot be opened or is not a regular file: a directory, a FIFO or a device is never read, so
// a stray pipe cannot block the caller.
std::optional<std::string> readFileHead(const std::string& path, std::size_t maxBytes);

}  // namespace velmora::platform
