// Serial ports from sysfs. The 8250 driver registers its ports whether or not a UART answers
// there; their "type" attribute is 0 then, and such a port is no port at all.
#include "platform/serialports.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <tuple>

namespace velmora::platform {

namespace fs = std::filesystem;

namespace {

// "ttyUSB10" as ("ttyUSB", 10), so names sort by their number.
std::tuple<std::string, long> nameKey(const std::string& name) {
    const auto digits = name.find_last_not_of("0123456789") + 1;
    const std::string number = name.substr(digits);
    return {name.substr(0, digits), number.empty() || number.size() > 6 ? -1 : std::stol(number)};
}

}  // namespace

std::vector<std::string> listSerialPorts(const std::string& root) {
    std::string base = root;
    while (!base.empty() && base.back() == '/') base.pop_back();
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(base + "/sys/class/tty", ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        std::error_code linkEc;
        if (!fs::exists(it->path() / "device", linkEc)) continue;  // a virtual terminal or console
        if (name.rfind("ttyS", 0) == 0) {
            std::ifstream type(it->path() / "type");
            int uart = 0;
            if (!(type >> uart) || uart == 0) continue;
        }
        if (!fs::exists(base + "/dev/" + name, linkEc)) continue;
        names.push_back(name);
    }
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return nameKey(a) < nameKey(b); });
    std::vector<std::string> nodes;
    for (const std::string& name : names) nodes.push_back(base + "/dev/" + name);
    return nodes;
}

}  // namespace velmora::platform
