// The command tester's printer actions as operations, shared with the communication window:
// sending the editor's text, reading what the printer sent, and the command files both load.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "app/operation.h"
#include "platform/clock.h"
#include "tester/testerformat.h"

namespace velmora::tester {

inline constexpr std::size_t kReceiveReadSize = 512;
inline constexpr const char* kReceivedKey = "received";
// The most copies one Multi Send makes: the end of the count's spin, and of what may be typed.
inline constexpr int kMaxSendCount = 10000;

// Multi Send: writes `text` (UTF-8, converted to the code page) `count` times, after a 100 ms
// pause each time when it is longer than 1500 bytes; refused, with nothing sent, when the code
// page cannot hold a character of it. Steps: Progress with the sends done of
// `count` after each. Stops at the first failed write; a count of 0 or less sends nothing.
app::Outcome multiSend(link::CComm& comm, platform::Clock& clock, const std::string& text, int count,
                       const app::Steps& steps = {});

// One "Read from printer": up to 512 bytes, as they came. The value "received" holds them and is
// valid whenever any came: whatever the printer sent is what this shows.
app::Outcome readFromPrinter(link::CComm& comm);

// The character-set test labels: the characters under 80H or from 80H of the code table, every
// code table in turn, or the characters that differ between the sixteen national sets.
enum class CharsetTest { Under80, Over80, AllTables, International };
struct CharsetRequest {
    CharsetTest test = CharsetTest::Under80;
    CharsetFont font;
    int set = 0;    // position in the national sets
    int table = 0;  // position in the code tables
};
// Vector font sizes when the vector font is chosen (the bitmap font's multipliers start at 1).
inline constexpr int kCharsetVectorSize = 35;
// Writes the test's labels, stopping at the first failed write. A set or table that is no
// position in its list is refused: no index the user did not choose goes to the printer.
app::Outcome printCharsetTest(link::CComm& comm, const CharsetRequest& request);

// A builder's test label, written as text in the code page (refused as Multi Send refuses).
app::Outcome writeTestPrint(link::CComm& comm, const std::string& text);

// A command file as editor text, as "Load" and "File Open" read it (byte-order marks, else the
// code page); nothing when it cannot be read, with the message to show in `problem`.
std::optional<std::string> loadCommandFile(const std::string& path, std::string& problem);
// The message for a file that could not be written.
std::string cannotWriteMessage(const std::string& path);

}  // namespace velmora::tester
