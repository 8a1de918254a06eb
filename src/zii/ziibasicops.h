// The ZII basic settings as operations: one table of the nine settings (query and lock codes,
// the values a reply may hold, the words of each list) and the page's Get and Set, used by its
// dialog, the command line and profiles alike.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/operation.h"
#include "platform/clock.h"

namespace velmora::zii {

enum class BasicKind {
    Size,    // a label size in dots: a Set sends the whole part of the number
    Offset,  // tear-off and print offset: a whole number with a sign
    Number,  // a list whose entries are the numbers min ... max (speed, darkness)
    Letter,  // a list whose entries the printer names by a letter
};

struct BasicKey {
    const char* name;  // "label-width", as the command line and profiles name it
    BasicKind kind;
    int query;     // setting query code
    int lockCode;  // 0: no lock
    int min, max;  // Size, Offset: the values a reply may hold; Number: the first and last entry
    std::vector<std::pair<std::string, int>> letters;  // Letter: each reply letter and its entry
    std::vector<std::string> words;                     // Number, Letter: the word of each entry
};

// The rows in page order, which is also the order Get asks for them.
enum BasicRow {
    kWidthRow,
    kHeightRow,
    kOrientationRow,
    kSpeedRow,
    kDarknessRow,
    kPrintModeRow,
    kMediaTypeRow,
    kTearOffRow,
    kPrintOffsetRow,
    kBasicRowCount
};
const std::array<BasicKey, kBasicRowCount>& basicKeys();
const BasicKey* findBasicKey(std::string_view name);

// Lock codes in the order Set unlocks and locks them again.
inline constexpr std::array<int, 6> kLockOrder{3, 1, 2, 7, 6, 5};
// "lock." and the name of the row a lock code belongs to.
std::string lockKeyName(int lockCode);
// The lock codes of the lock keys in the order a Get reports them (by code).
std::vector<int> reportedLockCodes();

// Pauses of the page, in milliseconds.
inline constexpr unsigned kBetweenQueriesMs = 80;
inline constexpr unsigned kBasicReplyWaitMs = 70;
inline constexpr unsigned kAfterGetMs = 30;
inline constexpr unsigned kAfterSetMs = 500;
// A Get's own pauses: a pause between queries, a wait before each read, and the pause at its end.
inline constexpr unsigned kBasicGetPausesMs =
    kBasicRowCount * (kBetweenQueriesMs + kBasicReplyWaitMs) + kBasicReplyWaitMs + kAfterGetMs;

// What the page shows for a reply (`text` read up to its first zero): the number it starts with,
// or the entry's word; nothing when the reply holds no value the key takes. A number with more
// after it ("812zz") is shown, but only a reply that is the number alone is valid.
std::optional<std::string> decodeBasicReply(const BasicKey& key, std::string_view text);
// The entry of a list key's word; -1 when none.
int entryOfWord(const BasicKey& key, std::string_view word);

// "Get From Printer" as one action: the nine setting queries in page order, then the lock status.
// Values: the nine settings, then the lock keys (text "0" or "1"). A value whose reply came but
// holds nothing the key takes has no text.
app::Outcome getBasicSettings(link::CComm& comm, platform::Clock& clock);

// What "Set to Printer" writes: a row is sent when used; `value` is the number sent (Size,
// Offset) or the list entry (-1: none, and the row sends nothing). `locks` holds a bit per lock
// code (bit code - 1) for the locks put on after the write.
struct BasicSetRequest {
    std::array<bool, kBasicRowCount> use{};
    std::array<int, kBasicRowCount> value{};
    unsigned locks = 0;
};
// The settings block of the used rows, immediate commands first; empty when no row is used.
std::string composeBasicSettings(const BasicSetRequest& request);
// "Set to Printer": unlock, the block (when a row is used) and its pause, then the locks again. A
// failed write stops the series; the locks it had removed are put back without a second message.
app::Outcome setBasicSettings(link::CComm& comm, platform::Clock& clock, const BasicSetRequest& request);

}  // namespace velmora::zii
