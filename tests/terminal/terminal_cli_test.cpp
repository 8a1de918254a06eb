// velmora-cli "terminal" and "twobyte print" against an in-process simulated printer.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/clirun.h"
#include "support/scripteddevice.h"

namespace velmora::testing {
namespace {

using namespace std::string_literals;

class TerminalCli : public CliRun {};

TEST_F(TerminalCli, SendsTextOrAFileAndReadsTheView) {
    printer.journal().clear();
    ASSERT_EQ(run({"terminal", "send", "--text", "^XA^PW400^XZ\\r\\n"}), 0) << err.str();
    EXPECT_EQ(printer.zii().current.labelWidth, 400);

    const auto path = std::filesystem::temp_directory_path() / ("velmora-terminal-" + std::to_string(::getpid()));
    std::ofstream(path, std::ios::binary) << "\xFF\xFE^\0X\0A\0^\0P\0W\0" "5\0" "0\0" "0\0^\0X\0Z\0"s;
    ASSERT_EQ(run({"terminal", "send", path.string()}), 0) << err.str();
    EXPECT_EQ(printer.zii().current.labelWidth, 500);
    std::filesystem::remove(path);
    EXPECT_EQ(run({"terminal", "send", path.string()}), 1);
    EXPECT_EQ(run({"terminal", "send"}), 2);
    EXPECT_EQ(run({"terminal", "send", "--text"}), 2);
}

TEST(TerminalCliRead, ShowsTheViewInEitherMode) {
    for (const bool hex : {false, true}) {
        ScriptedFactory factory;
        factory.script.readScript = {std::string("\0\0", 2), std::string("A\r")};
        platform::TestClock clock;
        std::ostringstream out, err;
        std::vector<std::string> args = {"--serial", "/dev/ttyS0", "terminal", "read"};
        if (hex) args.push_back("--hex");
        ASSERT_EQ(cli::runCli(args, out, err, factory, clock), 0) << err.str();
        EXPECT_EQ(out.str(), hex ? "41 0d \n" : "A . \n");
    }
}

TEST_F(TerminalCli, TwoBytePrintsThroughEitherDialog) {
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string out;
        std::uint64_t labels;  // printed by the simulator
    };
    const Case cases[] = {
        {{"--table", "ks5601", "--start", "b0", "--end", "b1"}, 0, "printed 2 label(s)\n", 2},
        {{"--table", "jis", "--all", "--zii"}, 0, "printed 124 label(s)\n", 124},
        {{"--table", "big5", "--all", "--font", "vector", "--width", "40", "--height", "50"}, 0,
         "printed 72 label(s)\n", 72},
        {{"--table", "gb2312", "--start", "G1"}, 2, "printed 0 label(s)\n", 0},
        {{"--table", "gb2312", "--start", "27", "--end", "27"}, 2, "printed 0 label(s)\n", 0},
        {{"--table", "gb2312", "--zii", "--width", ""}, 2, "printed 0 label(s)\n", 0},
        {{"--table", "ks5601", "--font", "vector", "--width", "-1"}, 2, "printed 0 label(s)\n", 0},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"twobyte", "print"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const std::uint64_t before = printer.totalPrintedLabels();
        EXPECT_EQ(run(args), c.status) << c.args[1] << err.str();
        EXPECT_EQ(out.str(), c.out);
        EXPECT_EQ(printer.totalPrintedLabels() - before, c.labels) << c.args[1];
    }
    for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
             {"twobyte", "print"},
             {"twobyte", "print", "--table", "utf8"},
             {"twobyte", "print", "--table", "jis", "--all", "--start", "81"},
             {"twobyte", "print", "--table", "jis", "--zii", "--font", "bitmap"},
             {"twobyte", "print", "--table", "jis", "--font", "outline"},
             {"twobyte", "print", "--table", "jis", "--width", "-1"},
             {"twobyte", "print", "--table", "jis", "--font", "bitmap", "--height", "40"}})
        EXPECT_EQ(run(bad), 2) << bad.back();
}

}  // namespace
}  // namespace velmora::testing
