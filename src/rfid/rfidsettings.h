// The RFID encoder's seven settings as values: read with ">RFI,1" ... ">RFI,7", written with
// ">RFS" and ">RFTP". The configuration dialog and anything else that reads or writes the
// encoder's settings (the command line, settings profiles) share these functions, so the bytes
// on the link are the same.
//
// Keys, as `velmora-cli rfid get` prints them:
//   tag-type=GEN2|ISO-B  power=1..31  position=-9999..9999  retries=0..10  labels=0..5
//   valid=N  void=N      (the counters: read only)
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "link/comm.h"
#include "platform/clock.h"

namespace velmora::rfid {

inline constexpr unsigned kSettingReplyWaitMs = 100;
inline constexpr std::size_t kSettingReplyLimit = 16;
inline constexpr int kSettingItems = 7;

// The settings as the dialog's lists hold them: positions, -1 for none.
struct EncoderSettings {
    int tagType = -1;  // 0 GEN2, 1 ISO-B
    int power = -1;    // the encoder's power minus 1
    std::string position;
    int retries = -1;
    int labels = -1;
    std::string valid;
    std::string voids;
};

// The reply of each item, in order; nothing for an item whose read returned no byte.
using SettingReplies = std::array<std::optional<std::string>, kSettingItems>;
SettingReplies querySettings(link::CComm& comm, platform::Clock& clock);
// Puts the replies into the values as the dialog shows them (a missing reply reads as empty).
void applyReplies(EncoderSettings& settings, const SettingReplies& replies);
bool allAnswered(const SettingReplies& replies);

// A transponder position the encoder takes: an optional "-" and 1 to 4 digits.
bool validPosition(std::string_view text);
// The Set's text (">RFS..." CR ">RFTP..." CR); nothing when a list has no selection or the
// position is not one the encoder takes, so no guessed value is ever sent.
std::optional<std::string> settingsText(const EncoderSettings& settings);

using KeyValues = std::vector<std::pair<std::string, std::string>>;
KeyValues settingsKeyValues(const EncoderSettings& settings);
// Changes the named settings; false, with `error` naming the first bad key or value, otherwise.
bool applyKeyValues(EncoderSettings& settings, const KeyValues& values, std::string& error);

// The whole Get, as one action: nothing unless all seven items answered.
std::optional<KeyValues> readEncoderSettings(link::CComm& comm, platform::Clock& clock);
// Reads the settings, changes the given keys and writes all five writable ones. Nonzero when the
// write went out; 0 with `error` set when a read or the write failed or a value was refused
// (nothing is written then).
int writeEncoderSettings(link::CComm& comm, platform::Clock& clock, const KeyValues& values, std::string& error);

}  // namespace velmora::rfid
