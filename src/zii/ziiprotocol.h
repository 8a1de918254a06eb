// What the ZII setting pages share: the binary escapes they exchange with the printer (setting
// query, setting lock, lock status query), the 256-byte reply area and how a reply is read, and
// the accumulated command text with its settings block.
//
//   Escapes      sendSettingQuery(comm, code)      1B 1C 3F code       reply: the value as text
//                sendSettingLock(comm, lock, code) 1B 1C 1F flag code  no reply
//                sendLockStatusQuery(comm)         1B 1C 2F            reply bytes 3 and 4 carry the flags
//   Replies      ReplyArea: clear(), read(comm) (at most 256 bytes, not cleared first), text()
//                querySetting(comm, clock, area, code, waitMs): send, clear, wait, read (-1: send failed)
//                decimalValue(text): leading blanks, optional sign, digits; none gives 0
//                decodeLockFlags(area): (low nibble of byte 3) * 16 + (low nibble of byte 4)
//   Command text CommandText: line("^PW812") appends "^PW812\r\n"; beginBlock() "^XA";
//                endBlockAndSave() "^XZ" then "^XA^JUS^XZ"; send(comm) writes it in one go
//
//   Outcomes     settingValue(...): one reply as an operation reports it (valid or not, and why)
//                kLinkStep: the `where` of an action that stopped at a failed write
//
// Nothing here pauses except querySetting, and only through the clock it is given.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include <optional>

#include "app/operation.h"
#include "link/comm.h"
#include "platform/clock.h"

namespace velmora::zii {

// The three escapes, without their variable bytes.
inline constexpr std::array<std::uint8_t, 3> kSettingQueryPrefix{0x1B, 0x1C, 0x3F};
inline constexpr std::array<std::uint8_t, 3> kSettingLockPrefix{0x1B, 0x1C, 0x1F};
inline constexpr std::array<std::uint8_t, 3> kLockStatusQuery{0x1B, 0x1C, 0x2F};

// The bytes of a setting query for `code`: ESC FS "?" code.
std::array<std::uint8_t, 4> settingQueryBytes(int code);
// The bytes of a setting lock: ESC FS US flag code, flag 1 to lock and 0 to unlock.
std::array<std::uint8_t, 5> settingLockBytes(bool lock, int code);

// Each writes its escape with CComm::WriteBytes and returns that call's result (0 on failure).
int sendSettingQuery(link::CComm& comm, int code);
int sendSettingLock(link::CComm& comm, bool lock, int code);
int sendLockStatusQuery(link::CComm& comm);

// The fixed, zero-filled area a reply is read into. A read does not clear it first, so a short
// reply after a longer one would be read with the older reply's tail: clear it before each read
// (querySetting does).
class ReplyArea {
  public:
    static constexpr std::size_t kSize = 256;

    void clear() { bytes_.fill(0); }
    // Reads at most kSize bytes into the area; returns what ReadBytes returned (> 0: a reply came).
    int read(link::CComm& comm);
    // The bytes up to the first zero (all of them when there is none), as UTF-8 text converted
    // from the system code page.
    std::string text() const;
    std::span<const std::uint8_t, kSize> bytes() const { return bytes_; }

  private:
    std::array<std::uint8_t, kSize> bytes_{};
};

// The usual exchange: send the setting query, clear the area, wait `waitMs`, read. Returns the
// read's count (a reply counts only when it is above zero), or -1 when the query could not be
// written: then nothing is read and the port object has shown its message.
int querySetting(link::CComm& comm, platform::Clock& clock, ReplyArea& area, int code, unsigned waitMs);

// The decimal value of a reply: leading white space, an optional sign, then digits up to the first
// other character; no digits give 0. Values beyond the int range stop at its ends.
int decimalValue(std::string_view text);

// The lock flags of a lock status reply, one bit per lock code (bit = code - 1): the low four bits
// of the third byte give bits 4 to 7, those of the fourth byte bits 0 to 3.
unsigned decodeLockFlags(std::span<const std::uint8_t> reply);

// The `where` of an outcome whose action stopped at a failed write: the port object has shown its
// message, and the caller shows none of its own.
inline constexpr const char* kLinkStep = "link";
inline bool stoppedAtFailedWrite(const app::Outcome& outcome) {
    return outcome.result.status == app::Status::Failed && outcome.result.where == kLinkStep;
}

// One setting reply (`got` bytes in `area`) as an operation reports it. `shown` is what the page
// makes of the reply (nothing when it names nothing the key takes); `expected` says what the key
// takes, and `hasItsForm` whether the reply is exactly in that form (a page may show a value
// read from a reply with more in it). A reply after a read of the same action that got nothing may
// be that query's late answer: it keeps what the page would show, but it is not valid.
app::ReadValue settingValue(std::string key, int got, const ReplyArea& area, std::optional<std::string> shown,
                            std::string_view expected, bool afterSilence, bool hasItsForm = true);

// The one text an action writes. Lines are appended in order, each ended by CR LF.
class CommandText {
  public:
    // Appends `line` and CR LF.
    CommandText& line(std::string_view line);
    // Opens a settings block: "^XA".
    CommandText& beginBlock() { return line("^XA"); }
    // Closes the block and saves the settings in the printer: "^XZ", then "^XA^JUS^XZ".
    CommandText& endBlockAndSave() { return line("^XZ").line("^XA^JUS^XZ"); }

    const std::string& text() const { return text_; }
    bool empty() const { return text_.empty(); }
    void clear() { text_.clear(); }
    // Writes the whole text with one CComm::WriteText; returns its result (0 on failure).
    int send(link::CComm& comm) const { return comm.WriteText(text_); }

  private:
    std::string text_;
};

}  // namespace velmora::zii
