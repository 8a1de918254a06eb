// Device nodes as the connection doctor reads them: permission by owner, group and other bits,
// the kind of node, and the processes that hold a file open.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>

#include "platform/devicecheck.h"
#include "platform/server.h"

namespace velmora::platform {
namespace {

TEST(DeviceCheck, ReadWritePermissionByOwnerGroupAndOthers) {
    struct Case {
        unsigned mode;
        unsigned owner;
        unsigned gid;
        UserIds user;
        bool may;
    };
    const UserIds tech{1000, {1000, 20}, "tech"};
    const Case cases[] = {
        {0660, 0, 20, tech, true},                    // through the group
        {0660, 0, 7, tech, false},                    // another group
        {0600, 1000, 7, tech, true},                  // the owner
        {0460, 1000, 20, tech, false},                // the owner's own bits rule, though the group may
        {0666, 0, 7, tech, true},                     // anybody
        {0640, 0, 20, tech, false},                   // the group may only read
        {0000, 0, 0, UserIds{0, {0}, "root"}, true},  // root
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        DeviceStatus s;
        s.exists = s.characterDevice = true;
        s.mode = c.mode;
        s.ownerUid = c.owner;
        s.groupId = c.gid;
        EXPECT_EQ(mayReadWrite(s, c.user), c.may);
    }
    EXPECT_FALSE(mayReadWrite(DeviceStatus{}, UserIds{0, {0}, "root"}));  // no node, no open
}

TEST(DeviceCheck, KindsOfNodeAndWhoHoldsThem) {
    const DeviceStatus null = inspectDevice("/dev/null");
    EXPECT_TRUE(null.exists && null.characterDevice && !null.pseudoTerminal);
    const DeviceStatus missing = inspectDevice("/dev/velmora-no-such-node");
    EXPECT_FALSE(missing.exists);
    EXPECT_EQ(missing.error, ENOENT);

    PseudoTerminal pty;
    ASSERT_TRUE(pty.open());
    EXPECT_TRUE(inspectDevice(pty.slavePath()).pseudoTerminal);
    // This process holds the terminal's slave (kept open by the pseudo-terminal).
    auto holders = processesHolding(pty.slavePath());
    EXPECT_TRUE(std::any_of(holders.begin(), holders.end(), [](const DeviceHolder& h) { return h.pid == getpid(); }));

    char name[] = "/tmp/velmora-held-XXXXXX";
    const int fd = mkstemp(name);
    ASSERT_GE(fd, 0);
    holders = processesHolding(name);
    ASSERT_EQ(holders.size(), 1u);
    EXPECT_EQ(holders[0].pid, getpid());
    EXPECT_FALSE(holders[0].command.empty());
    ::close(fd);
    EXPECT_TRUE(processesHolding(name).empty());
    ::unlink(name);
}

}  // namespace
}  // namespace velmora::platform
