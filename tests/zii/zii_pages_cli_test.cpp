// velmora-cli's zii advanced, serial and clock commands against an in-process simulated printer:
// what they print, what reaches the printer, and usage errors that send nothing.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli.h"
#include "platform/localtime.h"
#include "support/simdevice.h"

namespace velmora::testing {
namespace {

class ZiiPagesCli : public ::testing::Test {
  protected:
    int run(std::vector<std::string> args) {
        out.str("");
        err.str("");
        return cli::runCli(args, out, err, factory, clock);
    }
    bool endsWith(const std::string& text, const std::string& tail) {
        return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
    }
    sim::Printer printer;
    SimFactory factory{printer};
    platform::TestClock clock;
    std::ostringstream out, err;
};

TEST_F(ZiiPagesCli, AdvancedGetPrintsWhatThePrinterReports) {
    printer.editZii([](sim::ZiiState& z) {
        z.current.mediaHandling = 'P';
        z.current.powerUpAction = 'L';
    });
    EXPECT_EQ(run({"zii", "advanced", "get"}), cli::kExitOk);
    EXPECT_EQ(out.str(), "media-handling=peel-off\nfeed=label-length\n");

    // A setting the page cannot show is reported, not printed as the page's default.
    printer.editZii([](sim::ZiiState& z) { z.current.mediaHandling = 'R'; });
    EXPECT_EQ(run({"zii", "advanced", "get"}), cli::kExitFailure);
    EXPECT_EQ(out.str(), "feed=label-length\n");
    EXPECT_NE(err.str().find("media-handling"), std::string::npos);
}

TEST_F(ZiiPagesCli, AdvancedSetSendsOnlyTheNamedRows) {
    printer.editZii([](sim::ZiiState& z) { z.current.powerUpAction = 'L'; });
    EXPECT_EQ(run({"zii", "advanced", "set", "mirror=1", "media-handling=cutter"}), cli::kExitOk)
        << err.str();
    EXPECT_TRUE(endsWith(printer.journal().tail(), "^XA\r\n^MMC,N\r\n^PMY\r\n^XZ\r\n^XA^JUS^XZ\r\n"));
    const auto saved = printer.zii().saved;
    EXPECT_EQ(saved.mediaHandling, 'C');
    EXPECT_TRUE(saved.mirror);
    EXPECT_EQ(saved.powerUpAction, 'L');

    EXPECT_EQ(run({"zii", "advanced", "set", "feed=none", "mirror=0"}), cli::kExitOk);
    EXPECT_TRUE(endsWith(printer.journal().tail(), "^XA\r\n^MFN,N\r\n^PMN\r\n^XZ\r\n^XA^JUS^XZ\r\n"));
    EXPECT_EQ(printer.zii().saved.powerUpAction, 'N');
}

TEST_F(ZiiPagesCli, SerialSetKeepsThePrintersValuesForUnnamedKeys) {
    EXPECT_EQ(run({"zii", "serial", "set", "baud=9600", "parity=odd", "protocol=software"}), cli::kExitOk);
    EXPECT_EQ(err.str(),
              "Velmora: Set serial communication status is successful\n"
              "Velmora: Please, turn off the printer and turn on the printer\n");
    EXPECT_TRUE(endsWith(printer.journal().tail(), "^XA^SC9600,8,O,1,X,N^JUS^XZ\r\n"));

    EXPECT_EQ(run({"zii", "serial", "get"}), cli::kExitOk);
    EXPECT_EQ(out.str(), "baud=9600\ndata-bits=8\nparity=odd\nstop-bits=1\nprotocol=software\n");

    // Keys not named keep the printer's values, not the defaults.
    EXPECT_EQ(run({"zii", "serial", "set", "stop-bits=2"}), cli::kExitOk);
    EXPECT_TRUE(endsWith(printer.journal().tail(), "^XA^SC9600,8,O,2,X,N^JUS^XZ\r\n"));

    printer.editZii([](sim::ZiiState& z) { z.current.serial.handshake = 'R'; });
    EXPECT_EQ(run({"zii", "serial", "get"}), cli::kExitFailure);
    EXPECT_EQ(out.str(), "baud=9600\ndata-bits=8\nparity=odd\nstop-bits=2\n");
    // A value the printer did not report and the user did not name is not guessed.
    EXPECT_EQ(run({"zii", "serial", "set", "baud=19200"}), cli::kExitFailure);
    EXPECT_EQ(err.str(), "Velmora: Please, select the protocol mode.\n");
}

TEST_F(ZiiPagesCli, ClockSetTakesAPickedTimeOrNow) {
    EXPECT_EQ(run({"zii", "clock", "set", "2024-03-05T00:07:09"}), cli::kExitOk);
    EXPECT_EQ(printer.zii().clock, (sim::ClockTime{2024, 3, 5, 0, 7, 9}));
    EXPECT_TRUE(
        endsWith(printer.journal().tail(), "^XA\r\n^ST03,05,2024,00,07,09,M\r\n^XZ\r\n^XA^JUS^XZ\r\n"));

    clock.setWall(*platform::fromLocalTime({2030, 11, 12, 13, 14, 15}));
    EXPECT_EQ(run({"zii", "clock", "set", "now"}), cli::kExitOk);
    // The handshake's pauses move the test clock on by a fraction of a second only.
    EXPECT_EQ(printer.zii().clock, (sim::ClockTime{2030, 11, 12, 13, 14, 15}));
}

TEST_F(ZiiPagesCli, BadKeysAndValuesAreUsageErrorsThatSendNothing) {
    const std::vector<std::vector<std::string>> bad = {
        {"zii", "advanced", "get", "now"},
        {"zii", "advanced", "set"},
        {"zii", "advanced", "set", "feed=sideways"},
        {"zii", "advanced", "set", "mirror=2"},
        {"zii", "advanced", "set", "feed=none", "feed=calibrate"},
        {"zii", "advanced", "set", "backfeed=none"},
        {"zii", "advanced", "set", "media-handling"},
        {"zii", "serial", "get", "baud"},
        {"zii", "serial", "set", "baud=1200"},
        {"zii", "serial", "set", "parity=mark"},
        {"zii", "serial", "set", "Baud=9600"},
        {"zii", "clock", "set"},
        {"zii", "clock", "set", "now", "now"},
        {"zii", "clock", "set", "2023-02-29T10:00:00"},
        {"zii", "clock", "set", "2024-03-05 14:07:09"},
        {"zii", "clock", "set", "2024-03-05T24:00:00"},
    };
    for (const auto& args : bad) {
        SCOPED_TRACE(args.back());
        EXPECT_EQ(run(args), cli::kExitUsage);
    }
    EXPECT_EQ(printer.journal().totalBytes(), 0u);
}

}  // namespace
}  // namespace velmora::testing
