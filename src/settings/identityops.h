// The three identity strings the printer stores (hardware version, serial number, user-defined
// printer ID) as operations: one table of their commands, limits and messages beside the Get, Set
// and Initialize that the hardware identity page, the command line and profiles all use.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "app/operation.h"
#include "platform/clock.h"

namespace velmora::settings {

enum Identity { kHardwareVersion = 0, kSerialNumber, kPrinterId, kIdentityCount };

struct IdentityKey {
    const char* name;  // "version", "serial", "id", as the command line and profiles name them
    int limit;         // characters
    const char* getCommand;
    unsigned getWaitMs;
    std::size_t readLimit;
    int prefix, empty, setOk, setFailed, initOk, initFailed, tooLong;
};
const std::array<IdentityKey, kIdentityCount>& identityKeys();
std::optional<Identity> findIdentity(const std::string& name);

// The printer stores a Set or Initialize before it takes the next command.
inline constexpr unsigned kIdentityStoreWaitMs = 5700;
// The whole "^MBY" command must fit the printer's 31-byte command area.
inline constexpr std::size_t kIdentityCommandRoom = 31;

// Why a Set would not send `text` (UTF-8); empty when it would. Over the limit in characters, or
// in bytes once converted: the page's message; a control character would break the command.
std::string identityRefusal(Identity which, const std::string& text);

// The Get of one string, as one action. Valid when the reply is printable text of at most the
// string's limit, ended by its line end; the value is the text with every trailing CR and LF
// removed.
app::Outcome getIdentity(link::CComm& comm, platform::Clock& clock, Identity which);
// The Set: "^MBY" n "," text CR LF, then the printer's store time, whatever the write returned.
// Refused, sending nothing, when identityRefusal() has a reason.
app::Outcome setIdentity(link::CComm& comm, platform::Clock& clock, Identity which, const std::string& text);
// "Initialize": the string back to the printer's own, then the store time.
app::Outcome initializeIdentity(link::CComm& comm, platform::Clock& clock, Identity which);

}  // namespace velmora::settings
