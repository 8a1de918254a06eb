// Switch reads that keep every byte, and the order of an action's replies.
#include "settings/nativereplies.h"

#include <array>

#include "settings/settingexchange.h"

namespace velmora::settings {

namespace {
// Room for more than the one byte a switch read answers, so a longer reply is seen whole.
constexpr std::size_t kSwitchArea = 16;
}  // namespace

std::optional<std::string> querySwitchBytes(link::CComm& comm, platform::Clock& clock, char prefix,
                                            int switchNumber, unsigned waitMs) {
    if (writeRaw(comm, switchReadBytes(prefix, switchNumber, comm.kind)) == 0) return std::nullopt;
    clock.sleepMs(waitMs);
    std::array<std::uint8_t, kSwitchArea> area{};
    const int got = comm.ReadBytes(area.data(), area.size());
    return std::string(reinterpret_cast<const char*>(area.data()), got > 0 ? static_cast<std::size_t>(got) : 0);
}

std::optional<std::string> queryOnce(link::CComm& comm, platform::Clock& clock, std::string_view query,
                                     unsigned waitMs, std::size_t limit, bool text) {
    if (writeRaw(comm, query) == 0) return std::nullopt;
    clock.sleepMs(waitMs);
    std::string area(limit, '\0');
    const int got = comm.ReadBytes(reinterpret_cast<std::uint8_t*>(area.data()), area.size());
    area.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    if (const auto nul = area.find('\0'); text && nul != std::string::npos) area.resize(nul);
    return area;
}

bool lineEnded(std::string_view reply, std::size_t limit) {
    return app::endsWithLine(reply) && !(reply.size() >= limit && reply.back() == '\r');
}

}  // namespace velmora::settings
