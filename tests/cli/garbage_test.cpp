// velmora-cli against printers that answer nonsense: the status check names the reply it could
// not take instead of printing boxes from it, and the raw reads show the bytes as they came.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli.h"
#include "support/clirun.h"
#include "support/scripteddevice.h"

namespace velmora::testing {
namespace {

class GarbageCli : public CliRun {
protected:
    void SetUp() override {
        sim::Faults f;
        f.garbage = true;
        printer.setFaults(f);
    }
};

TEST_F(GarbageCli, StatusIsNoStatusOk) {
    for (const auto& [args, reply] : {std::pair<std::vector<std::string>, std::string>{{"status"}, "7A 7A"},
                                      {{"status", "--cu"}, "7A"}}) {
        EXPECT_EQ(run(args), 1);
        EXPECT_EQ(out.str(), "");
        EXPECT_NE(err.str().find("no valid value for status: reply " + reply), std::string::npos) << err.str();
        EXPECT_NE(err.str().find("bits that no status has"), std::string::npos) << err.str();
    }
}

// The status replies of a scripted printer, one run each.
TEST(StatusReplies, OnlyAWholeReplyOfKnownBitsIsPrinted) {
    struct Case {
        std::vector<std::optional<std::string>> reads;
        int status;
        std::string out;
        std::string err;
    };
    const std::string silent[] = {"", "", ""};
    const Case cases[] = {
        {{std::string("\x80\x40", 2)}, 0, "Paper Empty\nOn Printing label\n", ""},
        {{std::string("\x00\x00", 2)}, 0, "Status OK\n", ""},
        {{std::string("\x01\x00", 2)}, 1, "", "velmora-cli: no valid value for status: reply 01 00"},
        {{std::string("\x80", 1)}, 1, "", "Velmora: Status Data Read Fail!\n"},
        {{std::string("\x80", 1), std::string("\x80\x00", 2)}, 1, "", "Velmora: Status Data Read Fail!\n"},
        {{silent[0], silent[1], silent[2], std::string("\x00\x00", 2)}, 0, "Status OK\n", ""},
    };
    for (const Case& c : cases) {
        ScriptedFactory factory;
        factory.script.readScript = {std::string("\0\0", 2)};  // the connect check's reply
        factory.script.readScript.insert(factory.script.readScript.end(), c.reads.begin(), c.reads.end());
        platform::TestClock clock;
        std::ostringstream out, err;
        EXPECT_EQ(cli::runCli({"--serial", "/dev/ttyS0", "status"}, out, err, factory, clock), c.status) << c.out;
        EXPECT_EQ(out.str(), c.out);
        EXPECT_EQ(err.str().substr(0, c.err.size()), c.err);
    }
}

TEST(RawReads, ShowTheBytesAsTheyCame) {
    for (const char* command : {"tester", "terminal"}) {
        ScriptedFactory factory;
        factory.script.readScript = {std::string("\0\0", 2), std::string("zz\0\xFF", 4)};
        platform::TestClock clock;
        std::ostringstream out, err;
        ASSERT_EQ(cli::runCli({"--serial", "/dev/ttyS0", command, "read", "--hex"}, out, err, factory, clock), 0)
            << err.str();
        EXPECT_EQ(out.str(), "7a 7a 00 ff\t\n");
    }
}

}  // namespace
}  // namespace velmora::testing
