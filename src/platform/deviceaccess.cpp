// The permission hint for a refused device.
#include "platform/deviceaccess.h"

#include <grp.h>
#include <sys/stat.h>

#include <cerrno>

namespace velmora::platform {

std::string deviceAccessAdvice(const std::string& device, int error, DeviceUse use) {
    if (error != EACCES && error != EPERM) return {};
    std::string groupName = use == DeviceUse::SerialPort ? "dialout" : "lp";
    struct stat st {};
    if (stat(device.c_str(), &st) == 0) {
        if (const ::group* g = getgrgid(st.st_gid); g && g->gr_name && std::string(g->gr_name) != "root")
            groupName = g->gr_name;
    }
    return "You need write access to " + device + ": join the group " + groupName +
           " (then log in again) or add a udev rule for the device.";
}

}  // namespace velmora::platform
