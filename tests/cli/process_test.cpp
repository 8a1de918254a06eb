// velmora-cli and velmora-sim as separate processes, the way a user runs them.
#include <gtest/gtest.h>

#include "support/processes.h"

namespace velmora::testing {
namespace {

TEST(CliAgainstSimulator, ConnectAndStatus) {
    SimProcess sim({"--cover-open", "--paused"});
    ASSERT_FALSE(sim.address.empty());
    auto r = runCliProcess("--tcp " + sim.address + " connect");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.output, "Velmora: Success open port.\n");
    r = runCliProcess("--tcp " + sim.address + " status");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.output, "Cover Open\nIssued label is paused\n");
}

TEST(CliAgainstSimulator, FaultsEndWithMessagesAndExitStatus) {
    SimProcess silent({"--silent"});
    auto r = runCliProcess("--timeout 200 --tcp " + silent.address + " connect");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.output, "Velmora: Cannot open port! Please check printer and cable.\n");

    SimProcess shortReplies({"--short-replies"});
    r = runCliProcess("--timeout 200 --tcp " + shortReplies.address + " status");
    EXPECT_EQ(r.status, 1);  // a one-byte answer to the handshake is no printer

    r = runCliProcess("--tcp 127.0.0.1:1 connect");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("Failed to connect"), std::string::npos);
    EXPECT_EQ(runCliProcess("--baud 1 connect").status, 2);
}

// Data the printer never took, and output that could not be written, fail the command.
TEST(CliAgainstSimulator, LostDataAndUnwritableOutputExitOne) {
    SimProcess dropping({"--drop-after", "5"});  // the handshake's 4 bytes, then one more
    auto r = runCliProcess("--tcp " + dropping.address + " send \"$(head -c 100000 /dev/zero | tr '\\0' x)\"");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.output, "Velmora: Port error! Check printer's port, please.\n");

    SimProcess sim;
    r = runCliProcess("--tcp " + sim.address + " status >/dev/full");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(runCliProcess("--help >/dev/full").status, 1);
}

}  // namespace
}  // namespace velmora::testing
