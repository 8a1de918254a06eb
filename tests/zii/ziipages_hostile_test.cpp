// The ZII setting commands against printers that answer wrongly: late, not at all, with garbage
// or with a reply that came after a silent query. Only valid replies become values, every
// reading command ends within its bound, and a set whose reads were not valid writes nothing.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "support/clirun.h"
#include "support/scripteddevice.h"
#include "zii/lateprinter.h"

namespace velmora::testing {
namespace {

const std::string kLockSequence("\x1B\x1C\x1F", 3);

struct Command {
    std::vector<std::string> args;
    unsigned ownPausesMs;  // the pauses of the page's own actions
    bool writes;
};

const Command kReadingCommands[] = {
    {{"zii", "get"}, 1450, false},
    {{"zii", "advanced", "get"}, 100, false},
    {{"zii", "serial", "get"}, 60, false},
    {{"zii", "set", "speed=3", "lock.speed=1"}, 1450 + 500, true},
    {{"zii", "serial", "set", "baud=9600"}, 60, true},
};

// A printer that answers the connect check and then answers 4 s late, or never: the first read
// waits its bound (3 s), the others the short one; no late answer is taken for a later query's.
TEST(ZiiPagesAgainstALatePrinter, EveryReadingCommandEndsWithinItsBoundAndTakesNoLateAnswer) {
    constexpr unsigned kConnectCheckMs = 100;  // its pause and the pause after its send
    for (const std::uint64_t late : {std::uint64_t{4000}, LateSocket::kNever}) {
        for (const Command& c : kReadingCommands) {
            SCOPED_TRACE(c.args[1] + " " + c.args.back() + " late " + std::to_string(late));
            sim::Printer printer;
            platform::TestClock clock;
            LateFactory factory(printer, clock, late);
            std::ostringstream out, err;
            EXPECT_EQ(cli::runCli(c.args, out, err, factory, clock), cli::kExitFailure);
            EXPECT_LE(clock.nowMs(), 10000u + c.ownPausesMs + kConnectCheckMs);
            EXPECT_EQ(out.str(), "");
            if (c.writes) {
                EXPECT_EQ(printer.journal().tail().find("^XA"), std::string::npos);
                EXPECT_EQ(printer.journal().tail().find(kLockSequence), std::string::npos);
            }
        }
    }
}

using ZiiPagesAgainstGarbage = CliRun;

// Every byte of every reply is "z": replies of the right length that mean nothing.
TEST_F(ZiiPagesAgainstGarbage, GetsNameEveryKeyAndSetsWriteNothing) {
    sim::Faults f;
    f.garbage = true;
    printer.setFaults(f);
    const struct {
        std::vector<std::string> args;
        std::vector<const char*> keys;
    } gets[] = {
        {{"zii", "get"},
         {"label-width", "label-height", "orientation", "speed", "darkness", "print-mode", "media-type", "tear-off",
          "print-offset", "lock.speed", "lock.darkness", "lock.label-width", "lock.print-offset", "lock.tear-off",
          "lock.media-type"}},
        {{"zii", "advanced", "get"}, {"media-handling", "feed"}},
        {{"zii", "serial", "get"}, {"baud", "data-bits", "parity", "stop-bits", "protocol"}},
    };
    for (const auto& g : gets) {
        SCOPED_TRACE(g.args[1]);
        EXPECT_EQ(run(g.args), cli::kExitFailure);
        EXPECT_EQ(out.str(), "");
        for (const char* key : g.keys)
            EXPECT_NE(err.str().find(std::string("no valid value for ") + key + ": reply 7A"), std::string::npos)
                << key << "\n" << err.str();
    }
    // "zzzz" carries no lock flags: the locks not named would be guessed, so nothing is written.
    EXPECT_EQ(run({"zii", "set", "speed=3", "lock.speed=1"}), cli::kExitFailure);
    EXPECT_EQ(run({"zii", "serial", "set", "baud=9600"}), cli::kExitFailure);
    const std::string wire = printer.journal().tail();
    for (const std::string& sent : {std::string("^XA"), kLockSequence}) EXPECT_EQ(wire.find(sent), std::string::npos);
}

// Scripted replies over TCP: "AB" answers the connect check, "" is a query that got nothing.
TEST(ZiiPagesScripted, OnlyRepliesOfTheKeysFormThatCameInTurnAreValues) {
    const struct {
        std::vector<std::string> args;
        std::deque<std::optional<std::string>> replies;
        const char* key;  // named on standard error
        const char* why;
    } cases[] = {
        // The width's answer comes when the height is asked: it is not the height.
        {{"zii", "get"}, {"AB", "", "812", "B"}, "label-height", "late answer"},
        {{"zii", "get"}, {"AB", "812zz"}, "label-width", "not a number from 0 to 32000"},
        // The media handling's "C" (cutter) is no feed action, though "C" also names one.
        {{"zii", "advanced", "get"}, {"AB", "", "C"}, "feed", "late answer"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        ScriptedFactory factory;
        factory.prepareSocket = [&c](ScriptedSocket& s) { s.receiveScript = c.replies; };
        platform::TestClock clock;
        std::ostringstream out, err;
        EXPECT_EQ(cli::runCli(c.args, out, err, factory, clock), cli::kExitFailure);
        EXPECT_EQ(out.str(), "");
        const std::string named = std::string("no valid value for ") + c.key + ": ";
        const auto at = err.str().find(named);
        ASSERT_NE(at, std::string::npos) << err.str();
        EXPECT_NE(err.str().find(c.why, at), std::string::npos) << err.str();
    }
}

}  // namespace
}  // namespace velmora::testing
