// What the system says about a device node and who holds it: its kind, owner, group and mode,
// whether a user (uid and groups) may read and write it, and which processes have it open.
// The connection doctor reads these instead of guessing from a failed open.
#pragma once

#include <string>
#include <vector>

namespace velmora::platform {

struct DeviceStatus {
    bool exists = false;
    bool characterDevice = false;
    bool pseudoTerminal = false;  // the slave end of a pseudo-terminal (a simulator's port)
    int error = 0;  // errno of the failed stat (ENOENT: no such device)
    unsigned mode = 0;  // permission bits
    unsigned ownerUid = 0;
    unsigned groupId = 0;
    std::string groupName;  // "" when the group has no name
};

struct UserIds {
    unsigned uid = 0;
    std::vector<unsigned> groups;  // the primary group and the supplementary ones
    std::string name;
};

DeviceStatus inspectDevice(const std::string& path);
// The user this process runs as.
UserIds currentUser();
// Whether `user` may open a device of that status for reading and writing, by its owner, group
// and other permission bits (root always may).
bool mayReadWrite(const DeviceStatus& device, const UserIds& user);
// The name of a group id; "" when it has none.
std::string groupName(unsigned gid);

struct DeviceHolder {
    int pid = 0;
    std::string command;  // the process's name (its comm)
};
// The processes below `procRoot` that have `path` open (same device or file, by stat), in pid
// order. Processes whose descriptors this user may not list are skipped.
std::vector<DeviceHolder> processesHolding(const std::string& path, const std::string& procRoot = "/proc");

}  // namespace velmora::platform
