// The RFID tools against the in-process simulator, and velmora-cli against velmora-sim: a label
// tag written, printed and read back; passwords and locks; a failing encoder seen as a void tag.
#include <gtest/gtest.h>

#include "resources/templates_rfid.h"
#include "rfid/crfidread.h"
#include "rfid/crfidsetting.h"
#include "rfid/crfidwriteread.h"
#include "rfid/rfidsettings.h"
#include "support/clirun.h"
#include "support/processes.h"
#include "support/simdevice.h"
#include "ui/testhost.h"

namespace velmora::testing {
namespace {

using namespace resources;
using namespace rfid;

const std::vector<std::string> kTwelve = {"30", "08", "33", "B2", "DD", "D9", "01", "40", "00", "00", "00", "01"};

class RfidOnSim : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(l.comm.Open(), 1); }
    // Writes the twelve bytes from block 4 to a label tag, with the given extra steps ticked.
    std::vector<std::string> write(const std::vector<int>& extraTicks = {}) {
        CRFIDWriteRead d(ctx);
        d.Create();
        host.clear();
        d.click(IDC_RW_LABEL);
        d.click(IDC_RW_SET_DATA);
        for (std::size_t i = 0; i < kTwelve.size(); ++i) d.typeText(IDC_RW_CELL_FIRST + 4 + static_cast<int>(i), kTwelve[i]);
        d.click(IDC_RW_DO_DATA);
        for (int id : extraTicks) d.click(id);
        d.click(IDC_RW_WRITE);
        return host.messageTexts();
    }
    std::string readBack() {
        CRFIDRead d(ctx);
        d.Create();
        d.click(IDC_RR_READ);
        std::string data;
        for (int n = 5; n <= 16; ++n) data += d.cell(n);
        return data;
    }
    std::string counter(const char* key) {
        const app::Outcome got = getEncoderSettings(l.comm, l.clock, {key});
        if (!got.done()) return "no reply";
        return got.values.front().text;
    }
    SimLink l;
    ui::TestHost host;
    app::ToolContext ctx{l.comm, l.clock, host};
};

TEST_F(RfidOnSim, WriteAPrintedLabelTagAndReadItBack) {
    EXPECT_EQ(write(), std::vector<std::string>{"Writing is success"});
    EXPECT_EQ(l.printer.totalPrintedLabels(), 1u);
    EXPECT_EQ(readBack(), "300833B2DDD9014000000001");
    EXPECT_EQ(counter("valid"), "1");

    // New passwords, then the EPC memory locked with the next write: a further write is void.
    CRFIDWriteRead d(ctx);
    d.Create();
    d.typeText(IDC_RW_ACCESS, "11.22.33.44");
    d.typeText(IDC_RW_KILL, "55.66.77.88");
    d.click(IDC_RW_PASSWORD);
    EXPECT_EQ(l.printer.rfid().tag.accessPassword, 0x11223344u);
    EXPECT_EQ(l.printer.rfid().tag.killPassword, 0x55667788u);
    EXPECT_EQ(write({IDC_RW_DO_LOCK, IDC_RW_LOCK_BIT0 + 15, IDC_RW_LOCK_BIT0 + 5}),
              std::vector<std::string>{"Writing is success"});
    EXPECT_TRUE(l.printer.rfid().tag.locks[sim::kEpcMemory].locked);
    l.printer.editRfid([](sim::RfidState& s) { s.tag.epc[4] = 0x77; });
    write();
    EXPECT_EQ(l.printer.rfid().tag.epc[4], 0x77);
    EXPECT_EQ(counter("void"), "1");
    // Unlocking in the same series lets the write through again.
    write({IDC_RW_DO_UNLOCK});
    EXPECT_EQ(readBack(), "300833B2DDD9014000000001");
}

TEST_F(RfidOnSim, AFailingEncoderShowsInTheVoidCounter) {
    l.printer.editRfid([](sim::RfidState& s) { s.voidEveryWrite = true; });
    CRFIDSetting setting(ctx);
    setting.Create();
    setting.click(IDC_RS_GET);
    EXPECT_EQ(setting.control(IDC_RS_VOID).text(), "0");
    write();
    EXPECT_EQ(readBack(), "000000000000000000000000");  // the tag is unchanged
    setting.click(IDC_RS_GET);
    EXPECT_EQ(setting.control(IDC_RS_VOID).text(), "1");
    setting.click(IDC_RS_RESET);
    setting.click(IDC_RS_GET);
    EXPECT_EQ(setting.control(IDC_RS_VOID).text(), "0");
}

TEST_F(RfidOnSim, SettingsWrittenAsValuesReadBack) {
    const app::Outcome set =
        changeEncoderSettings(l.comm, l.clock, {{"tag-type", "ISO-B"}, {"power", "20"}, {"position", "-12"}});
    ASSERT_TRUE(set.done()) << set.result.where;
    const app::Outcome got = getEncoderSettings(l.comm, l.clock);
    KeyValues values;
    for (const auto& v : got.values) values.emplace_back(v.key, v.text);
    EXPECT_EQ(values, (KeyValues{{"tag-type", "ISO-B"}, {"power", "20"}, {"position", "-12"}, {"retries", "3"},
                                 {"labels", "2"}, {"valid", "0"}, {"void", "0"}}));
    l.printer.setSilent(true);
    EXPECT_FALSE(getEncoderSettings(l.comm, l.clock).done());
    EXPECT_FALSE(changeEncoderSettings(l.comm, l.clock, {{"power", "2"}}).done());
}

using RfidCli = CliRun;

TEST_F(RfidCli, RefusedValuesPrintTheMessageAndSendNothing) {
    struct Case {
        std::vector<std::string> args;
        const char* message;
    };
    const Case cases[] = {
        {{"rfid", "write", "--start", "16", "--data", std::string(98, 'A')},
         "Invalid value! Please check StartBlockNumber and Number of bytes."},
        {{"rfid", "write", "--start", "4", "--data", "3008G1"}, "Writing data is failed"},
        {{"rfid", "write", "--passwords", "5E2B7A19,5E2B7A19,1234567,00000000"}, "Value of access is invalid!"},
        {{"rfid", "read", "--start", "16", "--count", "49"},
         "Invalid value! Please check StartBlockNumber and Number of bytes."},
    };
    for (const auto& c : cases) {
        const auto before = printer.journal().tail();
        EXPECT_EQ(run(c.args), cli::kExitUsage) << c.args[3];
        EXPECT_NE(err.str().find(c.message), std::string::npos) << err.str();
        EXPECT_EQ(printer.journal().tail(), before + "^cp\r");
    }
    EXPECT_EQ(run({"rfid", "write", "--start", "4"}), cli::kExitUsage);
    EXPECT_EQ(run({"rfid", "set", "power=32"}), cli::kExitUsage);
    EXPECT_EQ(run({"rfid", "set", "position=2147483648"}), cli::kExitUsage);
    EXPECT_EQ(run({"rfid", "set", "position=6,0"}), cli::kExitUsage);
}

TEST_F(RfidCli, MetalUserMemoryAndSettings) {
    printer.editRfid([](sim::RfidState& s) { s.tag.kind = sim::TagKind::Metal; });
    ASSERT_EQ(run({"rfid", "write", "--metal", "--user", "--ascii", "--start", "0", "--data", "VELMORA"}), cli::kExitOk)
        << err.str();
    EXPECT_EQ(printer.totalPrintedLabels(), 0u);  // a metal tag is written at once
    ASSERT_EQ(run({"rfid", "read", "--metal", "--user", "--start", "0", "--count", "7"}), cli::kExitOk) << err.str();
    EXPECT_EQ(out.str(), "56454C4D4F5241\n");
    ASSERT_EQ(run({"rfid", "set", "retries=7", "labels=0", "position=12000"}), cli::kExitOk) << err.str();
    ASSERT_EQ(run({"rfid", "get"}), cli::kExitOk);
    EXPECT_NE(out.str().find("position=12000\nretries=7\nlabels=0\nvalid=1\n"), std::string::npos) << out.str();
}

TEST(RfidCliProcess, RoundTripAgainstTheSimulator) {
    SimProcess sim({"--tag-epc", "E200"});
    ASSERT_FALSE(sim.address.empty());
    const std::string tcp = "--tcp " + sim.address + " ";
    auto r = runCliProcess(tcp + "rfid read --start 0 --count 2");
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("E200\n"), std::string::npos) << r.output;
    r = runCliProcess(tcp + "rfid write --start 4 --data 300833B2DDD9014000000001 --lock 08020");
    EXPECT_EQ(r.status, 0) << r.output;
    r = runCliProcess(tcp + "rfid read --start 4 --count 12");
    EXPECT_NE(r.output.find("300833B2DDD9014000000001\n"), std::string::npos) << r.output;
    r = runCliProcess(tcp + "rfid write --start 4 --data 0000");
    EXPECT_EQ(r.status, 1) << r.output;  // the write went out, the locked tag refused it: a void tag
    EXPECT_NE(r.output.find("void counter 0, then 1"), std::string::npos) << r.output;
    r = runCliProcess(tcp + "rfid get");
    EXPECT_NE(r.output.find("valid=1\nvoid=1\n"), std::string::npos) << r.output;

    SimProcess failing({"--rfid-void"});
    ASSERT_FALSE(failing.address.empty());
    r = runCliProcess("--tcp " + failing.address + " rfid write --start 0 --data 0102");
    EXPECT_EQ(r.status, 1) << r.output;
    r = runCliProcess("--tcp " + failing.address + " rfid get");
    EXPECT_NE(r.output.find("void=1\n"), std::string::npos) << r.output;
}

}  // namespace
}  // namespace velmora::testing
