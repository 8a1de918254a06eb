// What a sending action lists as written: the size of what went, and for bulk data (a file, a
// chart of labels) a bounded head of its bytes, so an outcome never holds a whole file.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "app/operation.h"

namespace velmora::app {

inline constexpr std::size_t kSentHeadBytes = 32;
inline constexpr const char* kSentHeadSuffix = ".head";

// Appends `key` = "N bytes" and, when there are bytes, `key`.head = the first kSentHeadBytes as
// two-digit hexadecimal pairs, with "..." after them when more followed.
void noteSent(KeyValues& written, const std::string& key, std::string_view bytes);
// The same for bulk data sent in parts: `size` bytes in all, the first of them `head`.
void noteSent(KeyValues& written, const std::string& key, std::size_t size, std::string_view head);

// The size noteSent wrote as `value` ("N bytes"); nothing for any other value.
std::optional<std::size_t> sentLength(std::string_view value);

// Whether a write went: the port object answers a write of no bytes with 0 on Ethernet, and an
// empty text is all sent when nothing was to go.
inline bool wrote(int result, std::size_t size) { return result != 0 || size == 0; }

}  // namespace velmora::app
