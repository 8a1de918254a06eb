// The ">RF" command family of the printer's RFID encoder, composed as text. Every RFID tool (the
// configuration, write and read dialogs and the command tester's RFID builders) builds its
// commands here; the functions return the command without its line end, which the caller adds
// (CR when sending, CR LF when the tester inserts a line).
//
//   >RFI,n                         query setting n (1 to 7)
//   >RFS,t,r,l,p   >RFTP,pos       settings; transponder position
//   >RFVR  >RFCP  >RFUL  >RFLK  >RFKL
//   >RFW,H,4,12,'3008...'          write (W label tag, w metal tag; H, A or U)
//   >RFR,H,4,12,S                  read (R label, r metal; H, A, U or u; S answer, P print)
//   >RFLP,L,'80,00,00'             lock payload (U: unlock)
//   >RFZ,'5E2B7A19,5E2B7A19,12345678,5E2B7A19'   passwords: current access, kill, new ones
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velmora::rfid {

enum class Memory { Epc = 0, User = 1 };
enum class DataFormat { Hex = 0, Ascii = 1 };

inline constexpr const char* kResetCounters = ">RFVR";
inline constexpr const char* kCalibrate = ">RFCP";
inline constexpr const char* kUnlock = ">RFUL";
inline constexpr const char* kLock = ">RFLK";
inline constexpr const char* kKill = ">RFKL";
// The passwords a tag has until they are changed, which the tools send as the current ones.
inline constexpr const char* kDefaultPassword = "5E2B7A19";
inline constexpr const char* kDefaultDottedPassword = "5E.2B.7A.19";

std::string settingQuery(int item);
// tagCode 5 (GEN2) or 2 (ISO-B); power 1..31.
std::string settingsCommand(int tagCode, int retries, int labels, int power);
std::string positionCommand(std::string_view position);
std::string writeCommand(bool metal, Memory memory, DataFormat format, int start, int count, std::string_view data);
std::string readCommand(bool metal, Memory memory, DataFormat format, int start, int count, char output);
std::string passwordCommand(std::string_view access, std::string_view kill, std::string_view newAccess,
                            std::string_view newKill);

// The 20-bit lock payload (bit 19 first: mask bits 19..10, action bits 9..0) left-aligned in
// three bytes.
std::array<std::uint8_t, 3> lockPayloadBytes(std::uint32_t payload);
std::string lockPayloadCommand(bool unlock, std::uint32_t payload);

// A password as typed ("5E.2B.7A.19" or "5E2B7A19"): the eight characters left once the dots are
// removed; nothing when another number of characters remains or one is not a hexadecimal digit.
std::optional<std::string> passwordDigits(std::string_view typed);
bool isHexDigits(std::string_view text);

// The value of a reply as the encoder's decimal texts are read: leading white space, an optional
// sign, then digits up to the first other character; 0 without digits (and for values beyond
// the integer range, which no setting has).
int replyDecimal(std::string_view reply);

}  // namespace velmora::rfid
