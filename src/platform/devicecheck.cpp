// Device nodes through stat, the group database and /proc/<pid>/fd.
#include "platform/devicecheck.h"

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>

namespace velmora::platform {

namespace fs = std::filesystem;

DeviceStatus inspectDevice(const std::string& path) {
    DeviceStatus status;
    struct stat st {};
    if (path.empty() || stat(path.c_str(), &st) != 0) {
        status.error = path.empty() ? ENOENT : errno;
        return status;
    }
    status.exists = true;
    status.characterDevice = S_ISCHR(st.st_mode);
    // Unix98 pseudo-terminal slaves have majors 136 to 143.
    status.pseudoTerminal = status.characterDevice && major(st.st_rdev) >= 136 && major(st.st_rdev) <= 143;
    status.mode = st.st_mode & 07777;
    status.ownerUid = st.st_uid;
    status.groupId = st.st_gid;
    status.groupName = groupName(st.st_gid);
    return status;
}

std::string groupName(unsigned gid) {
    const ::group* g = getgrgid(gid);
    return g && g->gr_name ? std::string(g->gr_name) : std::string();
}

UserIds currentUser() {
    UserIds user;
    user.uid = geteuid();
    user.groups.push_back(getegid());
    const int n = getgroups(0, nullptr);
    if (n > 0) {
        std::vector<gid_t> extra(static_cast<std::size_t>(n));
        const int got = getgroups(n, extra.data());
        for (int i = 0; i < got; ++i) user.groups.push_back(extra[static_cast<std::size_t>(i)]);
    }
    if (const ::passwd* pw = getpwuid(user.uid); pw && pw->pw_name) user.name = pw->pw_name;
    return user;
}

bool mayReadWrite(const DeviceStatus& device, const UserIds& user) {
    if (!device.exists) return false;
    if (user.uid == 0) return true;
    unsigned shift = 0;  // the "other" bits
    if (device.ownerUid == user.uid) {
        shift = 6;
    } else if (std::find(user.groups.begin(), user.groups.end(), device.groupId) != user.groups.end()) {
        shift = 3;
    }
    const unsigned bits = (device.mode >> shift) & 07;
    return (bits & 06) == 06;
}

std::vector<DeviceHolder> processesHolding(const std::string& path, const std::string& procRoot) {
    std::vector<DeviceHolder> holders;
    struct stat target {};
    if (stat(path.c_str(), &target) != 0) return holders;
    const bool isDevice = S_ISCHR(target.st_mode) || S_ISBLK(target.st_mode);
    std::error_code ec;
    for (fs::directory_iterator it(procRoot, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos) continue;
        std::error_code fdEc;
        bool holds = false;
        for (fs::directory_iterator fd(it->path() / "fd", fdEc), fdEnd; !fdEc && fd != fdEnd && !holds;
             fd.increment(fdEc)) {
            struct stat st {};
            if (stat(fd->path().c_str(), &st) != 0) continue;
            holds = isDevice ? (st.st_mode & S_IFMT) == (target.st_mode & S_IFMT) && st.st_rdev == target.st_rdev
                             : st.st_dev == target.st_dev && st.st_ino == target.st_ino;
        }
        if (!holds) continue;
        DeviceHolder holder;
        holder.pid = std::stoi(name);
        std::ifstream comm(it->path() / "comm");
        std::getline(comm, holder.command);
        holders.push_back(holder);
    }
    std::sort(holders.begin(), holders.end(), [](const DeviceHolder& a, const DeviceHolder& b) { return a.pid < b.pid; });
    return holders;
}

}  // namespace velmora::platform
