// Small file-system queries for the layers above: where the program was started, whether a path
// names anything, a bounded read of a file that may not be what its name promises, and the few
// writes the simulator makes (a directory of output files).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// Makes the directory unless it is already one. False, with the reason, when neither holds.
bool ensureDirectory(const std::string& path, std::string& error);
// The names in a directory ("." and ".." left out); empty when it cannot be read.
std::vector<std::string> directoryEntries(const std::string& path);
// Writes the whole file under a temporary name and then renames it into place, so a reader never
// sees half a file. False, with the reason, on failure (nothing is left behind).
bool writeFileWhole(const std::string& path, std::string_view bytes, std::string& error);

// Whether standard error is a terminal (a progress bar is drawn only there).
bool standardErrorIsTerminal();

}  // namespace velmora::platform
