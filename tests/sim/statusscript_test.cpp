// The simulator's run-time changes: its --listen address, model and firmware, and the status
// script that sets and clears bits and silence as time goes on.
#include "sim/statusscript.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "sim/options.h"

namespace velmora::sim {
namespace {

using std::chrono::milliseconds;

TEST(StatusScript, LinesInTimeOrderOrTheLineThatIsWrong) {
    std::string error;
    const auto events = parseStatusScript(
        "# a paper run-out\n"
        "5 paper-empty off\n"
        "  1.5\tpaper-empty on   # the roll ends\n"
        "\n"
        "1.5 silent on\n"
        "0 cover-open on\r\n",
        error);
    ASSERT_TRUE(events) << error;
    ASSERT_EQ(events->size(), 4u);
    EXPECT_EQ((*events)[0].at, milliseconds{0});
    EXPECT_EQ((*events)[0].name, "cover-open");
    EXPECT_EQ((*events)[1].at, milliseconds{1500});
    EXPECT_EQ((*events)[1].name, "paper-empty");  // same time: file order
    EXPECT_EQ((*events)[2].name, "silent");
    EXPECT_EQ((*events)[3].at, milliseconds{5000});
    EXPECT_FALSE((*events)[3].on);

    for (const char* bad :
         {"1 paper-gone on\n", "1 paper-empty maybe\n", "-1 paper-empty on\n", "x paper-empty on\n",
          "1 paper-empty\n", "1 paper-empty on now\n", "1e9 paused on\n"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(parseStatusScript(std::string("0 paused on\n") + bad, error));
        EXPECT_EQ(error.rfind("line 2: ", 0), 0u) << error;
    }
}

TEST(StatusScript, EventsApplyWhenTheirTimeHasCome) {
    std::string error;
    const auto events =
        *parseStatusScript("1 paper-empty on\n2 silent on\n3 paper-empty off\n3 silent off\n", error);
    Printer printer;
    std::size_t next = applyDueEvents(events, 0, milliseconds{999}, printer);
    EXPECT_EQ(next, 0u);
    EXPECT_FALSE(printer.status("paper-empty"));
    next = applyDueEvents(events, next, milliseconds{2000}, printer);
    EXPECT_EQ(next, 2u);
    EXPECT_TRUE(printer.status("paper-empty"));
    EXPECT_TRUE(printer.faults().silent);
    next = applyDueEvents(events, next, milliseconds{60000}, printer);
    EXPECT_EQ(next, 4u);
    EXPECT_FALSE(printer.status("paper-empty"));
    EXPECT_FALSE(printer.faults().silent);
}

TEST(SimOptions, ListenOnLoopbackOnlyAndTheIdentityItReports) {
    std::string error;
    std::vector<std::string_view> args = {"--listen",         "127.0.4.9",       "--model", "LX-4 PRO",
                                          "--firmware=V2.10", "--status-script", "s.txt"};
    const auto options = parseOptions(args, error);
    ASSERT_TRUE(options) << error;
    EXPECT_EQ(options->listenAddress, "127.0.4.9");
    EXPECT_EQ(options->statusScript, "s.txt");
    Printer printer;
    applyOptions(*options, printer);
    EXPECT_EQ(printer.native().modelName, "LX-4 PRO");
    EXPECT_EQ(printer.native().firmware, "V2.10");
    EXPECT_EQ(parseOptions(std::vector<std::string_view>{}, error)->listenAddress, "127.0.0.1");

    for (std::vector<std::string_view> bad : {
             std::vector<std::string_view>{"--listen", "10.0.0.1"},  // never beyond this computer
             {"--listen", "localhost"},
             {"--listen", "127.0.0.256"},
             {"--model", "a\rb"},
             {"--firmware", "0123456789012345678901234567890"},  // 31: no room for the line end
             {"--status-script", ""},
         }) {
        SCOPED_TRACE(std::string(bad[0]) + " " + std::string(bad[1]));
        EXPECT_FALSE(parseOptions(bad, error));
    }
}

}  // namespace
}  // namespace velmora::sim
