// velmora-cli's RFID commands against printers that answer wrongly: nonsense replies, garbage,
// a tag the encoder could not write, a link that fails after the handshake, and text the code
// page holds in fewer bytes than UTF-8. No reply is printed as a value unless it has its form,
// and no failure is reported as a success.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "cli/cli.h"
#include "support/clirun.h"
#include "support/scripteddevice.h"

namespace velmora::testing {
namespace {

// velmora-cli on a scripted TCP printer: it answers the handshake with "zz", then `replies`.
struct ScriptedCli {
    ScriptedFactory factory;
    platform::TestClock clock;
    std::ostringstream out, err;
    int run(const std::vector<std::string>& args, std::vector<std::optional<std::string>> replies,
            std::deque<long> sends = {}) {
        factory.prepareSocket = [replies, sends](ScriptedSocket& s) {
            s.receiveScript = {"zz"};
            s.receiveScript.insert(s.receiveScript.end(), replies.begin(), replies.end());
            s.sendScript = sends;
        };
        return cli::runCli(args, out, err, factory, clock);
    }
};

TEST(RfidCliReplies, GetPrintsOnlyTheSettingsWhoseReplyHasTheirForm) {
    const std::vector<std::optional<std::string>> good = {"GEN2", "8", "600 \r", "3", "2", "17", "4"};
    struct Case {
        int item;  // 1..7, the reply spoiled
        std::string reply;
        const char* key;
    };
    const Case cases[] = {
        {1, "XXXX", "tag-type"}, {2, "abc", "power"},    {2, "32", "power"},  {3, "XYZ", "position"},
        {3, "99999999999", "position"}, {4, "11", "retries"}, {5, "-1", "labels"}, {7, "4x", "void"},
    };
    for (const auto& c : cases) {
        auto replies = good;
        replies[c.item - 1] = c.reply;
        ScriptedCli cli;
        EXPECT_EQ(cli.run({"rfid", "get"}, replies), cli::kExitFailure) << c.reply;
        EXPECT_EQ(cli.out.str().find(std::string(c.key) + "="), std::string::npos) << cli.out.str();
        EXPECT_NE(cli.err.str().find(std::string("no valid value for ") + c.key), std::string::npos) << cli.err.str();
        // The others still are.
        EXPECT_NE(cli.out.str().find(c.item == 5 ? "retries=3\n" : "labels=2\n"), std::string::npos) << c.reply;
    }
}

TEST(RfidCliReplies, ReadPrintsOnlyDataOfTheLengthAndFormAskedFor) {
    struct Case {
        std::vector<std::string> args;
        std::string reply;
        bool valid;
    };
    const Case cases[] = {
        {{"--start", "0", "--count", "4"}, "E2003411", true},
        {{"--start", "0", "--count", "4"}, "ZZZZZZZZ", false},
        {{"--start", "0", "--count", "4"}, "E200", false},  // half of it
        {{"--ascii", "--start", "0", "--count", "4"}, "AB\x01\x02", false},
        {{"--ascii", "--start", "0", "--count", "4"}, "ABCD", true},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {"rfid", "read"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        ScriptedCli cli;
        EXPECT_EQ(cli.run(args, {c.reply}), c.valid ? cli::kExitOk : cli::kExitFailure) << c.reply;
        EXPECT_EQ(cli.out.str(), c.valid ? c.reply + "\n" : "") << c.reply;
        if (!c.valid) {
            EXPECT_NE(cli.err.str().find("no valid value for data"), std::string::npos) << cli.err.str();
        }
    }
}

// A printer reset after the handshake: every write fails. One message, not one per query.
TEST(RfidCliReplies, AGetStopsAtItsFirstFailedWrite) {
    ScriptedCli cli;
    EXPECT_EQ(cli.run({"rfid", "get"}, {}, {4, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1}), cli::kExitFailure);
    const std::string err = cli.err.str();
    const auto first = err.find("Port error!");
    ASSERT_NE(first, std::string::npos) << err;
    EXPECT_EQ(err.find("Port error!", first + 1), std::string::npos) << err;
    EXPECT_EQ(cli.out.str(), "");
}

class RfidCliOnSim : public CliRun {
protected:
    void garbage() {
        sim::Faults f;
        f.garbage = true;
        printer.setFaults(f);
    }
};

TEST_F(RfidCliOnSim, AgainstGarbageEveryReadingFailsNamingItsKeys) {
    garbage();
    struct Case {
        std::vector<std::string> args;
        std::vector<const char*> keys;
    };
    const Case cases[] = {
        {{"rfid", "get"}, {"tag-type", "power", "position", "retries", "labels", "valid", "void"}},
        {{"rfid", "get", "power"}, {"power"}},
        {{"rfid", "read", "--start", "0", "--count", "4"}, {"data"}},
        {{"rfid", "reset-counters"}, {"valid", "void"}},
        {{"rfid", "set", "power=2"}, {"tag-type", "position", "retries", "labels"}},
        {{"rfid", "write", "--start", "0", "--data", "0102"}, {"void"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(run(c.args), cli::kExitFailure) << c.args[1];
        EXPECT_EQ(out.str(), "") << c.args[1];
        for (const char* key : c.keys)
            EXPECT_NE(err.str().find(std::string("no valid value for ") + key), std::string::npos)
                << c.args[1] << ": " << err.str();
    }
    // Nothing was written from what the garbage said, and no tag was written without a count to
    // check it by.
    EXPECT_EQ(printer.journal().tail().find(">RFS"), std::string::npos);
    EXPECT_EQ(printer.journal().tail().find(">RFW"), std::string::npos);
}

TEST_F(RfidCliOnSim, ATagTheEncoderCouldNotWriteIsAFailure) {
    printer.editRfid([](sim::RfidState& s) { s.voidEveryWrite = true; });
    for (bool metal : {false, true}) {
        printer.editRfid([metal](sim::RfidState& s) { s.tag.kind = metal ? sim::TagKind::Metal : sim::TagKind::Label; });
        std::vector<std::string> args = {"rfid", "write", "--start", "0", "--data", "0102"};
        if (metal) args.push_back("--metal");
        EXPECT_EQ(run(args), cli::kExitFailure) << metal;
        EXPECT_NE(err.str().find("counted the tag void"), std::string::npos) << err.str();
        EXPECT_EQ(err.str().find("Writing is success"), std::string::npos) << err.str();
    }
    printer.editRfid([](sim::RfidState& s) { s.voidEveryWrite = false; });
    EXPECT_EQ(run({"rfid", "write", "--metal", "--start", "0", "--data", "0102"}), cli::kExitOk) << err.str();
    EXPECT_TRUE(printer.journal().tail().ends_with(">RFI,7\r>RFw,H,0,2,'0102'\r>RFI,7\r"));
}

// The byte count sent is the number of bytes that go out in the printer's code page.
TEST_F(RfidCliOnSim, CharacterDataIsCountedInTheCodePageOrRefused) {
    struct Case {
        std::string data;
        int status;
        std::string sent;  // the write command, or "" when nothing may be sent
    };
    const Case cases[] = {
        {"a\\'b", cli::kExitOk, ">RFw,A,0,4,'a\\'b'\r"},  // escaped: sent as typed
        {"\xC3\xA9" "a", cli::kExitOk, ">RFw,A,0,2,'\xE9" "a'\r"},  // "éa": two bytes in Windows-1252
        {"\xC3\xA9", cli::kExitUsage, ""},                          // "é" is one byte: too few
        {"\xE6\x97\xA5\xE6\x9C\xAC", cli::kExitUsage, ""},  // "日本": no such bytes
        {"a'b", cli::kExitUsage, ""},   // would end the quoted data
        {"C:\\", cli::kExitUsage, ""},                     // would escape the closing apostrophe
        {"a\rb", cli::kExitUsage, ""},  // would end the command
    };
    printer.editRfid([](sim::RfidState& s) { s.tag.kind = sim::TagKind::Metal; });
    for (const auto& c : cases) {
        const auto before = printer.journal().tail();
        EXPECT_EQ(run({"rfid", "write", "--metal", "--ascii", "--start", "0", "--data", c.data}), c.status)
            << c.data << err.str();
        const std::string sent = printer.journal().tail().substr(before.size());
        if (c.sent.empty())
            EXPECT_EQ(sent, "^cp\r") << c.data;
        else
            EXPECT_NE(sent.find(c.sent), std::string::npos) << sent;
    }
    EXPECT_EQ(printer.rfid().tag.epc[0], 0xE9);
}

TEST_F(RfidCliOnSim, ProfilesRefuseAnEncoderThatAnswersGarbage) {
    const auto file = std::filesystem::temp_directory_path() / ("velmora-rfid-" + std::to_string(::getpid()) + ".ini");
    // The model and firmware answer well (their reads pause 40 ms, the handshake 50 ms); the
    // garbage begins with the pages.
    clock.onSleep = [this](unsigned ms) {
        if (ms != 40 && ms != 50) garbage();
    };
    EXPECT_EQ(run({"--menu-mode", "1", "profile", "save", file.string()}), cli::kExitFailure);
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_NE(err.str().find("rfid.power (reply 7A"), std::string::npos) << err.str();
    EXPECT_EQ(err.str().find("rfid.void"), std::string::npos) << err.str();  // counters are no setting
}

}  // namespace
}  // namespace velmora::testing
