// What the RFID write and read tools do to a tag, as operations: the write series (unlock, data,
// lock, the label that carries a label tag), the password change, the read of a range of tag
// memory and its printed form. The write and read dialogs and the command line run these.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/operation.h"
#include "link/comm.h"
#include "platform/clock.h"
#include "resources/templates_rfid.h"
#include "rfid/rfidcommands.h"

namespace velmora::rfid {

inline constexpr unsigned kReadReplyWaitMs = 4000;
inline constexpr unsigned kUsbPieceWaitMs = 200;
inline constexpr std::size_t kUsbPiece = 16;

// A start block and byte count within the 64 data cells.
inline bool rangeFits(int start, int count) { return start >= 0 && count >= 1 && start + count <= resources::kRfidCells; }

// Empty when a cell holds exactly one byte of tag data: two hexadecimal digits, or one character
// the printer's code page holds as one byte, no control byte. Otherwise why not.
std::string checkCell(DataFormat format, const std::string& cell);
// Whether the cells' data, as characters, would end its quoted block early (an apostrophe not
// escaped by a backslash in the cell before it, a lone backslash at its end): the rule of every
// quoted text. Hexadecimal data never does.
bool dataBreaksQuotes(DataFormat format, std::string_view data);

struct TagWriteRequest {
    int tagKind = -1;  // 0 label, 1 metal; -1 none chosen
    Memory memory = Memory::Epc;
    DataFormat format = DataFormat::Hex;
    bool unlock = false;
    bool data = false;
    int start = 0;
    std::vector<std::string> cells;  // the range's cells in order: the byte count is their number
    std::optional<std::uint32_t> lock;
    // Reads the encoder's void counter before and after the series: a tag the encoder could not
    // write counts void, and that is a failure too. Not one of the dialog's own steps.
    bool confirmByVoidCounter = false;
};

// The series in order; it stops at the first step that fails, and a label tag's label is never
// printed after one. Refused, with nothing sent, without a tag kind (560), for a range past the
// cells (199), for a cell that does not hold one byte (209, `where` naming the cell) or for data
// that would end its quotes early (360).
app::Outcome writeTag(link::CComm& comm, platform::Clock& clock, const TagWriteRequest& request);

struct PasswordChange {
    std::string currentAccess = kDefaultPassword;  // the passwords the tag has now
    std::string currentKill = kDefaultPassword;
    std::string access;  // the new ones, as typed ("5E.2B.7A.19" or "5E2B7A19")
    std::string kill;
};
// Refused (212, 213) unless each password is 8 hexadecimal digits once its dots are removed.
app::Outcome changePasswords(link::CComm& comm, const PasswordChange& change);

struct TagReadRequest {
    bool metal = false;
    Memory memory = Memory::Epc;
    DataFormat format = DataFormat::Hex;  // also decides the reply's form for user memory
    int start = 4;
    int count = 12;
};

// The reply's length: two characters a byte in hexadecimal, one as characters.
std::size_t tagReplyLength(const TagReadRequest& request);
// Reads a reply of `length` bytes: on USB in pieces of 16 bytes with a pause after each whole
// piece, elsewhere as many bytes as a read gives. Either way the reads go on until the length
// arrived or a read returned nothing (a TCP read may give fewer bytes than asked), so no part of
// the reply is left for the next command. The bytes that came, cut at the first NUL.
std::string readTagReply(link::CComm& comm, platform::Clock& clock, std::size_t length);
// The read: the value "data" is valid when the reply is exactly the length asked for, in
// hexadecimal digits or printable characters; its raw bytes are what came.
app::Outcome readTag(link::CComm& comm, platform::Clock& clock, const TagReadRequest& request);
// Has the printer print the tag data instead (no reply is read).
app::Outcome printTag(link::CComm& comm, DataFormat format, int start, int count);

}  // namespace velmora::rfid
