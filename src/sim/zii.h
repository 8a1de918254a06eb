// The simulated printer's ZII (ZPL II emulation) side: the settings it keeps, the ZII command
// lines that change them, the binary setting escapes, and the replies the setting pages read.
//
// Setting query ESC FS "?" n: the reply is the value as bare text, with no line end or zero byte
// (the pages compare whole texts exactly). Codes with no entry get no reply at all.
//
//   code  setting                  reply               written by
//    1    label width (dots)       decimal, "812"      ^PW
//    2    label length (dots)      decimal, "1218"     ^LL
//    3    print orientation        "T" normal, "B" inverted               ^PON / ^POI
//    5    print speed (inch/s)     decimal, "4"        ^PR (first value)
//    6    darkness                 decimal, "15"       ~SD
//    7    print mode               "T" transfer, "D" direct               ^MT
//    8    media type               "W" web, "C" continuous, "M" mark      ^MNY or ^MNW / ^MNN / ^MNM
//    9    tear-off adjustment      decimal, "-12"      ~TA
//   10    print offset (label top) decimal, "0"        ^LT
//   11    serial parameters        "115200,8,N,1,D,N": baud, data bits, parity (N E O), stop bits,
//                                  handshake (X software, D hardware, R), protocol (A N Z)   ^SC
//   12    media handling           the ^MM letter: "T" tear off, "P" peel off, "C" cutter, ...
//   14    feed action at power-up  the first ^MF letter: "F", "C", "L", "N" or "S"
//
// Setting lock ESC FS US f n: f 1 locks and 0 unlocks lock code n (1 to 16); no reply. Codes:
// 1 print speed, 2 darkness, 3 label width, 5 print offset, 6 tear-off adjustment, 7 media type,
// 8 code page and character set (kept for the native language page; no ZII command sets them).
// A locked setting ignores the command that would change it.
//
// Lock status ESC FS "/": four bytes, the 16 lock flags (bit = code - 1) a nibble each, most
// significant first, each written as 0x30 + nibble ("0" to "9", then ":" to "?" for 10 to 15).
// So the third and fourth bytes hold the flags of codes 8 to 1: speed, label width and print
// offset locked give "0015".
//
// Commands: a command is "^" or "~" and two letters, and its values run up to the next "^" or "~"
// or the line end (^FD data only at the next "^"). They may stand anywhere in a line that no other command claims (native label
// lines never start with "^" or "~"; the status queries and native setting commands that do claim
// their lines by prefix), several to a line ("^XA^SC115200,8,N,1,D,N^JUS^XZ" is four).
// A "^" command takes effect only inside a format, from ^XA to ^XZ, which may span lines; a
// "~" command takes effect anywhere. Whether a format is open is kept per connection. Commands the
// table does not know are skipped, and ^FX (a comment) with its text. A command with a value out of
// range, or not a number where one is due, changes nothing; an omitted value keeps the current one.
//
//   ^XA ^XZ ^FX       format start and end; a comment
//   ^PWw  ^LLl        label width 2 to 1344 (the widest head), length 1 to 32000
//   ^CCc ~CTc ^CDc    the command characters "^" and "~" and the value delimiter "," become c
//   ^POo  ^MTm ^PMm   orientation N or I; print mode T or D; mirror image Y or N
//   ^PRp,s,b          print and slew speed 2 to 7 (b, the backfeed speed, is not kept)
//   ~SDdd ~TAt ^LTt   darkness 0 to 30; tear-off adjustment and print offset -120 to 120
//   ^MNt  ^MMm ^MFp,h media type N, Y, W or M; media handling letter; power-up and head-close
//   ^SCb,d,p,s,h,r    serial parameters (as reply 11; baud one of the standard rates)
//   ^STmo,dd,yyyy,hh,mi,ss,f   set the clock; f M (24 hours), A or P (hours 1 to 12)
//   ^JUs              S saves the settings, R brings back the saved ones, F the factory ones
//                     (R and F leave locked settings as they are)
//
// The settings in use and the saved copy are separate, as on the printer: what is not saved with
// ^JUS is lost at power-up. New serial parameters reach the port only at power-up. The lock flags
// and the clock are not part of the settings and keep through both.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/zii_label.h"

namespace velmora::sim {

class CommandSet;

struct SerialSettings {
    unsigned baud = 115200;
    unsigned dataBits = 8;
    char parity = 'N';  // N, E or O
    unsigned stopBits = 1;
    char handshake = 'D';  // X software, D hardware (DTR/DSR), R (RTS)
    char protocol = 'N';   // A, N or Z
    bool operator==(const SerialSettings&) const = default;
};

// The settings the ZII commands change; the factory values are the member defaults.
struct ZiiSettings {
    // The widest print head of the models the program knows: 168 mm.
    static constexpr int kHeadWidthDots = 1344;

    int labelWidth = 812;
    int labelLength = 1218;
    bool inverted = false;  // print orientation
    int printSpeed = 4;     // inch per second
    int slewSpeed = 4;
    int darkness = 15;
    char printMode = 'T';  // T transfer, D direct
    char mediaType = 'W';  // W web, C continuous, M mark
    int tearOff = 0;       // dots
    int printOffset = 0;   // dots
    char mediaHandling = 'T';
    char powerUpAction = 'N';
    char headCloseAction = 'N';
    bool mirror = false;
    SerialSettings serial;
    bool operator==(const ZiiSettings&) const = default;
};

struct ClockTime {
    int year = 2000;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    bool operator==(const ClockTime&) const = default;
};

// Lock codes with a ZII setting behind them.
enum LockCode : unsigned {
    kLockSpeed = 1,
    kLockDarkness = 2,
    kLockLabelWidth = 3,
    kLockPrintOffset = 5,
    kLockTearOff = 6,
    kLockMediaType = 7,
    kLockLanguage = 8,
};

struct ZiiState {
    static constexpr unsigned kLockCodes = 16;

    ZiiSettings current;
    ZiiSettings saved;
    SerialSettings activeSerial;  // what the port runs at: the saved parameters as of power-up
    std::uint16_t locks = 0;      // bit code - 1
    ClockTime clock;              // as last set; the simulator does not run it

    bool locked(unsigned code) const { return code >= 1 && code <= kLockCodes && (locks >> (code - 1)) & 1; }
    // False, and nothing changes, for a code outside 1 to kLockCodes.
    bool setLock(unsigned code, bool on);
    bool operator==(const ZiiState&) const = default;
};

// Where one connection stands in the ZII stream.
struct ZiiFormat {
    bool open = false;  // between ^XA and ^XZ
    ZiiLabelBuilder label;
    // ^CC, ^CT, ^CD (or their "~" forms): the characters this stream uses instead.
    char caret = '^', tilde = '~', delimiter = ',';
    bool ownCharacters() const { return caret != '^' || tilde != '~' || delimiter != ','; }
    std::string lineBuffer;  // a line rewritten in the standard characters
};

struct ZiiLineResult {
    bool found = false;  // a known command took effect or was held by a lock
    bool saved = false;  // ^JUS: the settings went to non-volatile memory
    std::vector<LabelRecord> labels;  // formats that ended on this line and print a label
    std::vector<std::string> objectLists;  // ^WD inside a format: the object names to list
    struct HostQuery {
        std::string command;  // "~HS", "^HZA", ... (hostqueries.h)
        bool formatOpen;      // another format was open when the query came
    };
    std::vector<HostQuery> hostQueries;  // to answer once the line has run
    Leniencies leniencies;  // what was read as a printer reads it rather than as written
};

// Whether a command the table knows stands anywhere in the line.
bool holdsZiiCommand(std::string_view line);
// The printer's ZII state as the commands of a line reach for it: locked at the first need, so a
// line of label fields alone takes no lock.
using ZiiStateSource = std::function<ZiiState&()>;
// Runs the ZII commands of one line (without its line end) for one connection, into `result`
// (empty before).
void runZiiLine(const ZiiStateSource& state, ZiiFormat& format, std::string_view line, ZiiLineResult& result);
// Runs one command ("^PW400", "~SD15") as if inside a format. False when the table does not know
// it, a lock holds its setting or a value was not valid (nothing then changed).
bool runZiiCommand(ZiiState& state, std::string_view command);
// The reply to the setting query `code`; nullopt for a code the printer does not answer.
std::optional<std::string> settingQueryReply(const ZiiState& state, unsigned code);
// The four bytes of the lock status reply.
std::string lockStatusReply(const ZiiState& state);
// Power off and on: the saved settings come back and the serial port takes their parameters.
void powerCycle(ZiiState& state);

// The ZII commands (on any line nobody else claims) and the three setting escapes.
void addZiiCommands(CommandSet& commands);

}  // namespace velmora::sim
