// The printer's serial set-up as operations: memory switch 2 holds handshake, stop bits, data
// length, parity check and selection, and baud rate as one byte. One table of keys and words
// beside the Get and Set that the interface page, the command line and profiles all use.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/operation.h"
#include "platform/clock.h"

namespace velmora::settings {

enum SerialList { kHandshake = 0, kStopBit, kDataLength, kParityCheck, kParitySelect, kBaud, kSerialListCount };
using SerialChoices = std::array<int, kSerialListCount>;

// The six list positions a switch-2 byte stands for (bit 7 is not used).
SerialChoices decodeSerialByte(std::uint8_t byte);
// The byte of six chosen positions (none may be -1).
std::uint8_t serialByte(const SerialChoices& choices);

inline constexpr int kSerialSwitch = 2;
inline constexpr unsigned kSerialReplyWaitMs = 10;

// A key as the command line and profiles name it, with its words. `list` is the page's list the
// key stands for; parity (none, even, odd) stands for the parity check and selection together.
struct SerialKey {
    const char* name;
    std::vector<std::string> words;
    int list;  // a SerialList, or -1 for parity
};
const std::vector<SerialKey>& serialKeys();
const SerialKey* findSerialKey(const std::string& name);
// The key's word for these choices.
std::string serialWord(const SerialKey& key, const SerialChoices& choices);
// Sets the choices `word` of `key` stands for; false when the key has no such word.
bool applySerialWord(const SerialKey& key, const std::string& word, SerialChoices& choices);

// The Get, as one action: one switch read, a value for each key. Valid only when exactly one
// byte came: a longer answer is no switch byte.
app::Outcome getSerialSetting(link::CComm& comm, platform::Clock& clock);
// The Set: the byte of six choices and its commit. A choice of none sends nothing and fails.
app::Outcome setSerialSetting(link::CComm& comm, const SerialChoices& choices);

}  // namespace velmora::settings
