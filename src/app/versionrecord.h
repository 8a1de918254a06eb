// The program's version information, shown in the main dialog's titles.
#pragma once

#include <string>

namespace velmora::app {

// The brand shown as the banner's subtitle; also the version record's company name.
constexpr const char* kBrandName = "Bar Code Printer Norvik";

struct VersionRecord {
    std::string companyName;
    std::string legalCopyright;
    std::string fileVersion;  // four numbers, "1.0.0.0"
    std::string productName;
    std::string versionText;  // major, minor and build number of the product version, "1.0.0"
};

// Fills the record from the values fixed when the program was built. True when it has a
// product name; otherwise the titles fall back to the bare product name.
bool LoadVersionRecord(VersionRecord& record);

}  // namespace velmora::app
