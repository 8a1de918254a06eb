// The user's own files, read and written whole: command files the tester loads and saves.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace velmora::platform {

// A regular file's bytes, up to `maxBytes`; nothing when it cannot be opened or read, is not a
// regular file, or is longer than that. `error` gets the errno (EFBIG for too long).
std::optional<std::string> readUserFile(const std::string& path, std::size_t maxBytes, int* error = nullptr);
// Writes `bytes` as every output file is written (platform/files.h: writeOutputFile); false when
// any step fails.
bool writeUserFile(const std::string& path, std::string_view bytes, int* error = nullptr);

}  // namespace velmora::platform
