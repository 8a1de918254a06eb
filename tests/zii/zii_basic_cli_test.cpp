// velmora-cli "zii get" and "zii set": argument checks, the key=value output, and round trips
// through the in-process simulated printer and through velmora-sim over TCP.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "support/scripteddevice.h"
#include "support/clirun.h"
#include "support/processes.h"
#include "support/simdevice.h"

namespace velmora::testing {
namespace {

TEST(ZiiBasicCli, ArgumentChecks) {
    const char* bad[] = {"speed",          "bogus=1",         "speed=8",           "speed=4.0",
                         "darkness=31",    "orientation=Top", "label-width=-5",    "label-width=1.2.3",
                         "label-width=.",  "label-width=",    "tear-off=3x",       "tear-off=2147483648",
                         "print-offset=-", "lock.speed=2",    "lock.orientation=1"};
    std::string error;
    for (const char* arg : bad) EXPECT_FALSE(cli::parseCliOptions({"zii", "set", arg}, error)) << arg;
    EXPECT_FALSE(cli::parseCliOptions({"zii", "set"}, error));
    EXPECT_FALSE(cli::parseCliOptions({"zii", "set", "speed=3", "speed=4"}, error));
    EXPECT_FALSE(cli::parseCliOptions({"zii", "get", "extra"}, error));
    EXPECT_TRUE(cli::parseCliOptions(
        {"zii", "set", "speed=", "orientation=bottom-to-top", "label-width=812.9", "label-height=.5",
         "tear-off=-2147483648", "print-offset=+7", "lock.media-type=1"},
        error))
        << error;
}

using ZiiBasicCliRun = CliRun;

TEST_F(ZiiBasicCliRun, SetThenGetPrintsWhatWasSet) {
    ASSERT_EQ(run({"zii", "set", "label-width=700.4", "orientation=bottom-to-top", "speed=6", "darkness=0",
                   "print-mode=direct", "media-type=continuous", "tear-off=-3", "lock.darkness=1",
                   "lock.media-type=1"}),
              cli::kExitOk)
        << err.str();
    ASSERT_EQ(run({"zii", "get"}), cli::kExitOk) << err.str();
    EXPECT_EQ(out.str(),
              "label-width=700\nlabel-height=1218\norientation=bottom-to-top\nspeed=6\ndarkness=0\n"
              "print-mode=direct\nmedia-type=continuous\ntear-off=-3\nprint-offset=0\n"
              "lock.speed=0\nlock.darkness=1\nlock.label-width=0\nlock.print-offset=0\nlock.tear-off=0\n"
              "lock.media-type=1\n");
    EXPECT_EQ(err.str(), "");
}

// Set reads first: what was not named keeps the printer's value, and a change of locks alone
// takes effect.
TEST_F(ZiiBasicCliRun, SetKeepsWhatItWasNotToldToChange) {
    ASSERT_EQ(run({"zii", "set", "lock.speed=1", "lock.darkness=1"}), cli::kExitOk) << err.str();
    EXPECT_TRUE(printer.zii().locked(sim::kLockSpeed));
    EXPECT_TRUE(printer.zii().locked(sim::kLockDarkness));
    ASSERT_EQ(run({"zii", "set", "lock.darkness=0", "lock.media-type=1"}), cli::kExitOk) << err.str();
    EXPECT_TRUE(printer.zii().locked(sim::kLockSpeed));
    EXPECT_FALSE(printer.zii().locked(sim::kLockDarkness));
    EXPECT_TRUE(printer.zii().locked(sim::kLockMediaType));
    EXPECT_EQ(printer.journal().tail().find("^PR"), std::string::npos);  // no row was sent
}

TEST_F(ZiiBasicCliRun, SendsOnlyTheNamedRowsAndNothingOnBadArguments) {
    EXPECT_EQ(run({"zii", "set", "speed=9"}), cli::kExitUsage);
    EXPECT_EQ(printer.journal().totalBytes(), 0u);
    ASSERT_EQ(run({"zii", "set", "speed=5", "lock.speed=1"}), cli::kExitOk);
    EXPECT_NE(printer.journal().tail().find("^XA\r\n^PR5,5\r\n^XZ\r\n^XA^JUS^XZ\r\n"), std::string::npos);
    EXPECT_TRUE(printer.zii().locked(sim::kLockSpeed));
}

// A printer that answers the connect check, then a few queries, some with garbage, then
// nothing: only valid values are printed, and the command fails naming the rest.
TEST(ZiiBasicCliScripted, GetPrintsOnlyValidRepliesAndNamesTheOthers) {
    ScriptedFactory factory;
    factory.prepareSocket = [](ScriptedSocket& s) { s.receiveScript = {"AB", "640", "2147483647", "T", ""}; };
    platform::TestClock clock;
    std::ostringstream out, err;
    EXPECT_EQ(cli::runCli({"zii", "get"}, out, err, factory, clock), cli::kExitFailure);
    EXPECT_EQ(out.str(), "label-width=640\norientation=top-to-bottom\n");
    for (const char* key : {"label-height", "speed", "darkness", "print-mode", "media-type", "tear-off",
                            "print-offset", "lock.speed", "lock.media-type"})
        EXPECT_NE(err.str().find(std::string("no valid value for ") + key + ": "), std::string::npos) << key;
    EXPECT_NE(err.str().find("(\"2147483647\")"), std::string::npos) << err.str();
}

// One Set and one Get (about three seconds of the protocol's own pauses): the values come back,
// and a label format carrying "^PR2,2" does not move the locked speed.
TEST(ZiiBasicCliProcess, LockedSpeedSurvivesALabelFormat) {
    SimProcess sim;
    ASSERT_FALSE(sim.address.empty());
    const std::string tcp = "--tcp " + sim.address + " ";
    auto r = runCliProcess(tcp + "zii set speed=3 lock.speed=1 darkness=21 label-height=1000");
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(r.output, "");
    r = runCliProcess(tcp + "send '^XA^FO20,20^PR2,2^FDlabel^FS^XZ\\r\\n'");
    ASSERT_EQ(r.status, 0) << r.output;
    r = runCliProcess(tcp + "zii get");
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("\nlabel-height=1000\n"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("\nspeed=3\n"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("\ndarkness=21\n"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("\nlock.speed=1\n"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("\nlock.darkness=0\n"), std::string::npos) << r.output;
}

}  // namespace
}  // namespace velmora::testing
