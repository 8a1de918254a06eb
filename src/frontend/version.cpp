// The version text.
#include "frontend/version.h"

#include "app/versionrecord.h"

namespace velmora::frontend {

std::string versionText(const std::string& program) {
    app::VersionRecord record;
    app::LoadVersionRecord(record);
    return program + " " + record.versionText + "\n" + record.productName + ", file version " + record.fileVersion +
           "\n" + record.legalCopyright + " " + record.companyName + "\n";
}

}  // namespace velmora::frontend
