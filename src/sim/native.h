// The native (TAVL) label language of the simulated printer: the lines that place fields on a
// label ("T", "V", "B1", "B2", "BD"), set the label format ("SW", "SL", "SM", "SS", "SD", "SOT",
// "SOB", "CS") and print ("P"). Parsing one line is a plain function; the registered handlers
// apply its result to the Printer's label book (labelrecord.h).
//
// The text of "T" and "V" and the data of "B1" and "B2" are the last field, between apostrophes.
// Inside it a backslash escapes an apostrophe or a backslash; any other backslash is an ordinary
// byte. With a two-byte font (bitmap fonts a to f, m, n, j; vector fonts K, G, B, J) a lead byte
// 0x81 to 0xFE and the trail byte 0x3F to 0xFE after it are taken as one character, so a trail
// byte that happens to be a backslash escapes nothing. Bytes are kept as received.
#pragma once

#include <string>
#include <string_view>
#include <variant>

#include "sim/labelrecord.h"
#include "sim/parser.h"

namespace velmora::sim {

// "P": print the label built so far.
struct PrintCommand {
    int quantity = 1;
    int copies = 1;
    bool operator==(const PrintCommand&) const = default;
};

// A line that could not be understood, and why.
struct CommandError {
    std::string why;
    bool operator==(const CommandError&) const = default;
};

// A format command yields the settings it changes (the others stay empty).
using NativeCommand = std::variant<LabelField, LabelFormat, PrintCommand, CommandError>;

// One native command line without its line end. A line that is none of the commands above is a
// CommandError too.
NativeCommand parseNativeCommand(std::string_view line);

// Registers every native label command. A malformed line is kept as an error of the label being
// built; it never stops the printer.
void addNativeCommands(CommandSet& commands);

}  // namespace velmora::sim
