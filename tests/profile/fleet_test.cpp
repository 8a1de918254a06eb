// velmora-cli --printers: the printer list, and a fleet of simulators on loopback where one is
// silent and one drops its connection: those two fail within their bounded waits, the rest apply.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "cli/cli.h"
#include "cli/fleet.h"
#include "platform/device.h"
#include "platform/monotonic.h"
#include "sim/printer.h"
#include "sim/server.h"
#include "sim/zii.h"

namespace velmora::testing {
namespace {

// Pauses of the tools take no time, for every thread at once; the socket waits stay real.
class InstantClock final : public platform::Clock {
public:
    void sleepMs(unsigned ms) override { now_ += ms; }
    std::uint64_t nowMs() override { return now_; }
    std::chrono::system_clock::time_point wallNow() override { return std::chrono::system_clock::now(); }

private:
    std::atomic<std::uint64_t> now_{0};
};

TEST(PrinterList, ConnectionsPerLineAndWhatIsRefused) {
    cli::CliOptions base;
    base.command = {"status"};
    std::string error;
    const auto list = cli::parsePrinterList(
        "# the line\n--tcp 10.0.0.7:9101\n\n--serial /dev/ttyUSB0 --baud 9600  # by the door\n--lpt /dev/lp0\n", base,
        error);
    ASSERT_TRUE(list) << error;
    ASSERT_EQ(list->size(), 3u);
    EXPECT_EQ((*list)[0].name, "10.0.0.7:9101");
    EXPECT_EQ((*list)[0].line, 2);
    EXPECT_EQ((*list)[1].options.baud, 9600u);
    EXPECT_EQ((*list)[1].options.connection, cli::CliOptions::Connection::Serial);
    EXPECT_EQ((*list)[2].options.command, base.command);

    const struct {
        const char* text;
        const char* error;
    } bad[] = {
        {"--tcp a:1\n--tcp a:1\n", "line 2: a:1 is already listed on line 1"},
        {"--tcp a:1 --lpt /dev/lp0\n", "line 1: give one connection per line"},
        {"--usb\n", "line 1: expected --tcp"},
        {"--tcp a:1 --codepage CP850\n", "line 1: expected --tcp"},
        {"--tcp a:0\n", "line 1: bad port"},
        {"# nothing\n", "the list names no printer"},
    };
    for (const auto& b : bad) {
        EXPECT_FALSE(cli::parsePrinterList(b.text, base, error)) << b.text;
        EXPECT_EQ(error.rfind(b.error, 0), 0u) << error;
    }
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"--printers", "f", "zii", "set", "darkness=3"},
             {"--printers", "f", "profile", "apply", "p.ini", "--include-identity"},
             {"--printers", "f", "--tcp", "a", "status"}}) {
        EXPECT_FALSE(cli::parseCliOptions(args, error)) << args[2];
    }
}

TEST(Fleet, ASilentAndADroppingPrinterFailWithinTheirBoundsAndTheRestApply) {
    constexpr int kPrinters = 6;
    std::vector<std::unique_ptr<sim::Printer>> printers;
    std::vector<std::unique_ptr<sim::Server>> servers;
    std::string list;
    for (int i = 0; i < kPrinters; ++i) {
        printers.push_back(std::make_unique<sim::Printer>());
        servers.push_back(std::make_unique<sim::Server>(*printers.back()));
        const unsigned port = servers.back()->startTcp(0);
        ASSERT_NE(port, 0u);
        list += "--tcp 127.0.0.1:" + std::to_string(port) + "\n";
    }
    printers[2]->setSilent(true);
    printers[4]->setDropAfterBytes(100);  // past the handshake and the model query, within the pages
    const auto dir = std::filesystem::temp_directory_path() / ("velmora-fleet-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string listFile = (dir / "printers").string(), profileFile = (dir / "p.ini").string();
    std::ofstream(listFile) << list;

    InstantClock clock;
    std::ostringstream out, err;
    ASSERT_EQ(cli::runCli({"--tcp", list.substr(6, list.find('\n') - 6), "profile", "save", profileFile}, out, err,
                          platform::systemDevices(), clock),
              0)
        << err.str();
    std::string text;
    {
        std::ifstream in(profileFile);
        std::stringstream s;
        s << in.rdbuf();
        text = s.str();
    }
    text.replace(text.find("darkness=15"), 11, "darkness=21");
    std::ofstream(profileFile) << text;

    // A malformed profile is refused before any printer is contacted.
    std::ofstream(dir / "bad.ini") << text << "speed 4\n";
    EXPECT_EQ(cli::runCli({"--printers", listFile, "profile", "apply", (dir / "bad.ini").string()}, out, err,
                          platform::systemDevices(), clock),
              2);
    EXPECT_NE(err.str().find("nothing was written to any printer"), std::string::npos) << err.str();
    EXPECT_EQ(printers[1]->journal().totalBytes(), 0u);  // never contacted

    const std::uint64_t start = platform::monotonicMicros();
    out.str("");
    const int status = cli::runCli({"--printers", listFile, "--jobs", "3", "--timeout", "300", "--trace",
                                    (dir / "trace").string(), "profile", "apply", profileFile},
                                   out, err, platform::systemDevices(), clock);
    const double seconds = static_cast<double>(platform::monotonicMicros() - start) / 1e6;
    EXPECT_EQ(status, 1);
    EXPECT_LT(seconds, 10.0);  // each failure costs its own bounded waits only
    const std::string all = out.str();
    std::istringstream summary(all.substr(all.rfind("\n", all.find("  keys  time     result\n")) + 1));
    std::vector<std::string> rows;
    for (std::string line; std::getline(summary, line);) rows.push_back(line);
    ASSERT_EQ(rows.size(), kPrinters + 1u) << out.str();
    for (int i = 0; i < kPrinters; ++i) {
        const std::string& row = rows[i + 1];
        if (i == 2 || i == 4) {
            EXPECT_NE(row.find("failed: "), std::string::npos) << row;
        } else {
            EXPECT_NE(row.find("   1  "), std::string::npos) << row;
            EXPECT_NE(row.find(" ok"), std::string::npos) << row;
            EXPECT_EQ(printers[i]->zii().current.darkness, 21);
        }
        EXPECT_TRUE(std::filesystem::exists(dir / ("trace." + std::to_string(i + 1)))) << i;
    }
    EXPECT_EQ(printers[2]->zii().current.darkness, 15);
    for (auto& s : servers) s->stop();
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace velmora::testing
