// Version information from build-time constants; the version itself is the CMake project's.
#include "app/versionrecord.h"

#ifndef VELMORA_VERSION
#error "VELMORA_VERSION (major.minor.patch) comes from the build; see src/CMakeLists.txt"
#endif

namespace velmora::app {

bool LoadVersionRecord(VersionRecord& record) {
    record.companyName = kBrandName;
    record.legalCopyright = "Copyright (C) 2026";
    record.fileVersion = VELMORA_VERSION ".0";
    record.productName = "Velmora-II";
    record.versionText = VELMORA_VERSION;
    return !record.productName.empty();
}

}  // namespace velmora::app
