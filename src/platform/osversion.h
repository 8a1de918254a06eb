// The operating system's version in the two shapes the port object's Windows rules read: the
// packed value (major version in the low byte, minor in the next, build in the high 16 bits, top
// bit set on the Windows 95 family) and the version record (platform family, major, minor).
// Linux is neither Windows family: its packed value has the top bit clear and a nonzero build,
// and its record names another platform.
#pragma once

#include <cstdint>
#include <optional>

namespace velmora::platform {

struct OsVersion {
    enum class Family { Windows95, WindowsNt, Other };
    Family family = Family::Other;
    unsigned major = 0;
    unsigned minor = 0;
};

std::uint32_t packedOsVersion();
// Nothing when the version cannot be read.
std::optional<OsVersion> osVersion();

}  // namespace velmora::platform
