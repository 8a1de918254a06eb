// The simulated printer's RFID encoder and the one tag that sits at it, and the ">RF" commands
// that drive them. The state is a plain value kept in the Printer; the functions here change it
// and say what the encoder answers.
//
//   ">RFS,t,r,l,p" / ">RFS,r,l,p"   settings (tag code 5 GEN2 or 2 ISO-B, retries 0-10,
//                                   labels 0-5, power 1-31); a value out of range changes nothing
//   ">RFTP,n"                       transponder position, a whole number (int range)
//   ">RFI,n"                        one setting as text, no line end: 1 tag type, 2 power,
//                                   3 position, 4 retries, 5 labels, 6 valid tags, 7 void tags
//   ">RFVR" ">RFCP"                 counters to zero; calibration (the position of the inlay)
//   ">RFW," / ">RFw,"               write a label tag (when the next label prints) / a metal tag;
//                                   user memory ("U") data is characters when it has one a byte
//   ">RFR," / ">RFr," ... ",S"      answer the data; ",P" prints a label with it instead
//   ">RFZ,'a,k,na,nk'"              new passwords, only when a and k are the tag's
//   ">RFLP,L|U,'b1,b2,b3'"          lock payload (U: the masked areas unlocked)
//   ">RFLK" ">RFUL" ">RFKL"         lock or unlock EPC and user memory; kill the tag
//
// A label tag is encoded while its label prints, so once a label write waits for its print the
// tag commands after it wait too and run in the order they came: unlock, write, lock, print
// leaves a written and locked tag. Every write counts one valid or one void tag.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::sim {

class CommandSet;

enum class TagKind { Label, Metal };

// The five areas of the lock payload, in its order (bit 19 first).
enum LockArea { kKillPassword, kAccessPassword, kEpcMemory, kTidMemory, kUserMemory, kLockAreas };

struct AreaLock {
    bool locked = false;     // writes refused until unlocked
    bool permanent = false;  // the lock state can never change again
    bool operator==(const AreaLock&) const = default;
};

struct RfidTag {
    static constexpr std::size_t kEpcBytes = 96;
    static constexpr std::size_t kUserBytes = 128;
    static constexpr std::uint32_t kDefaultPassword = 0x5E2B7A19;

    TagKind kind = TagKind::Label;
    std::vector<std::uint8_t> epc = std::vector<std::uint8_t>(kEpcBytes, 0);
    std::vector<std::uint8_t> user = std::vector<std::uint8_t>(kUserBytes, 0);
    std::uint32_t accessPassword = kDefaultPassword;
    std::uint32_t killPassword = kDefaultPassword;
    std::array<AreaLock, kLockAreas> locks{};
    bool killed = false;
    int inlayPosition = 600;  // where calibration finds the inlay
};

struct RfidSettings {
    int tagCode = 5;  // 5 GEN2, 2 ISO-B
    int retries = 3;
    int labels = 2;
    int power = 1;
    std::string position = "600";
};

// One tag write as the command gives it.
struct TagWrite {
    bool metal = false;
    bool user = false;   // user memory ("U"), else EPC
    bool ascii = false;  // EPC data given as characters ("A"), else hexadecimal
    int start = 0;
    int count = 0;
    std::string data;  // as between the apostrophes
};

struct RfidState {
    static constexpr std::size_t kMaxWaiting = 64;

    RfidSettings settings;
    std::uint64_t valid = 0;
    std::uint64_t voids = 0;
    RfidTag tag;
    bool voidEveryWrite = false;  // the fault: every write fails and counts void
    // Label-tag commands waiting for the next print, in order (whole command lines).
    std::vector<std::string> waiting;
};

// Hexadecimal text, two digits a byte; nothing for an odd length or another character.
std::optional<std::vector<std::uint8_t>> parseHexBytes(std::string_view text);

// The reply to ">RFI,n": at most 16 bytes, no line end; nothing for an unknown item.
std::optional<std::string> rfidSettingReply(const RfidState& state, int item);

// Encodes the tag (or fails), counting a valid or a void tag; true when the tag took the data.
bool writeTag(RfidState& state, const TagWrite& write);
// The data a read asks for, as the encoder answers it (hexadecimal text, or characters for "A");
// nothing when the tag cannot answer (killed, another kind, a range past its memory).
std::optional<std::string> readTag(const RfidState& state, bool metal, char code, int start, int count);

// Runs one ">RF" command line (without its line end) on the state; `reply` gets what the
// encoder answers, `printData` the data of a ",P" read (its label is printed by the caller).
// Label-tag commands are queued in `state.waiting` as described above.
void runRfidCommand(RfidState& state, std::string_view line, std::string& reply,
                    std::optional<std::string>& printData);
// A label printed: the waiting label-tag commands run, in order.
void labelPrinted(RfidState& state);

void addRfidCommands(CommandSet& commands);

}  // namespace velmora::sim
