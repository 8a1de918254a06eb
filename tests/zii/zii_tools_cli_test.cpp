// velmora-cli "zii quality" and "zii tool" when a write fails: the series stops there with one
// message, nothing follows a sample that did not go out, and success is said only when every
// write was taken.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli.h"
#include "resources/stringtable.h"
#include "support/scripteddevice.h"

namespace velmora::testing {
namespace {

std::size_t occurrences(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (auto p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) ++n;
    return n;
}

TEST(ZiiToolsCliFailures, StopAtTheFirstFailedWriteAndSayItOnce) {
    constexpr long kFail[] = {-1, -1, -1, -1};  // a write and its three retries
    struct Case {
        std::vector<std::string> args;
        int writesTaken;          // after the connect check, before the failing one
        const char* out;          // what is printed
        std::size_t writeCalls;   // write calls after the connect check
    };
    const Case cases[] = {
        {{"zii", "quality", "auto"}, 2, "AA speed 2.0 inch/s darkness 8\nAB speed 2.0 inch/s darkness 17\n", 2 + 4},
        {{"zii", "quality", "pick", "AD"}, 0, "", 4},
        {{"zii", "quality", "manual", "--darkness", "5", "--speed", "6", "--sample"}, 0, "", 4},  // no setting follows
        {{"zii", "quality", "manual", "--darkness", "5", "--speed", "6", "--sample"}, 1, "", 1 + 4},
        {{"zii", "tool", "feed"}, 0, "", 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[2] + " after " + std::to_string(c.writesTaken));
        ScriptedFactory factory;
        factory.script.readScript = {"AB"};
        factory.script.writeScript.assign(static_cast<std::size_t>(1 + c.writesTaken), 1 << 20);
        factory.script.writeScript.insert(factory.script.writeScript.end(), std::begin(kFail), std::end(kFail));
        platform::TestClock clock;
        std::ostringstream out, err;
        std::vector<std::string> args = {"--serial", "/dev/ttyS0"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        EXPECT_EQ(cli::runCli(args, out, err, factory, clock), cli::kExitFailure);
        EXPECT_EQ(out.str(), c.out);
        EXPECT_EQ(occurrences(err.str(), resources::LoadString(111)), 1u) << err.str();
        EXPECT_EQ(factory.script.writeSizes.size(), 1 + c.writeCalls);
    }
}

}  // namespace
}  // namespace velmora::testing
