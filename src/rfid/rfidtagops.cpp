// Tag writes, password changes and tag reads.
#include "rfid/rfidtagops.h"

#include <algorithm>
#include <vector>

#include "app/typedtext.h"
#include "platform/codepage.h"
#include "resources/messages.h"
#include "rfid/rfidsettings.h"

namespace velmora::rfid {

namespace {

constexpr std::size_t kReplyArea = 256;

// The void counter, as the configuration's Get asks for it.
std::optional<app::ReadValue> voidCounter(link::CComm& comm, platform::Clock& clock) {
    return queryEncoderValue(comm, clock, *findEncoderKey("void"));
}

std::string withoutLeadingZeros(const std::string& digits) {
    const auto first = digits.find_first_not_of('0');
    return first == std::string::npos ? "0" : digits.substr(first);
}

bool printableByte(unsigned char b) { return b >= 0x20 && b != 0x7F; }

}  // namespace

std::string checkCell(DataFormat format, const std::string& cell) {
    if (format == DataFormat::Hex)
        return cell.size() == 2 && isHexDigits(cell) ? "" : "\"" + cell + "\" is not two hexadecimal digits";
    std::size_t unconvertible = 0;
    const std::string bytes = platform::toCodePage(cell, &unconvertible);
    if (unconvertible || bytes.size() != 1)
        return "\"" + cell + "\" is not one character of code page " + platform::systemCodePage();
    // A control byte would end or break the line. An apostrophe or backslash is judged with the
    // whole data (dataBreaksQuotes): an escaped apostrophe goes out as typed.
    if (!printableByte(static_cast<unsigned char>(bytes[0])))
        return "a control character cannot be sent inside the data";
    return {};
}

bool dataBreaksQuotes(DataFormat format, std::string_view data) {
    return format == DataFormat::Ascii && app::breaksQuotedField(data);
}

app::Outcome writeTag(link::CComm& comm, platform::Clock& clock, const TagWriteRequest& r) {
    app::Outcome out;
    // The kind decides the command's letter and whether a label is printed: never guessed.
    if (r.tagKind < 0) return out.refuse(msg::kRfidChooseTagKind, {}, "kind");
    if (!r.unlock && !r.data && !r.lock) return out.refuse(0, "nothing to write");
    std::string data;
    if (r.data) {
        const int count = static_cast<int>(r.cells.size());
        if (!rangeFits(r.start, count)) return out.refuse(msg::kRfidBadRange, {}, "data");
        // Every byte of the range, checked before anything is sent: a typo is never written, and
        // the byte count sent is the number of bytes that go out.
        for (int i = 0; i < count; ++i)
            if (const std::string why = checkCell(r.format, r.cells[i]); !why.empty())
                return out.refuse(msg::kRfidDataFailed, "cell " + std::to_string(r.start + i + 1) + ": " + why,
                                  "cell " + std::to_string(r.start + i + 1));
        for (const auto& cell : r.cells) data += cell;
        if (dataBreaksQuotes(r.format, data)) return out.refuse(msg::kQuotedFieldBreaks, {}, "data");
    }
    comm.BeginAction();
    const bool confirm = r.data && r.confirmByVoidCounter;
    std::optional<app::ReadValue> voidsBefore;
    if (confirm) {
        voidsBefore = voidCounter(comm, clock);
        if (!voidsBefore) return out.fail(msg::kRfidDataFailed, "void");
        // Without a count to compare with, no write could be told a success: none is made.
        if (!voidsBefore->valid) {
            out.values.push_back(*voidsBefore);
            return out.fail(msg::kRfidDataFailed, "void");
        }
    }
    const bool metal = r.tagKind == 1;
    if (r.unlock) {
        if (!comm.WriteText(std::string(kUnlock) + "\r")) return out.fail(msg::kRfidUnlockFailed, "unlock");
        out.written.emplace_back("unlock", "EPC and user memory");
    }
    if (r.data) {
        const std::string command = writeCommand(metal, r.memory, r.format, r.start, static_cast<int>(r.cells.size()), data);
        if (!comm.WriteText(command + "\r")) return out.fail(msg::kRfidDataFailed, "data");
        out.written.emplace_back("data", std::to_string(r.cells.size()) + " bytes from block " + std::to_string(r.start));
    }
    if (r.lock) {
        if (!comm.WriteText(lockPayloadCommand(false, *r.lock) + "\r")) return out.fail(msg::kRfidLockFailed, "lock");
        out.written.emplace_back("lock", lockPayloadCommand(false, *r.lock));
    }
    if (!metal) {
        // A label tag is encoded while its label prints.
        static constexpr std::uint8_t kPrintOne[] = {'P', '1', '\r'};
        if (!comm.WriteBytes(kPrintOne, sizeof kPrintOne)) return out.fail(0, "print");  // the port object said why
        out.written.emplace_back("print", "1 label");
    }
    if (confirm) {
        auto voidsAfter = voidCounter(comm, clock);
        if (!voidsAfter) return out.fail(msg::kRfidDataFailed, "void");
        if (!voidsAfter->valid) {
            out.values.push_back(std::move(*voidsAfter));
            return out.fail(msg::kRfidDataFailed, "void");
        }
        if (withoutLeadingZeros(voidsAfter->text) != withoutLeadingZeros(voidsBefore->text)) {
            out.fail(msg::kRfidDataFailed, "void");
            out.result.message = "the encoder counted the tag void (void counter " + voidsBefore->text + ", then " +
                                 voidsAfter->text + ")";
            return out;
        }
    }
    return out.finish(msg::kRfidWriteOk);
}

app::Outcome changePasswords(link::CComm& comm, const PasswordChange& change) {
    app::Outcome out;
    // Only hexadecimal digits: a typo must never become the tag's password.
    const auto currentAccess = passwordDigits(change.currentAccess);
    const auto access = passwordDigits(change.access);
    if (!currentAccess || !access) return out.refuse(msg::kRfidBadAccess, {}, "access");
    const auto currentKill = passwordDigits(change.currentKill);
    const auto kill = passwordDigits(change.kill);
    if (!currentKill || !kill) return out.refuse(msg::kRfidBadKill, {}, "kill");
    if (!comm.WriteText(passwordCommand(*currentAccess, *currentKill, *access, *kill) + "\r"))
        return out.fail(msg::kRfidSetFailed, "passwords");
    out.written = {{"access", *access}, {"kill", *kill}};
    return out.finish(msg::kRfidSetOk);
}

std::size_t tagReplyLength(const TagReadRequest& r) {
    return static_cast<std::size_t>(r.format == DataFormat::Ascii ? r.count : 2 * r.count);
}

std::string readTagReply(link::CComm& comm, platform::Clock& clock, std::size_t length) {
    std::vector<std::uint8_t> area(std::min(length, kReplyArea), 0);
    const bool usb = comm.traits().readsInPieces;
    std::size_t got = 0;
    while (got < area.size()) {
        const std::size_t want = usb ? std::min(kUsbPiece, area.size() - got) : area.size() - got;
        const int n = comm.ReadBytes(area.data() + got, want);
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
        if (usb && want == kUsbPiece) clock.sleepMs(kUsbPieceWaitMs);
    }
    const std::string bytes(area.begin(), area.begin() + static_cast<std::ptrdiff_t>(got));
    return bytes.substr(0, bytes.find('\0'));
}

app::Outcome readTag(link::CComm& comm, platform::Clock& clock, const TagReadRequest& r) {
    app::Outcome out;
    if (r.count < 1 || !rangeFits(r.start, r.count)) return out.refuse(msg::kRfidBadRange, {}, "data");
    comm.BeginAction();
    if (!comm.WriteText(readCommand(r.metal, r.memory, r.format, r.start, r.count, 'S') + "\r"))
        return out.fail(msg::kRfidReadFailed, "data");
    clock.sleepMs(kReadReplyWaitMs);
    const std::size_t length = tagReplyLength(r);
    const std::string reply = readTagReply(comm, clock, length);
    const bool hex = r.format == DataFormat::Hex;
    app::ReadValue v{"data", reply, !reply.empty(), false, reply, {}};
    if (reply.size() != length) {
        v.why = "not " + std::to_string(length) + (hex ? " hexadecimal digits" : " characters");
    } else if (hex ? !isHexDigits(reply) : !std::all_of(reply.begin(), reply.end(), [](char c) {
                   return printableByte(static_cast<unsigned char>(c));
               })) {
        v.why = hex ? "not hexadecimal digits" : "not printable characters";
    } else {
        v.valid = true;
        if (!hex) v.text = platform::fromCodePage(reply);
    }
    const bool valid = v.valid, replied = v.replied;
    out.values.push_back(std::move(v));
    if (!replied || !valid) return out.fail(msg::kRfidReadFailed, "data");
    return out.finish(msg::kRfidReadOk);
}

app::Outcome printTag(link::CComm& comm, DataFormat format, int start, int count) {
    app::Outcome out;
    // The print form's numbers are the read's shifted (start + 4, count - 1), as printers take it.
    if (!comm.WriteText(readCommand(false, Memory::Epc, format, start + 4, count - 1, 'P') + "\r"))
        return out.fail(0, "print");
    out.written.emplace_back("print", "tag data");
    return out.finish(0);
}

}  // namespace velmora::rfid
