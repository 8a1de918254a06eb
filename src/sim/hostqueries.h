// What the simulated printer answers to label software that checks it before printing: the ZII
// host queries and the settings queries, each built from the printer's own state, so software
// under test sees a paper-out or a pause the moment it is set.
//
// Framing follows the language: STX (0x02) and ETX (0x03) around each string, each string ended
// by CR LF. Replies, in order of their fields:
//
//   ~HS    three strings, each STX ... ETX CR LF:
//            aaa,b,c,dddd,eee,f,g,h,iii,j,k,l
//              aaa  serial interface, the 9-bit value in decimal: bits 8,2,1,0 the baud code
//                   (0 110, 1 300, 2 600, 3 1200, 4 2400, 5 4800, 6 9600, 7 19200, 8 28800,
//                   9 38400, 10 57600, 11 14400, 12 115200), 7 handshake (0 XON/XOFF, 1 DTR or
//                   RTS), 6 parity even, 5 parity on, 4 one stop bit, 3 eight data bits
//              b paper out (status bit paper-empty), c paused (paused), dddd label length in
//              dots, eee formats waiting (000: formats print as they arrive), f buffer full (0),
//              g diagnostics mode (~JD), h a format open on this connection, iii 000, j corrupt
//              settings (0), k under temperature (0), l over temperature (head-overheat)
//            mmm,n,o,p,q,r,s,t,uuuuuuuu,v,www
//              mmm  bit 7 continuous media, 5 diagnostics mode, 0 thermal transfer
//              n 0, o head open (cover-open), p ribbon out (ribbon-end), q thermal transfer,
//              r print mode from ^MM (0 rewind, 1 peel off, 2 tear off, 3 cutter, 4 applicator,
//              5 delayed cut, 9 RFID; 0 for the reserved letters), s 0, t label waiting (0),
//              uuuuuuuu labels left in the batch (0), v 1, www images stored
//            xxxx,y     password 1234, y 0
//   ~HI    STX model,firmware,8,<memory>KB ETX CR LF (8 dots per millimetre)
//   ~HM    total,the most the user can have,free now in kilobytes, at least four digits each,
//          then CR LF; stored images use up the free memory
//   ~HQES  STX CR LF, "  PRINTER STATUS", "    ERRORS:         f 00000000 gggggggg",
//          "    WARNINGS:       f 00000000 gggggggg" (each line ended by CR LF), ETX CR LF; f is
//          1 when any flag is set, gggggggg the flags in hexadecimal. Errors: 1 paper-empty,
//          2 ribbon-end, 4 cover-open, 8 cutter-jammed, 10 head-overheat. Warnings: 1 gap-error
//          (the media needs calibrating)
//   ~HQSN  STX CR LF, "  SERIAL NUMBER" CR LF, the serial number CR LF, ETX CR LF
//   ~HD    STX, "Name = value" lines (head temperature, head test, darkness, speeds, the label
//          pitch, the command characters) each ended by CR LF, ETX CR LF
//   ^HH    STX, the configuration of the ZII settings one to a line, the value from column 3
//          and its name from column 23, each ended by CR LF, ETX CR LF
//   ^HZb   XML, no framing: b A all, F the format settings, L the stored images, R the status
//   ! U1 getvar "name"   the value between double quotes, no line end; "?" for a name the
//          printer does not keep. Names: getvarNames().
//
// "~" queries act anywhere: at the start of a line with no line end after them (label software
// often sends a bare "~HS"), or among other commands in a line. "^HH" and "^HZ" act only inside a
// format. Other "~HQ" types get no reply.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "sim/printer.h"

namespace velmora::sim {

class CommandSet;
class Parser;

// The state the replies are built from, taken at the moment of the query.
struct HostView {
    Printer::StatusBytes status{};
    ZiiState zii;
    NativeState native;
    bool diagnostics = false;
    std::vector<std::pair<std::string, std::size_t>> images;  // name and size
    bool formatOpen = false;                                  // on the connection that asked

    // Whether the named status bit (statusBits()) is set.
    bool has(std::string_view statusBit) const;
};

HostView hostView(const Printer& printer, bool formatOpen);

// Whether a command as it stands in a line ("~HS", "~HQES", "^HH", "^HZA", ...) is a host query.
// Every command of a label format is asked this, so it is here to be inlined, and most commands
// are ruled out by their second letter.
inline bool isHostQuery(std::string_view command) {
    if (command.size() < 3 || command[1] != 'H') return false;
    const char c = command[2];
    if (command[0] == '~') return c == 'S' || c == 'I' || c == 'M' || c == 'D' || c == 'Q';
    return command[0] == '^' && (c == 'H' || c == 'Z');
}
// The reply to a host query command; nullopt for one the printer does not answer.
std::optional<std::string> hostQueryReply(const HostView& view, std::string_view command);
// The reply to a settings line ("! U1 getvar \"print.tone\""); nullopt for one with no reply.
std::optional<std::string> settingsLineReply(const HostView& view, std::string_view line);
// The setting names getvar answers, in the order of the table.
std::vector<std::string_view> getvarNames();

// The listings, for the queries above and for getvar.
std::string configurationReply(const HostView& view);                             // ^HH
std::optional<std::string> descriptionReply(const HostView& view, char section);  // ^HZ
std::optional<std::string> getvarValue(const HostView& view, std::string_view name);
// The three ~HS strings, without their framing.
std::vector<std::string> hostStatusStrings(const HostView& view);

// Answers a host query found among other commands of a line.
void answerHostQuery(Parser& parser, std::string_view command, bool formatOpen);

// The host queries at the start of a line and the settings queries.
void addHostQueryCommands(CommandSet& commands);

}  // namespace velmora::sim
