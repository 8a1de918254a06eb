// velmora-cli "calibrate", "zii quality" and "zii tool": in process against the simulator, and
// "calibrate --length 150 --save" over a pseudo-terminal against a separate velmora-sim.
#include <gtest/gtest.h>

#include <regex>

#include "resources/stringtable.h"
#include "support/clirun.h"
#include "support/processes.h"

namespace velmora::testing {
namespace {

TEST(CalibrateCliProcess, SavesALevelBetweenThePopulationsOverAPseudoTerminal) {
    SimProcess sim({"--pty", "--media", "gap:100:3"});
    ASSERT_FALSE(sim.ptyPath.empty());
    const auto r = runCliProcess("--serial " + sim.ptyPath + " calibrate --length 150 --save");
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("<lower population"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("<upper population"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("<proposed"), std::string::npos) << r.output;
    std::smatch m;
    ASSERT_TRUE(std::regex_search(r.output, m, std::regex("middle gap value (\\d+), gap count 7\nsaved\n")))
        << r.output;
    const std::string middle = m[1];
    const std::string summary = sim.finish();
    EXPECT_NE(summary.find("* " + middle + " (gap count 7)"), std::string::npos) << summary;
    // Between the label readings (288 +- 40) and the gap readings (736 +- 40).
    EXPECT_GT(std::stoi(middle), 328);
    EXPECT_LE(std::stoi(middle), 696);
}

class ToolsCli : public CliRun {};

TEST_F(ToolsCli, CalibrateFollowsTheLinkAndTheMenuMode) {
    // TCP is Ethernet: refused with the menu's message.
    EXPECT_EQ(run({"calibrate"}), 1);
    EXPECT_NE(err.str().find(resources::LoadString(219)), std::string::npos) << err.str();
    // Black-mark media sampled by the reflective sensor, on the native scale.
    printer.editMedia([](sim::MediaState& m) { m.model.kind = sim::MediaModel::Kind::Mark; });
    EXPECT_EQ(run({"--serial", "/dev/ttyS0", "--menu-mode", "0", "calibrate", "--type", "mark", "--save",
                   "--gap-count", "5"}),
              0)
        << err.str();
    ASSERT_TRUE(printer.media().native);
    EXPECT_EQ(printer.media().native->gapCount, 5);
    EXPECT_TRUE(printer.media().separates(printer.media().native->value * 4));
    for (std::vector<std::string> bad : {std::vector<std::string>{"calibrate", "--save", "--cancel"},
                                         {"calibrate", "--type", "hole"},
                                         {"calibrate", "--gap-count", "11"},
                                         {"zii", "quality", "auto", "--labels", "13"},
                                         {"zii", "quality", "pick", "AM"},
                                         {"zii", "quality", "manual", "--darkness", "31", "--speed", "4"},
                                         {"zii", "tool", "jump"}})
        EXPECT_EQ(run(bad), 2) << bad[1];
}

TEST_F(ToolsCli, QualityAndToolCommandsDriveTheirDialogs) {
    ASSERT_EQ(run({"zii", "quality", "auto", "--labels", "18"}), 0) << err.str();
    EXPECT_EQ(printer.totalPrintedLabels(), 18u);
    EXPECT_NE(out.str().find("AR speed 7.0 inch/s darkness 19\n"), std::string::npos) << out.str();
    ASSERT_EQ(run({"zii", "quality", "pick", "AD"}), 0) << err.str();
    EXPECT_EQ(out.str(), "speed 3 darkness 17\n");
    EXPECT_EQ(printer.zii().saved.darkness, 17);
    ASSERT_EQ(run({"zii", "quality", "manual", "--darkness", "5", "--speed", "6", "--sample"}), 0) << err.str();
    EXPECT_EQ(printer.totalPrintedLabels(), 19u);
    EXPECT_EQ(printer.zii().saved.printSpeed, 6);
    ASSERT_EQ(run({"zii", "tool", "feed"}), 0);
    EXPECT_EQ(printer.media().feeds, 1u);
    EXPECT_EQ(run({"zii", "tool", "diagnostics-on"}), 1);  // TCP is Ethernet
    EXPECT_NE(err.str().find(resources::LoadString(272)), std::string::npos);
}

}  // namespace
}  // namespace velmora::testing
