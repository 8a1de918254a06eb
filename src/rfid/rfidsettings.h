// The RFID encoder's seven settings: one table of keys (query item, kind, range), the replies
// judged against it, and the encoder's actions as operations: Get (">RFI,1" ... ">RFI,7"), Set
// (">RFS" and ">RFTP"), the counters' reset and the automatic calibration. The configuration
// dialog, the command line and profiles (the "rfid" settings page) all run these.
//
// Keys, as `velmora-cli rfid get` prints them:
//   tag-type=GEN2|ISO-B  power=1..31  position=N (whole)  retries=0..10  labels=0..5
//   valid=N  void=N      (the counters: read only)
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/operation.h"
#include "link/comm.h"
#include "platform/clock.h"

namespace velmora::rfid {

inline constexpr unsigned kSettingReplyWaitMs = 100;
inline constexpr std::size_t kSettingReplyLimit = 16;
inline constexpr int kSettingItems = 7;

enum class EncoderKind {
    TagType,   // a list entry: GEN2 or ISO-B
    Number,    // a whole number in the key's range
    Position,  // a whole number in the range, sent as typed
    Counter,   // decimal digits; read only
};

struct EncoderKey {
    const char* name;  // "tag-type", as the command line and profiles name it
    int item;          // ">RFI," item
    EncoderKind kind;
    int min, max;      // Number, Position
};

// In the order the Get asks for them.
const std::array<EncoderKey, kSettingItems>& encoderKeys();
const EncoderKey* findEncoderKey(std::string_view name);
bool isCounter(std::string_view name);

// A reply judged against its key: the value as printed, or why it is none.
app::ReadValue encoderValue(const EncoderKey& key, std::optional<std::string> reply);
// One query of the Get: its write, pause and read, the reply judged; nothing when the query
// could not be written (the port object said why). The caller begins the action.
std::optional<app::ReadValue> queryEncoderValue(link::CComm& comm, platform::Clock& clock, const EncoderKey& key);
// Empty when a Set takes `value` for `key`; otherwise what the tool says of it.
std::string checkEncoderValue(const EncoderKey& key, const std::string& value);

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
// Puts the replies into the values as the dialog shows them (a missing reply reads as empty).
void applyReplies(EncoderSettings& settings, const SettingReplies& replies);

// A transponder position that keeps its command whole: digits with an optional sign, within the
// int range.
bool validPosition(std::string_view text);
// The Set's text (">RFS..." CR ">RFTP..." CR); nothing when a list has no selection or the
// position is no whole number, so no guessed value is ever sent.
std::optional<std::string> settingsText(const EncoderSettings& settings);

using KeyValues = app::KeyValues;
KeyValues settingsKeyValues(const EncoderSettings& settings);
// Changes the named settings; false, with `error` naming the first bad key or value, otherwise.
bool applyKeyValues(EncoderSettings& settings, const KeyValues& values, std::string& error);

// The Get of `keys` (every key when empty) as one action: a value for each key asked until a
// query cannot be written (the series stops there). Done (204) only when every value is valid.
app::Outcome getEncoderSettings(link::CComm& comm, platform::Clock& clock, const std::vector<std::string>& keys = {});
// The dialog's Set: refused (203, nothing sent) when a value is not one the encoder takes.
app::Outcome setEncoderSettings(link::CComm& comm, const EncoderSettings& settings);
// Reads the settings, changes the given keys and writes all five writable ones. A setting not
// changed whose reply was not valid stops it before writing (the outcome names it).
app::Outcome changeEncoderSettings(link::CComm& comm, platform::Clock& clock, const KeyValues& changes);
// ">RFVR": the valid and void counters to zero (206 / 207).
app::Outcome resetCounters(link::CComm& comm);
// ">RFCP": the encoder's automatic calibration (206 / 207).
app::Outcome startCalibration(link::CComm& comm);

}  // namespace velmora::rfid
