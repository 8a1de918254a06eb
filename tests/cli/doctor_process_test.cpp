// velmora-cli doctor and --version as a user runs them, against velmora-sim in its own process.
#include <gtest/gtest.h>

#include "support/processes.h"

namespace velmora::testing {
namespace {

TEST(DoctorProcess, FindsTheBaudRateNamesAMissingDeviceAndARefusedConnection) {
    SimProcess sim({"--pty", "--baud", "38400"});
    ASSERT_FALSE(sim.ptyPath.empty());
    auto r = runCliProcess("doctor --serial " + sim.ptyPath);
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("problem: the printer answers at 38400 8N1; choose that in the panel"), std::string::npos)
        << r.output;
    EXPECT_NE(r.output.find("--baud 38400 --data-bits 8 --parity none --stop-bits 1"), std::string::npos);

    r = runCliProcess("--serial /dev/velmora-no-such-tty doctor");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("problem: There is no device /dev/velmora-no-such-tty"), std::string::npos) << r.output;

    r = runCliProcess("doctor --tcp 127.0.0.1:1");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("refused the connection"), std::string::npos) << r.output;

    EXPECT_EQ(runCliProcess("doctor --baud 1").status, 2);  // a connection option it refuses
}

TEST(VersionProcess, BothProgramsPrintTheVersionRecord) {
    auto r = runCliProcess("--version");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.output.rfind("velmora-cli 1.", 0), 0u) << r.output;
    EXPECT_NE(r.output.find("Velmora-II, file version"), std::string::npos);
    r = runProgram("velmora-sim", "--version");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.output.rfind("velmora-sim 1.", 0), 0u) << r.output;
}

}  // namespace
}  // namespace velmora::testing
