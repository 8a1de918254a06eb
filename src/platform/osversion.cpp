// Version values for the Windows rules, on Linux.
#include "platform/osversion.h"

#include <sys/utsname.h>

#include <cstdio>

namespace velmora::platform {

std::uint32_t packedOsVersion() {
    // Build 1, version 0.0: no family bit, and a build number as every NT-family system has.
    return 1u << 16;
}

std::optional<OsVersion> osVersion() {
    utsname name{};
    if (uname(&name) != 0) return std::nullopt;
    OsVersion v;
    v.family = OsVersion::Family::Other;
    if (std::sscanf(name.release, "%u.%u", &v.major, &v.minor) < 1) v.major = v.minor = 0;
    return v;
}

}  // namespace velmora::platform
