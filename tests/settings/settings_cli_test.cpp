// velmora-cli's native setting commands: round trips through the in-process simulator, values the
// page refuses (nothing sent, exit 2), the shared switches, and one run against velmora-sim.
#include <gtest/gtest.h>

#include "app/menumode.h"
#include "support/clirun.h"
#include "support/processes.h"

namespace velmora::testing {
namespace {

using NativeCli = CliRun;

TEST_F(NativeCli, EveryKeyWithAGetRoundTrips) {
    ASSERT_EQ(run({"native", "set", "paper-width=640", "paper-length=1000", "gap-length=-5", "h-margin=8",
                   "v-margin=16", "density=12", "speed=7ips", "offset=-12", "tear-off=7", "gap-detect=upper",
                   "label-length-check=enable"}),
              cli::kExitOk)
        << err.str();
    EXPECT_TRUE(printer.native().labelLengthCheck);
    ASSERT_EQ(run({"native", "get", "paper-width", "paper-length", "gap-length", "h-margin", "v-margin", "density",
                   "speed", "offset", "tear-off", "gap-detect"}),
              cli::kExitOk)
        << err.str();
    EXPECT_EQ(out.str(),
              "paper-width=640\npaper-length=1000\ngap-length=-5\nh-margin=8\nv-margin=16\ndensity=12\n"
              "speed=7ips\noffset=-12\ntear-off=7\ngap-detect=upper\n");

    // Strobe and gap detect share switch 4: each write carries only its own bits.
    ASSERT_EQ(run({"native", "set", "strobe=3"}), cli::kExitOk);
    ASSERT_EQ(run({"native", "get", "strobe"}), cli::kExitOk);
    EXPECT_EQ(out.str(), "strobe=3\n");
    EXPECT_EQ(run({"native", "get", "gap-detect"}), cli::kExitFailure);
    EXPECT_NE(err.str().find("no valid value for gap-detect: reply 40 (\"@\"): the byte stands for no choice"), std::string::npos)
        << err.str();
    ASSERT_EQ(run({"native", "set", "gap-detect=upper"}), cli::kExitOk);
    ASSERT_EQ(run({"native", "get", "gap-detect"}), cli::kExitOk);
    EXPECT_EQ(run({"native", "get", "strobe"}), cli::kExitFailure);
    EXPECT_EQ(out.str(), "");
}

TEST_F(NativeCli, RefusedValuesSendNothing) {
    struct Case {
        std::vector<std::string> args;
        const char* message;
    };
    const Case cases[] = {
        {{"native", "set", "paper-width=900"}, "Enter an integer between 0 and 832."},
        {{"native", "set", "density=x"}, "Enter an integer."},
        {{"native", "set", "offset=-101"}, "Enter an integer between 0 and 100."},
        {{"identity", "set", "version=12345"}, "Hardware version string can't be more than 4 characters."},
        {{"info", "usb-serial", "123456789012"}, "USB Serial Number must be 13 digit number"},
        {{"info", "usb-serial", "12345678901234"}, "Enter no more than 13 characters."},
        // A line end would end the command early and send the rest as a command of its own.
        {{"info", "usb-serial", "123456789012\n"}, "USB Serial Number must be 13 digit number"},
        {{"identity", "set", "id=P\r^MBY"}, "id can't hold control characters"},
    };
    for (const auto& c : cases) {
        const auto before = printer.journal().tail();
        EXPECT_EQ(run(c.args), cli::kExitUsage) << c.args.back();
        EXPECT_NE(err.str().find(c.message), std::string::npos) << err.str();
        // Only the connect check went out.
        EXPECT_EQ(printer.journal().tail(), before + "^cp\r");
    }
    EXPECT_EQ(run({"codepage", "set", "codepage=PC865"}), cli::kExitUsage);  // two entries start so
    EXPECT_EQ(run({"native", "set", "speed=9ips"}), cli::kExitUsage);
    EXPECT_EQ(run({"native", "get", "label-length-check"}), cli::kExitUsage);
}

TEST_F(NativeCli, InterfaceCodePageIdentityAndInfo) {
    ASSERT_EQ(run({"native", "interface", "set", "baud=57600", "parity=odd", "data-bits=7"}), cli::kExitOk);
    EXPECT_EQ(printer.native().switches[1], 0x7C);
    ASSERT_EQ(run({"native", "interface", "get"}), cli::kExitOk);
    EXPECT_EQ(out.str(), "handshake=hardware\nstop-bits=1\ndata-bits=7\nparity=odd\nbaud=57600\n");

    ASSERT_EQ(run({"codepage", "set", "codepage=PC850", "ics=Germany", "lock=1"}), cli::kExitOk) << err.str();
    ASSERT_EQ(run({"codepage", "get"}), cli::kExitOk);
    EXPECT_EQ(out.str(), "codepage=PC850 - Latin 1\nics=Germany\nlock=1\n");
    ASSERT_EQ(run({"codepage", "set", "codepage=23", "lock=0"}), cli::kExitOk);
    EXPECT_EQ(printer.native().switches[0], 23);

    // A switch byte beyond the list: the Set writes no byte for it and says so.
    printer.editNative([](sim::NativeState& s) { s.switches[2] = 0xC0; });
    EXPECT_EQ(run({"codepage", "set", "codepage=0"}), cli::kExitFailure);
    EXPECT_NE(err.str().find("ics"), std::string::npos);
    EXPECT_EQ(printer.native().switches[2], 0xC0);
    EXPECT_EQ(printer.native().switches[0], 0);

    ASSERT_EQ(run({"identity", "set", "serial=ABC123", "id=P7"}), cli::kExitOk);
    ASSERT_EQ(run({"identity", "get"}), cli::kExitOk);
    EXPECT_EQ(out.str(), "version=1.00\nserial=ABC123\nid=P7\n");
    ASSERT_EQ(run({"identity", "init", "id"}), cli::kExitOk);
    EXPECT_EQ(printer.native().identity[2], "VELMORA");

    ASSERT_EQ(run({"info", "reset", "tph"}), cli::kExitOk);
    ASSERT_EQ(run({"info", "usb-serial", "1234567890123"}), cli::kExitOk);
    EXPECT_EQ(printer.native().usbSerial, "1234567890123");
    ASSERT_EQ(run({"info"}), cli::kExitOk);
    EXPECT_EQ(out.str(),
              "model=VELMORA SIM\nfirmware=V1.00\nmotor=125 meter\nmotor-permanent=4820 meter\ntph=0 meter\n"
              "tph-permanent=4790 meter\ncutter=37 times\ncutter-permanent=905 times\n");
}

TEST_F(NativeCli, NativePagesWorkInEitherMenuMode) {
    EXPECT_EQ(run({"--menu-mode", "0", "native", "set", "density=4"}), cli::kExitOk);
    EXPECT_EQ(app::MenuMode, 0);
    EXPECT_EQ(run({"--menu-mode", "1", "native", "get", "density"}), cli::kExitOk);
    EXPECT_EQ(out.str(), "density=4\n");
    EXPECT_EQ(app::MenuMode, 1);
    EXPECT_EQ(run({"--menu-mode", "2", "native", "get"}), cli::kExitUsage);
}

TEST_F(NativeCli, SilentPrinterFailsTheGets) {
    ASSERT_EQ(run({"native", "get", "density"}), cli::kExitOk);
    sim::Faults f;
    f.silent = true;
    printer.setFaults(f);
    EXPECT_EQ(run({"native", "get", "density"}), cli::kExitFailure);
}

TEST(NativeCliProcess, SetThenGetAgainstTheSimulator) {
    SimProcess sim;
    ASSERT_FALSE(sim.address.empty());
    const std::string tcp = "--tcp " + sim.address + " ";
    auto r = runCliProcess(tcp + "native set paper-width=600 speed=5ips");
    ASSERT_EQ(r.status, 0) << r.output;
    r = runCliProcess(tcp + "native get paper-width speed");
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("paper-width=600\n"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("speed=5ips\n"), std::string::npos) << r.output;
}

}  // namespace
}  // namespace velmora::testing
