// The sensing calibration's operations and velmora-cli "calibrate" against printers whose answer
// is no distribution (cut short, garbage, counts no sampling gives) or holds no two populations:
// no chart of invented counts, nothing saved, exit 1.
#include <gtest/gtest.h>

#include <map>

#include "resources/messages.h"
#include "resources/stringtable.h"
#include "settings/calibrationops.h"
#include "support/clirun.h"
#include "support/linkfixture.h"

namespace velmora::testing {
namespace {

using namespace settings;

// A 64-byte reply with the given bucket counts.
std::string reply(std::map<int, int> buckets) {
    std::string bytes(64, '\0');
    for (auto [i, n] : buckets) {
        bytes[2 * i] = static_cast<char>(n & 0xFF);
        bytes[2 * i + 1] = static_cast<char>(n >> 8);
    }
    return bytes;
}

using Replies = std::vector<std::optional<std::string>>;

// Every way a reply can fail to be a distribution, and one that is but separates nothing.
struct BadReply {
    const char* name;
    Replies replies;
    bool complete;  // 64 bytes came
};
const std::vector<BadReply>& badReplies() {
    static const std::vector<BadReply> cases = {
        {"cut short", {std::string(63, '\x01'), "", "", ""}, false},
        {"silent", {"", "", "", "", "", ""}, false},
        {"garbage", {std::string(64, 'z')}, true},
        // Two clear populations, but 150 mm are 1200 rows: no bucket can count 60000.
        {"counts above the rows", {reply({{9, 60000}, {23, 3000}})}, true},
    };
    return cases;
}

class SensingOnScript : public ::testing::Test {
  protected:
    void SetUp() override {
        l.comm.portName = "COM1:";
        ASSERT_EQ(l.comm.Open(), 1);
        l.clock.clearPauses();
    }
    ScriptedLink l;
};

TEST_F(SensingOnScript, ADistributionCountsOnlyWhenWholeAndWithinTheRowsSampled) {
    for (const BadReply& c : badReplies()) {
        SCOPED_TRACE(c.name);
        l.script.readScript.assign(c.replies.begin(), c.replies.end());
        const SensingResult r = checkSensing(l.comm, l.clock, {});
        ASSERT_NE(r.distribution(), nullptr);
        EXPECT_FALSE(r.valid());
        EXPECT_EQ(r.complete(), c.complete);
        EXPECT_FALSE(r.distribution()->why.empty());
        EXPECT_EQ(r.outcome.result.status, app::Status::Failed);
        EXPECT_EQ(r.outcome.result.messageId, msg::kSensingReadFail);
    }
    l.script.readScript = {reply({{9, 900}, {23, 30}})};
    SensingResult r = checkSensing(l.comm, l.clock, {});
    EXPECT_TRUE(r.valid());
    EXPECT_TRUE(r.outcome.done());
    EXPECT_EQ(r.analysis.proposed, 19);
    // Valid, but nothing to take a level from: the distribution stands, the check fails.
    l.script.readScript = {reply({})};
    r = checkSensing(l.comm, l.clock, {});
    EXPECT_TRUE(r.valid());
    EXPECT_EQ(r.outcome.result.messageId, msg::kSensingReadFail);
}

TEST_F(SensingOnScript, StepsStartBeforeTheStartCommandAndFollowThePause) {
    std::vector<std::string> seen;
    l.script.readScript = {reply({{9, 900}, {23, 30}})};
    SensingRequest request;
    request.progressEveryMs = 1000;
    checkSensing(l.comm, l.clock, request, [&](const app::Step& s) {
        if (s.kind == app::Step::Kind::Progress)
            seen.push_back(std::to_string(s.done) + "/" + std::to_string(s.total) + " after " +
                           std::to_string(l.script.writes.size()) + " writes");
        else
            seen.push_back(s.kind == app::Step::Kind::Wrote ? "wrote " + s.written->second
                                                            : "read " + std::to_string(s.value->valid));
    });
    EXPECT_EQ(seen, (std::vector<std::string>{"0/4800 after 0 writes", "wrote 1200,G", "1000/4800 after 1 writes",
                                              "2000/4800 after 1 writes", "3000/4800 after 1 writes",
                                              "4000/4800 after 1 writes", "4800/4800 after 1 writes", "read 1"}));
    const auto& pauses = l.clock.pauses();
    ASSERT_GE(pauses.size(), 5u);
    EXPECT_EQ(std::vector<unsigned>(pauses.begin(), pauses.begin() + 5),
              (std::vector<unsigned>{1000, 1000, 1000, 1000, 800}));
}

TEST_F(SensingOnScript, AStoredValueIsALevelOnTheScaleOfItsPrefix) {
    struct Case {
        char prefix;
        int middle, gapCount;
        const char* sent;  // nullptr: refused with `refusal`
        const char* refusal;
    };
    const Case cases[] = {
        {'*', 1024, 7, "*MXs,1024,7\r", ""},
        {'*', 0, 7, nullptr, "Enter an integer between 1 and 1024."},
        {'*', 1025, 7, nullptr, "Enter an integer between 1 and 1024."},
        {'^', 256, 4, "^MXs,256,4\r", ""},
        {'^', 257, 7, nullptr, "Enter an integer between 1 and 256."},
        {'*', 640, 11, nullptr, "Enter an integer between 4 and 10."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(1, c.prefix) + std::to_string(c.middle));
        l.script.writes.clear();
        const app::Outcome out = saveCalibration(l.comm, {c.prefix, c.middle, c.gapCount});
        EXPECT_EQ(l.script.written(), c.sent ? c.sent : "");
        EXPECT_EQ(out.result.status, c.sent ? app::Status::Done : app::Status::Refused);
        EXPECT_EQ(out.result.message, c.refusal);
    }
}

// velmora-cli over a scripted serial printer that answers the connect check, then `replies`.
class CalibrateScripted : public ::testing::Test {
  protected:
    int run(std::vector<std::string> args, const Replies& replies) {
        factory.script.readScript = {"AB"};
        factory.script.readScript.insert(factory.script.readScript.end(), replies.begin(), replies.end());
        factory.script.writes.clear();
        out.str("");
        err.str("");
        args.insert(args.begin(), {"--serial", "/dev/ttyS0"});
        return cli::runCli(args, out, err, factory, clock);
    }
    bool savedAnything() const { return factory.script.written().find("MXs") != std::string::npos; }
    ScriptedFactory factory;
    platform::TestClock clock;
    std::ostringstream out, err;
};

TEST_F(CalibrateScripted, AReplyThatIsNoDistributionIsNeitherChartedNorSaved) {
    for (const BadReply& c : badReplies()) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(run({"calibrate", "--save"}, c.replies), cli::kExitFailure);
        EXPECT_EQ(out.str(), "");
        EXPECT_NE(err.str().find("no valid value for distribution"), std::string::npos) << err.str();
        EXPECT_NE(err.str().find(resources::LoadString(106)), std::string::npos) << err.str();
        EXPECT_FALSE(savedAnything());
    }
}

TEST_F(CalibrateScripted, NoTwoPopulationsChartsTheCountsAndFails) {
    for (bool save : {false, true}) {
        std::vector<std::string> args = {"calibrate"};
        if (save) args.push_back("--save");
        EXPECT_EQ(run(args, {reply({{4, 30}})}), cli::kExitFailure) << save;
        EXPECT_NE(out.str().find("  160     30 |#"), std::string::npos) << out.str();
        EXPECT_NE(out.str().find("no two populations found\n"), std::string::npos) << out.str();
        EXPECT_NE(err.str().find(resources::LoadString(106)), std::string::npos) << err.str();
        EXPECT_FALSE(savedAnything());
    }
}

TEST_F(CalibrateScripted, AStoredValueOutOfRangeIsRefusedBeforeSampling) {
    EXPECT_EQ(run({"calibrate", "--middle", "1025", "--save"}, {}), cli::kExitUsage);
    EXPECT_NE(err.str().find("Enter an integer between 1 and 1024."), std::string::npos) << err.str();
    EXPECT_EQ(run({"calibrate", "--length", "1000"}, {}), cli::kExitUsage);
    EXPECT_NE(err.str().find("Enter an integer between 1 and 999."), std::string::npos) << err.str();
    EXPECT_EQ(factory.script.written(), "^cp\r");  // the connect check only
}

using GarbageCalibrate = CliRun;

TEST_F(GarbageCalibrate, PrintsNoCountsAndFails) {
    sim::Faults f;
    f.garbage = true;
    printer.setFaults(f);
    EXPECT_EQ(run({"--serial", "/dev/ttyS0", "calibrate", "--save"}), cli::kExitFailure);
    EXPECT_EQ(out.str(), "");
    EXPECT_NE(err.str().find("no valid value for distribution: reply 7A 7A"), std::string::npos) << err.str();
    EXPECT_FALSE(printer.media().zii);
}

}  // namespace
}  // namespace velmora::testing
