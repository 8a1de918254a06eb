// The version record as both programs print it for --version.
#pragma once

#include <string>

namespace velmora::frontend {

// "velmora-cli 1.0.0", then the product's name, file version, copyright and company.
std::string versionText(const std::string& program);

}  // namespace velmora::frontend
