// The native setting vocabulary: bytes of the switch and user-value commands, and the exchanges.
#include "settings/settingexchange.h"

#include <vector>

#include "platform/codepage.h"

namespace velmora::settings {

namespace {
char digit(int n) { return static_cast<char>('0' + n % 10); }
}  // namespace

std::string switchReadBytes(char prefix, int switchNumber, link::InterfaceKind kind) {
    return std::string{prefix} + "MBR" + digit(switchNumber) + ',' + link::linkTraits(kind).replyDigit;
}

std::string switchWriteBytes(char prefix, int switchNumber, std::uint8_t value, bool withCr) {
    std::string bytes = std::string{prefix} + "MBS" + digit(switchNumber) + ',';
    bytes += static_cast<char>(value);
    if (withCr) bytes += '\r';
    return bytes;
}

std::string commitBytes(char prefix, int switchNumber) {
    std::string bytes = std::string{prefix} + "MBA";
    bytes += static_cast<char>(switchNumber);
    bytes += '\r';
    return bytes;
}

std::string userValueCommand(int valueNumber, int value) {
    return std::string("^MBU") + digit(valueNumber) + ',' + std::to_string(value) + '\r';
}

std::string userValueQuery(int group, int valueNumber) {
    return std::string("^PI") + digit(group) + ',' + digit(valueNumber) + "\r\n";
}

int writeRaw(link::CComm& comm, std::string_view bytes) {
    return comm.WriteBytes(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

std::optional<std::uint8_t> readSwitch(link::CComm& comm, platform::Clock& clock, char prefix, int switchNumber,
                                       unsigned waitMs) {
    writeRaw(comm, switchReadBytes(prefix, switchNumber, comm.kind));
    clock.sleepMs(waitMs);
    std::uint8_t byte = 0;
    if (comm.ReadBytes(&byte, 1) <= 0) return std::nullopt;
    return byte;
}

int writeSwitch(link::CComm& comm, char prefix, int switchNumber, std::uint8_t value, bool withCr) {
    if (writeRaw(comm, switchWriteBytes(prefix, switchNumber, value, withCr)) == 0) return 0;
    return writeRaw(comm, commitBytes(prefix, switchNumber));
}

std::optional<std::string> queryReply(link::CComm& comm, platform::Clock& clock, std::string_view query,
                                      unsigned waitMs, std::size_t limit) {
    writeRaw(comm, query);
    clock.sleepMs(waitMs);
    std::vector<std::uint8_t> area(limit, 0);
    const int got = comm.ReadBytes(area.data(), area.size());
    if (got <= 0) return std::nullopt;
    // Only the bytes read count: a reply that fills the area has no NUL after it.
    std::string_view bytes(reinterpret_cast<const char*>(area.data()), static_cast<std::size_t>(got));
    return std::string(bytes.substr(0, bytes.find('\0')));
}

std::string normaliseReply(std::string_view raw) {
    while (!raw.empty() && (raw.back() == '\r' || raw.back() == '\n')) raw.remove_suffix(1);
    if (raw.empty()) return "0";
    return platform::fromCodePage(raw);
}

std::string trimLineEnd(std::string_view raw) {
    while (!raw.empty() && raw.back() == '\n') raw.remove_suffix(1);
    while (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
    return platform::fromCodePage(raw);
}

std::optional<SignedValue> parseSignedReply(std::string_view raw) {
    if (raw.size() < 4) return std::nullopt;
    SignedValue v;
    v.negative = raw[0] == '-';
    for (std::size_t i = 1; i <= 3; ++i) {
        if (raw[i] < '0' || raw[i] > '9') return std::nullopt;
        v.magnitude = v.magnitude * 10 + (raw[i] - '0');
    }
    return v;
}

}  // namespace velmora::settings
