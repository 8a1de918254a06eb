// The ">RF" command texts.
#include "rfid/rfidcommands.h"

#include <cctype>
#include <climits>

namespace velmora::rfid {

namespace {
std::string hexByte(std::uint8_t b) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    return {kDigits[b >> 4], kDigits[b & 15]};
}
}  // namespace

std::string settingQuery(int item) { return ">RFI," + std::to_string(item); }

std::string settingsCommand(int tagCode, int retries, int labels, int power) {
    return ">RFS," + std::to_string(tagCode) + "," + std::to_string(retries) + "," + std::to_string(labels) + "," +
           std::to_string(power);
}

std::string positionCommand(std::string_view position) { return ">RFTP," + std::string(position); }

std::string writeCommand(bool metal, Memory memory, DataFormat format, int start, int count, std::string_view data) {
    std::string cmd = metal ? ">RFw," : ">RFW,";
    // User memory carries its memory code instead of a format; it stays upper case for both kinds.
    cmd += memory == Memory::User ? "U," : format == DataFormat::Ascii ? "A," : "H,";
    return cmd + std::to_string(start) + "," + std::to_string(count) + ",'" + std::string(data) + "'";
}

std::string readCommand(bool metal, Memory memory, DataFormat format, int start, int count, char output) {
    std::string cmd = metal ? ">RFr," : ">RFR,";
    if (memory == Memory::User)
        cmd += metal ? "u," : "U,";
    else
        cmd += format == DataFormat::Ascii ? "A," : "H,";
    return cmd + std::to_string(start) + "," + std::to_string(count) + "," + output;
}

std::string passwordCommand(std::string_view access, std::string_view kill, std::string_view newAccess,
                            std::string_view newKill) {
    return ">RFZ,'" + std::string(access) + "," + std::string(kill) + "," + std::string(newAccess) + "," +
           std::string(newKill) + "'";
}

std::array<std::uint8_t, 3> lockPayloadBytes(std::uint32_t payload) {
    const std::uint32_t aligned = (payload & 0xFFFFF) << 4;
    return {static_cast<std::uint8_t>(aligned >> 16), static_cast<std::uint8_t>(aligned >> 8),
            static_cast<std::uint8_t>(aligned)};
}

std::string lockPayloadCommand(bool unlock, std::uint32_t payload) {
    const auto b = lockPayloadBytes(payload);
    return std::string(">RFLP,") + (unlock ? "U" : "L") + ",'" + hexByte(b[0]) + "," + hexByte(b[1]) + "," +
           hexByte(b[2]) + "'";
}

bool isHexDigits(std::string_view text) {
    for (unsigned char c : text)
        if (!std::isxdigit(c)) return false;
    return true;
}

std::optional<std::string> passwordDigits(std::string_view typed) {
    std::string digits;
    for (char c : typed)
        if (c != '.') digits += c;
    if (digits.size() != 8 || !isHexDigits(digits)) return std::nullopt;
    return digits;
}

int replyDecimal(std::string_view reply) {
    std::size_t i = 0;
    while (i < reply.size() && std::isspace(static_cast<unsigned char>(reply[i]))) ++i;
    bool negative = false;
    if (i < reply.size() && (reply[i] == '+' || reply[i] == '-')) negative = reply[i++] == '-';
    long long v = 0;
    for (; i < reply.size() && reply[i] >= '0' && reply[i] <= '9'; ++i) {
        v = v * 10 + (reply[i] - '0');
        if (v > INT_MAX) return 0;
    }
    return static_cast<int>(negative ? -v : v);
}

}  // namespace velmora::rfid
