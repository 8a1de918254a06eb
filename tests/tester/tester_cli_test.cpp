// velmora-cli's tester commands against an in-process simulated printer: "build" and "convert"
// print without touching the link, "tester send" sends a file or typed text, "tester read" shows
// the tester's view, "charset" sends the test labels.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cli/cli.h"
#include "support/clirun.h"
#include "support/scripteddevice.h"

namespace velmora::testing {
namespace {

class TesterCli : public CliRun {};

TEST_F(TesterCli, BuildPrintsTheBuildersLinesWithoutALink) {
    struct Case {
        std::vector<std::string> args;
        std::string out;
    };
    const Case cases[] = {
        {{"build", "text"}, "T20,20,3,1,1,0,0,N,N,'Bar Code Printer Norvik Label Printer'\n"},
        {{"build", "text", "x=12.9", "rotation=270", "text=Hello"}, "T12,20,3,1,1,0,3,N,N,'Hello'\n"},
        {{"build", "vector", "justification=right", "text-direction=right-to-left"},
         "V20,20,U,35,35,1,N,N,N,0,R,1,'Bar Code Printer Norvik Label Printer'\n"},
        {{"build", "barcode1d", "q-zone=12", "type=ucc/ean128"}, "B1100,100,9,2,7,100,0,1,12,'123456789'\n"},
        {{"build", "barcode2d", "mode=4"},
         "B2100,100,M,4,'THIS IS A 93 CHARACTER CODE SET A MESSAGE THAT FILLS A MODE 4,UNAPPENDED,MAXICODE "
         "SYMBOL...'\n"},
        {{"build", "barcode2d", "type=qr-code", "mode=2", "ecc=h"}, "B2100,100,Q,2,H,4,0,'ABCDEFGHIJKLMN1234567890'\n"},
        {{"build", "box", "type=s"}, "BD100,100,800,300,S,10\n"},
        {{"build", "label", "unit=mm", "width=50", "media=blackmark", "margin=off"}, "SW400\nSL1219,24,B\n"},
        {{"build", "printing", "density=0", "direction=bottom", "speed=off"}, "SD0\nSOB\n"},
        {{"build", "copies", "quantity=3", "copies=2"}, "P3,2\n"},
        {{"convert", "4", "--from", "inch"}, "4 inch\n101.6 mm\n812.8 dots\n"},
        {{"convert", "100", "--from", "dots"}, "100 dots\n0.492126 inch\n12.5 mm\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(run(c.args), 0) << c.args[1] << err.str();
        EXPECT_EQ(out.str(), c.out);
    }
    EXPECT_EQ(printer.journal().totalBytes(), 0u);  // no handshake, nothing sent
}

TEST_F(TesterCli, BuildRefusesWhatTheBuilderRefuses) {
    EXPECT_EQ(run({"build", "text", "colour=red"}), 2);
    EXPECT_EQ(run({"build", "label", "--test-print"}), 2);  // the label builder has no test print
    EXPECT_EQ(run({"build", "text", "rotation=45"}), 2);
    EXPECT_EQ(run({"build", "text", "x=1000"}), 1);
    EXPECT_NE(err.str().find("Enter a number between 0 and 999."), std::string::npos);
    EXPECT_EQ(run({"build", "text", "text=it's"}), 1);
    EXPECT_NE(err.str().find("apostrophe"), std::string::npos);
    EXPECT_EQ(run({"convert", "x", "--from", "mm"}), 2);
    EXPECT_EQ(printer.journal().totalBytes(), 0u);
}

TEST_F(TesterCli, TestPrintAndSendReachThePrinter) {
    ASSERT_EQ(run({"build", "copies", "--test-print"}), 2);
    ASSERT_EQ(run({"build", "box", "--test-print"}), 0) << err.str();
    EXPECT_NE(printer.journal().tail().find("BD100,100,800,120,O\rP1\r"), std::string::npos);

    const auto path = std::filesystem::temp_directory_path() / ("velmora-send-" + std::to_string(::getpid()));
    std::ofstream(path, std::ios::binary) << "\xEF\xBB\xBF" "SW812\nP1\n";
    printer.journal().clear();
    ASSERT_EQ(run({"tester", "send", path.string(), "--count", "2"}), 0) << err.str();
    EXPECT_EQ(out.str(), "sent 2 of 2\n");
    EXPECT_NE(printer.journal().tail().find("SW812\nP1\nSW812\nP1\n"), std::string::npos);
    std::filesystem::remove(path);

    printer.journal().clear();
    ASSERT_EQ(run({"tester", "send", "--text", "T1\\r\\nP1\\r\\n"}), 0) << err.str();
    EXPECT_NE(printer.journal().tail().find("T1\r\nP1\r\n"), std::string::npos);
    EXPECT_EQ(run({"tester", "send", "/nonexistent/file"}), 1);
    EXPECT_EQ(run({"tester", "send"}), 2);

    printer.journal().clear();
    ASSERT_EQ(run({"charset", "international", "table=12", "vector"}), 0) << err.str();
    EXPECT_NE(printer.journal().tail().find("CS15,12\rV30,1100,U,35,35,+1"), std::string::npos);
    EXPECT_EQ(run({"charset", "sideways"}), 2);
}

TEST(TesterCliRead, ShowsTheViewInEitherMode) {
    for (const bool hex : {false, true}) {
        ScriptedFactory factory;
        factory.script.readScript = {std::string("\0\0", 2), std::string("AB\r\n")};
        platform::TestClock clock;
        std::ostringstream out, err;
        std::vector<std::string> args = {"--serial", "/dev/ttyS0", "tester", "read"};
        if (hex) args.push_back("--hex");
        ASSERT_EQ(cli::runCli(args, out, err, factory, clock), 0) << err.str();
        EXPECT_EQ(out.str(), hex ? "41 42 0d 0a\t\n" : "A B . .\t\n");
    }
}

}  // namespace
}  // namespace velmora::testing
