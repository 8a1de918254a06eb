// The simulated printer's native (TAVL) settings: the memory switches, the user values, the
// offset and tear-off, the identity strings, the model, firmware and usage counters, and the
// commands and queries that read and change them.
//
//   Memory switches 1..4, one byte each: 1 code page, 2 serial set-up, 3 speed (bits 5..7) or
//   character set (whole byte), 4 strobe (bits 6..7) and gap detect (bit 5).
//     p "MBR" d "," r        7 bytes, no line end; reply: the switch byte (r, the link digit, is
//                            not needed: the reply goes back on the link the read came in on)
//     p "MBS" d "," v [CR]   stages byte v (any value, even CR, LF, NUL or ESC)
//     p "MBA" n CR           n raw (0x01..0x04): the staged byte becomes the switch
//   with p "^" or "*". Switches 1 and 3 keep their byte while lock code 8 is on.
//   User values "^MBU" n "," decimal CR: 0 paper width (0..832), 1 density (0..20), 2 paper
//     length (0..2432), 3 horizontal margin (0..832), 4 vertical margin (0..2432), 5 gap length;
//     a value out of range or not a number changes nothing. "^MBU" 0x0F ",99" CR restores all of
//     them, the offset and the tear-off to the factory values.
//   "SA" sign digits, "TA" sign digits (line): offset and tear-off, -100..100.
//   "^MBL1" / "^MBL0": label length check on or off (5 bytes, no line end).
//   Queries (line), each answered as text and CR LF:
//     "^PI0" model name, "^PI2" firmware version, "^PI3,c,k" counter c (0 motor, 1 print head,
//     2 cutter), k 0 resettable or 1 permanent, in decimal; "^PI4,1" density; "^PI5,n" user
//     value n as set by "^MBU" (n 0 width, 1 length, 2 gap, 3 and 4 margins: the query numbers
//     differ from the set numbers); "^PI4,2" tear-off and "^SA" offset, as a sign and three digits.
//   Identity strings (line): "^MBX" i -> the string and CR LF; "^MBY" i "," text sets it (i 0
//     hardware version, 1 serial number, 2 printer ID; longer text is cut to 4, 16, 7 characters);
//     "^MBY" 0x0F "," i resets it.
//   "*MBY" 0x0F c (6 bytes, no line end): c 0x0C, 0x0D, 0x0E resets the motor, print head or
//     cutter counter (the permanent ones keep counting).
//   ESC FS GS and 13 bytes: the USB serial number.
// The commits (MBA, ^MBU and its reset, ^MBY, *MBY, the USB serial number) are kept in
// non-volatile memory: each calls Printer::notifySaved() after its change.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace velmora::sim {

class CommandSet;

struct NativeUserValues {
    int paperWidth = 812;
    int density = 8;
    int paperLength = 1218;
    int hMargin = 0;
    int vMargin = 0;
    int gapLength = 24;
    int offset = 0;
    int tearOff = 0;
    bool operator==(const NativeUserValues&) const = default;
};

enum Counter { kMotorCounter = 0, kHeadCounter, kCutterCounter, kCounterKinds };

struct NativeState {
    static constexpr int kSwitches = 4;
    // Hardware version, serial number, printer ID: longer text is cut to these.
    static constexpr std::size_t kIdentityLimits[3] = {4, 16, 7};
    static constexpr std::size_t kUsbSerialLength = 13;

    std::array<std::uint8_t, kSwitches> switches{0x06, 0x00, 0x00, 0x00};  // switch n at n - 1
    std::array<std::optional<std::uint8_t>, kSwitches> staged;
    NativeUserValues values;
    bool labelLengthCheck = false;
    std::array<std::string, 3> identity{"1.00", "VS0000000001", "VELMORA"};
    std::string modelName = "VELMORA SIM";
    std::string firmware = "V1.00";
    // Per kind: the resettable count and the permanent one.
    std::array<std::array<unsigned, 2>, kCounterKinds> counters{{{125, 4820}, {118, 4790}, {37, 905}}};
    std::string usbSerial = "0000000000000";
    bool operator==(const NativeState&) const = default;
};

// The native setting commands and queries.
void addNativeSettingCommands(CommandSet& commands);

}  // namespace velmora::sim
