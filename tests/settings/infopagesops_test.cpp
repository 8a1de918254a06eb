// The interface, code page, identity and printer information pages against printers that answer
// wrongly: a reply counts only when it has its key's form, a reply after one that did not end is
// not taken, no command prints a value it could not trust, and no Set writes back a setting it
// could not read.
#include <gtest/gtest.h>

#include <sstream>

#include "app/settingspage.h"
#include "resources/templates_settings.h"
#include "settings/hardwareinfosetting.h"
#include "settings/printerinfoops.h"
#include "support/clirun.h"
#include "support/linkfixture.h"
#include "ui/testhost.h"

namespace velmora::testing {
namespace {

using namespace std::string_literals;
using Replies = std::vector<std::optional<std::string>>;

class PagesOnScript : public ::testing::Test {
  protected:
    void SetUp() override {
        l.comm.portName = "COM1:";
        ASSERT_EQ(l.comm.Open(), 1);
    }
    app::Outcome read(const char* section, Replies replies, std::vector<std::string> keys = {}) {
        l.script.readScript.assign(replies.begin(), replies.end());
        return app::findSettingsPage(section)->read(l.comm, l.clock, keys);
    }
    ScriptedLink l;
};

// A serial read tries three times: three "" are one silent reply.
const Replies kSilent = {"", "", ""};

Replies then(Replies a, const Replies& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST_F(PagesOnScript, OnlyRepliesOfTheirFormAreValid) {
    struct Case {
        const char* section;
        Replies replies;
        const char* key;
        bool valid;
        const char* text;
    };
    const Case cases[] = {
        {"native.interface", {"\x2b"}, "handshake", true, "software"},
        {"native.interface", {"\x2b"}, "parity", true, "even"},
        {"native.interface", {"\x2b"}, "baud", true, "38400"},
        {"native.interface", {"zz"}, "baud", false, "57600"},  // two bytes are no switch byte
        {"codepage", {"\x01", "\x02", "0080"}, "lock", true, "1"},
        {"codepage", {"\x01", "\x02", "0070"}, "lock", true, "0"},
        {"codepage", {"\x01", "\x02", "ZZZZ"}, "lock", false, "1"},
        {"codepage", {"\x01", "\x02", "00\x08"}, "lock", false, "1"},
        {"codepage", {"\x01", "\x02", "0080"}, "ics", true, "Germany"},
        {"codepage", {"\x1e", "\x02", "0080"}, "codepage", false, ""},
        {"codepage", {"\x01\x01", "\x02", "0080"}, "ics", false, "Germany"},  // after a reply too long
        {"identity", {"1.20\n\r", "VS01\r\n\r\n", "P7\r"}, "version", true, "1.20"},
        {"identity", {"1.20\n\r", "VS01\r\n\r\n", "P7\r"}, "serial", true, "VS01"},
        {"identity", {"1.20\r\n", "\r\n", "\r\n"}, "serial", true, ""},
        {"identity", {"1.234\r\n", "\r\n", "\r\n"}, "version", false, "1.234"},
        {"identity", {"1.20\r\n", "123456789012345678", "P7\r\n"}, "serial", false, "123456789012345678"},
        {"identity", {"1.20\r\n", "VS\x01\r\n", "P7\r\n"}, "serial", false, "VS\x01"},
        {"identity", then(kSilent, {"1.20\r\n", "P7\r\n"}), "serial", false, "1.20"},  // the version's, late
    };
    for (const auto& c : cases) {
        const app::Outcome got = read(c.section, c.replies);
        const app::ReadValue* v = got.find(c.key);
        ASSERT_NE(v, nullptr) << c.section << " " << c.key;
        EXPECT_EQ(v->valid, c.valid) << c.section << " " << c.key << " " << v->why;
        EXPECT_EQ(v->text, c.text) << c.section << " " << c.key;
        if (!c.valid) {
            EXPECT_EQ(got.result.status, app::Status::Failed) << c.section << " " << c.key;
        }
    }
}

TEST(PrinterFacts, ModelAndFirmwareAreTextEndedByTheirLineEnd) {
    struct Case {
        Replies replies;
        bool modelValid, firmwareValid;
    };
    const Case cases[] = {
        {{"VELMORA SIM\r\n", "V1.00\r\n"}, true, true},
        {{"zz", "V1.00\r\n"}, false, false},  // no line end: the firmware may be the model's rest
        {{"\r\n", "V1.00\r\n"}, false, true},
        {{"VEL\x1bMORA\r\n", "V1.00\r\n"}, false, true},
        {then(kSilent, {"VELMORA SIM\r\n"}), false, false},
    };
    for (const auto& c : cases) {
        ScriptedLink l;
        l.comm.portName = "COM1:";
        ASSERT_EQ(l.comm.Open(), 1);
        l.script.readScript.assign(c.replies.begin(), c.replies.end());
        const app::Outcome got = settings::readPrinterFacts(l.comm, l.clock);
        ASSERT_EQ(got.values.size(), 2u);
        EXPECT_EQ(got.values[0].valid, c.modelValid) << *c.replies[0];
        EXPECT_EQ(got.values[1].valid, c.firmwareValid) << *c.replies[0];
        EXPECT_EQ(got.done(), c.modelValid && c.firmwareValid);
        EXPECT_EQ(l.script.written(), "^PI0\r\n^PI2\r\n");
    }
}

// velmora-cli over a scripted TCP printer: the connect check's two bytes, then `replies`.
class ScriptedCli : public ::testing::Test {
  protected:
    int run(std::vector<std::string> args, Replies replies) {
        replies.insert(replies.begin(), "AB");
        factory.prepareSocket = [replies](ScriptedSocket& s) { s.receiveScript.assign(replies.begin(), replies.end()); };
        out.str("");
        err.str("");
        factory.script.writes.clear();
        return cli::runCli(args, out, err, factory, clock);
    }
    ScriptedFactory factory;
    platform::TestClock clock;
    std::ostringstream out, err;
};

TEST_F(ScriptedCli, NoValueIsPrintedFromAReplyThatIsNotValid) {
    struct Case {
        std::vector<std::string> args;
        Replies replies;
        const char* printed;
        const char* named;
    };
    const Case cases[] = {
        {{"native", "interface", "get"}, {"zz"}, "", "no valid value for baud: reply 7A 7A"},
        {{"codepage", "get"}, {"\x01", "\x02", "ZZZZ"}, "codepage=PC850 - Latin 1\nics=Germany\n",
         "no valid value for lock: reply 5A 5A 5A 5A"},
        {{"identity", "get", "serial"}, {"123456789012345678"}, "", "no valid value for serial"},
        {{"identity", "get"}, {"", "1.20\r\n", "P7\r\n"}, "", "no valid value for serial: reply 31 2E 32 30 0D 0A"},
        {{"info"}, {"zz", "V1.00\r\n", "125\r\n", "4820\r\n", "0\r\n", "4790\r\n", "37\r\n", "905\r\n"}, "",
         "no valid value for model: reply 7A 7A"},
        {{"info"}, {"VELMORA SIM\r\n", "V1.00\r\n", "zz\r\n", "4820\r\n", "0\r\n", "4790\r\n", "37\r\n", "905\r\n"},
         "model=VELMORA SIM\nfirmware=V1.00\nmotor-permanent=4820 meter\ntph=0 meter\ntph-permanent=4790 meter\n"
         "cutter=37 times\ncutter-permanent=905 times\n",
         "no valid value for motor: reply 7A 7A 0D 0A"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(run(c.args, c.replies), cli::kExitFailure) << c.args[0] << " " << *c.replies[0];
        EXPECT_EQ(out.str(), c.printed);
        EXPECT_NE(err.str().find(c.named), std::string::npos) << err.str();
    }
}

// Nothing the printer could not say is written back: the interface byte is one switch, and a
// lock that could not be read could not be put back after the code page write.
TEST_F(ScriptedCli, ASetWhoseReadWasNotValidWritesNothing) {
    struct Case {
        std::vector<std::string> args;
        Replies replies;
        std::vector<std::string> writes;
    };
    const Case cases[] = {
        {{"native", "interface", "set", "baud=57600"}, {"zz"}, {"^cp\r", "^MBR2,2"}},
        {{"codepage", "set", "codepage=1"}, {"\x01", "\x02", "ZZZZ"}, {"^cp\r", "*MBR1,2", "*MBR3,2", "\x1b\x1c/"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(run(c.args, c.replies), cli::kExitFailure) << c.args[0];
        EXPECT_EQ(factory.script.writes, c.writes) << c.args[0];
        EXPECT_EQ(out.str(), "");
    }
    // With the lock given there is nothing to put back: the code page goes out, the lock after it.
    EXPECT_EQ(run({"codepage", "set", "codepage=2", "lock=1"}, {"\x01", "\x02", "ZZZZ"}), cli::kExitOk) << err.str();
    EXPECT_EQ(factory.script.writes.back(), "\x1b\x1c\x1f\x01\x08"s);
    EXPECT_EQ(factory.script.writes.size(), 10u);
}

using GarbageInfoCli = CliRun;

// A lone 'z' is left out: as switch 2 it is a set-up the interface page itself writes (hardware
// handshake, two stop bits, eight data bits, odd parity, 57600), so no form tells it apart.
TEST_F(GarbageInfoCli, EveryGetNamesItsKeysAndPrintsNoInventedValue) {
    sim::Faults f;
    f.garbage = true;
    printer.setFaults(f);
    const struct {
        std::vector<std::string> args;
        std::vector<const char*> keys;
    } cases[] = {
        {{"codepage", "get"}, {"codepage", "ics", "lock"}},
        {{"identity", "get"}, {"version", "serial", "id"}},
        {{"info"},
         {"model", "firmware", "motor", "motor-permanent", "tph", "tph-permanent", "cutter", "cutter-permanent"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(run(c.args), cli::kExitFailure) << c.args[0];
        EXPECT_EQ(out.str(), "") << c.args[0];
        for (const char* key : c.keys)
            EXPECT_NE(err.str().find(std::string("no valid value for ") + key + ": reply 7A"), std::string::npos)
                << err.str();
    }
}

// Every trailing CR and LF goes, whatever their order: none is left in the field or the box.
TEST(IdentityPage, AGetRemovesEveryTrailingLineEnd) {
    ScriptedLink l;
    l.comm.portName = "COM1:";
    ASSERT_EQ(l.comm.Open(), 1);
    ui::TestHost host;
    app::ToolContext ctx{l.comm, l.clock, host};
    settings::CHardwareInfoSetting page(ctx);
    page.Create();
    l.script.readScript = {"1.20\n\r", "VS01\r\n\r\n"};
    page.click(resources::IDC_HW_VERSION_GET);
    page.click(resources::IDC_HW_SERIAL_GET);
    EXPECT_EQ(page.control(resources::IDC_HW_VERSION).text(), "1.20");
    EXPECT_EQ(page.control(resources::IDC_HW_SERIAL).text(), "VS01");
    EXPECT_EQ(host.messageTexts(), (std::vector<std::string>{"H/W version is 1.20.", "Serial Number is VS01."}));
}

}  // namespace
}  // namespace velmora::testing
