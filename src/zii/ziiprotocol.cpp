// The ZII escapes, reply reading and command text shared by the ZII setting pages.
#include "zii/ziiprotocol.h"

#include <algorithm>
#include <climits>

#include "platform/codepage.h"

namespace velmora::zii {

std::array<std::uint8_t, 4> settingQueryBytes(int code) {
    return {kSettingQueryPrefix[0], kSettingQueryPrefix[1], kSettingQueryPrefix[2],
            static_cast<std::uint8_t>(code)};
}

std::array<std::uint8_t, 5> settingLockBytes(bool lock, int code) {
    return {kSettingLockPrefix[0], kSettingLockPrefix[1], kSettingLockPrefix[2],
            static_cast<std::uint8_t>(lock ? 1 : 0), static_cast<std::uint8_t>(code)};
}

int sendSettingQuery(link::CComm& comm, int code) {
    const auto bytes = settingQueryBytes(code);
    return comm.WriteBytes(bytes.data(), bytes.size());
}

int sendSettingLock(link::CComm& comm, bool lock, int code) {
    const auto bytes = settingLockBytes(lock, code);
    return comm.WriteBytes(bytes.data(), bytes.size());
}

int sendLockStatusQuery(link::CComm& comm) {
    return comm.WriteBytes(kLockStatusQuery.data(), kLockStatusQuery.size());
}

int ReplyArea::read(link::CComm& comm) { return comm.ReadBytes(bytes_.data(), bytes_.size()); }

std::string ReplyArea::text() const {
    // A reply that fills the whole area has no terminating zero; it ends at the area's end.
    const auto end = std::find(bytes_.begin(), bytes_.end(), std::uint8_t{0});
    return platform::fromCodePage(std::string_view(reinterpret_cast<const char*>(bytes_.data()),
                                                   static_cast<std::size_t>(end - bytes_.begin())));
}

int querySetting(link::CComm& comm, platform::Clock& clock, ReplyArea& area, int code, unsigned waitMs) {
    area.clear();
    if (!sendSettingQuery(comm, code)) return -1;
    clock.sleepMs(waitMs);
    return area.read(comm);
}

int decimalValue(std::string_view text) {
    std::size_t i = 0;
    auto blank = [](char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
    };
    while (i < text.size() && blank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        // Saturate instead of overflowing: a garbled reply must not wrap into a plausible value.
        value = std::min<long long>(value * 10 + (text[i] - '0'), static_cast<long long>(INT_MAX) + 1);
    }
    if (negative) value = -value;
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

unsigned decodeLockFlags(std::span<const std::uint8_t> reply) {
    const unsigned high = reply.size() > 2 ? reply[2] & 0x0Fu : 0u;
    const unsigned low = reply.size() > 3 ? reply[3] & 0x0Fu : 0u;
    return high * 16 + low;
}

app::ReadValue settingValue(std::string key, int got, const ReplyArea& area, std::optional<std::string> shown,
                            std::string_view expected, bool afterSilence, bool hasItsForm) {
    app::ReadValue v;
    v.key = std::move(key);
    v.replied = got > 0;
    if (got > 0) v.raw.assign(reinterpret_cast<const char*>(area.bytes().data()), static_cast<std::size_t>(got));
    v.text = shown.value_or("");
    if (!v.replied)
        v.why = "no reply";
    else if (afterSilence)
        v.why = app::kMaybeLateReply;
    else if (!shown || !hasItsForm)
        v.why = "not " + std::string(expected);
    else
        v.valid = true;
    return v;
}

CommandText& CommandText::line(std::string_view line) {
    text_.append(line);
    text_.append("\r\n");
    return *this;
}

}  // namespace velmora::zii
