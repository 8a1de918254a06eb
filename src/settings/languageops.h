// The printer's default code page and international character set (whole bytes in memory
// switches 1 and 3, always in the "*" command forms) and the setting lock of lock code 8, as
// operations: the Get and Set that the code page page, the command line and profiles all use.
// The lists are the page's (resources/templates_settings.h): a byte is its entry's position.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "app/operation.h"
#include "platform/clock.h"

namespace velmora::settings {

inline constexpr int kCodePageSwitch = 1;
inline constexpr int kIcsSwitch = 3;
inline constexpr int kLanguageLockCode = 8;
inline constexpr unsigned kLanguageReplyWaitMs = 50;
inline constexpr std::size_t kLockStatusLimit = 256;

// A lock status reply has the form the printer gives: at least four characters, the third and
// fourth of them lock flag characters ('0' to '?', the flags in their low four bits).
bool isLockStatus(std::string_view reply);
// The language lock: bit 3 of the reply's third byte (missing bytes read as zero).
bool languageLocked(std::string_view reply);

// A list entry named by its position, its whole text, or (`prefixes`) a beginning of its text that
// no other entry has; nothing when none or more than one.
std::optional<int> codePageEntry(const std::string& name);
std::optional<int> icsEntry(const std::string& name);

// The Get, as one action: the code page byte, the character set byte and the lock status, as
// values "codepage", "ics" (the entries' texts) and "lock" ("0" or "1"). A switch reply is valid
// when it is one byte that names an entry of its list; a lock reply when it has its form.
app::Outcome getLanguageSetting(link::CComm& comm, platform::Clock& clock);

struct LanguageRequest {
    int codePage = -1;  // list position; -1: none, not written
    int ics = -1;
    bool lock = false;  // the lock put on after the writes
};
// The Set: the lock off, each chosen byte with its commit, then the lock as asked. A list without
// a choice sends no byte and the Set fails naming it. The lock is put back even when a switch
// write failed; the series stops there.
app::Outcome setLanguageSetting(link::CComm& comm, const LanguageRequest& request);

}  // namespace velmora::settings
