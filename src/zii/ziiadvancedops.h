// The ZII advanced settings as operations: one table of the page's settings (media handling, the
// feed action at power-up, mirror image: query code, reply letters, setting lines, command-line
// words) and the page's Get and Set, used by its dialog, the command line and profiles alike.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "app/operation.h"
#include "platform/clock.h"

namespace velmora::zii {

// List positions of "Media Handling" and "Media feed options".
enum MediaHandling { kTearOff = 0, kPeelOff = 1, kCutter = 2 };
enum MediaFeed { kFeedNextLabel = 0, kFeedCalibrate = 1, kFeedLabelLength = 2, kFeedNone = 3 };

struct AdvancedChoice {
    const char* word;    // as the command line and profiles name it
    const char* letter;  // the reply that names it; nullptr for a setting that is never read
    const char* line;    // the setting line a Set sends for it (without CR LF)
};
struct AdvancedKey {
    const char* name;
    int query;  // setting query code; 0: written only
    std::vector<AdvancedChoice> choices;  // in list order
    const char* noneLine;                 // the line for a list with no entry chosen
};

enum AdvancedRow { kMediaHandlingRow, kMediaFeedRow, kMirrorRow, kAdvancedRowCount };
const std::array<AdvancedKey, kAdvancedRowCount>& advancedKeys();
// The list position of a choice's word; -1 when none.
int choiceOfWord(const AdvancedKey& key, std::string_view word);

inline constexpr int kMediaHandlingQuery = 12;
inline constexpr int kMediaFeedQuery = 14;
inline constexpr unsigned kAdvancedReplyWaitMs = 50;

// The list position a reply names, or -1 when it names none (whole text, case-sensitive).
int mediaHandlingFromReply(std::string_view reply);
int mediaFeedFromReply(std::string_view reply);
// The setting line (without CR LF) for a list position; any other position, "none selected"
// included, gives the printer's automatic handling or no feed.
std::string mediaHandlingLine(int position);
std::string mediaFeedLine(int position);

// "Get From Printer" as one action: media handling, then the feed action. A value whose reply
// names no entry has no text.
app::Outcome getAdvancedSettings(link::CComm& comm, platform::Clock& clock);

// What "Set to Printer" writes: each used row's entry (mirror: 0 clear, 1 ticked).
struct AdvancedSetRequest {
    std::array<bool, kAdvancedRowCount> use{};
    std::array<int, kAdvancedRowCount> choice{-1, -1, -1};
};
// One saved settings block with a line for each used row, in one write.
app::Outcome setAdvancedSettings(link::CComm& comm, const AdvancedSetRequest& request);

}  // namespace velmora::zii
