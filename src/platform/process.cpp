// Process facts from /proc.
#include "platform/process.h"

#include <fstream>
#include <string>

namespace velmora::platform {

long residentMemoryKiB() {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

}  // namespace velmora::platform
