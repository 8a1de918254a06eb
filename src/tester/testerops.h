// The command tester's printer actions as operations, shared with the communication window:
// sending the editor's text, reading what the printer sent, and the command files both load.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "app/operation.h"
#include "platform/clock.h"

namespace velmora::tester {

inline constexpr std::size_t kReceiveReadSize = 512;
inline constexpr const char* kReceivedKey = "received";

// Multi Send: writes `text` (UTF-8, converted to the code page) `count` times, after a 100 ms
// pause each time when it is longer than 1500 bytes. Steps: Progress with the sends done of
// `count` after each. Stops at the first failed write; a count of 0 or less sends nothing.
app::Outcome multiSend(link::CComm& comm, platform::Clock& clock, const std::string& text, int count,
                       const app::Steps& steps = {});

// One "Read from printer": up to 512 bytes, as they came. The value "received" holds them and is
// valid whenever any came: whatever the printer sent is what this shows.
app::Outcome readFromPrinter(link::CComm& comm);

// A command file as editor text, as "Load" and "File Open" read it (byte-order marks, else the
// code page); nothing when it cannot be read, with the message to show in `problem`.
std::optional<std::string> loadCommandFile(const std::string& path, std::string& problem);
// The message for a file that could not be written.
std::string cannotWriteMessage(const std::string& path);

}  // namespace velmora::tester
