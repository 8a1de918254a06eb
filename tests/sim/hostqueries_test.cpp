// What label software reads back from the simulator before it prints: each host query over both
// front ends with its framing and fields, status changes seen at once, and where in the stream a
// query is taken.
#include "sim/hostqueries.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "sim/parser.h"
#include "support/simclients.h"

namespace velmora::sim {
namespace {

const std::string kStx = "\x02";
const std::string kEnd = "\x03\r\n";  // ends every framed string

std::size_t count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

// Done once `n` framed strings (or n of `end`) are in.
std::function<bool(const std::string&)> ends(std::size_t n, const std::string& end = kEnd) {
    return [n, end](const std::string& got) { return count(got, end) >= n; };
}

class HostQueries : public ::testing::TestWithParam<bool> {
  protected:
    void SetUp() override {
        std::string why;
        client = connectClient(server, GetParam(), why);
        ASSERT_TRUE(client) << why;
    }
    std::string ask(const std::string& query, const std::function<bool(const std::string&)>& done) {
        client->send(query);
        return receiveUntil(*client, done, kReplyWaitMs);
    }
    std::string getvar(const std::string& name) {
        const auto quoted = [](const std::string& got) { return count(got, "\"") >= 2; };
        return ask("! U1 getvar \"" + name + "\"\r\n", quoted);
    }
    // Field `field` of the ~HS string `string` (0, 1, 2).
    std::string hostStatusField(int string, int field) {
        const std::string reply = ask("~HS", ends(3));
        std::size_t at = 0;
        for (int s = 0; s < string; ++s) at = reply.find(kEnd, at) + kEnd.size();
        std::string body = reply.substr(at + 1, reply.find('\x03', at) - at - 1);
        for (int f = 0; f < field; ++f) body.erase(0, body.find(',') + 1);
        return body.substr(0, body.find(','));
    }

    Printer printer;
    Server server{printer};
    std::unique_ptr<Client> client;
};

TEST_P(HostQueries, EachQueryIsFramedWithItsFields) {
    struct Case {
        std::string query;
        std::function<bool(const std::string&)> done;
        std::string reply;
    };
    const std::string errors = "    ERRORS:         0 00000000 00000000\r\n";
    const std::string warnings = "    WARNINGS:       0 00000000 00000000\r\n";
    const Case cases[] = {
        {"~HS", ends(3),
         kStx + "412,0,0,1218,000,0,0,0,000,0,0,0" + kEnd + kStx + "001,0,0,0,1,2,0,0,00000000,1,000" + kEnd +
             kStx + "1234,0" + kEnd},
        {"~HI", ends(1), kStx + "VELMORA SIM,V1.00,8,65536KB" + kEnd},
        {"~HM", ends(1, "\r\n"), "65536,65536,65536\r\n"},
        {"~HQES", ends(1), "\x02\r\n  PRINTER STATUS\r\n" + errors + warnings + kEnd},
        {"~HQSN\r\n", ends(1), "\x02\r\n  SERIAL NUMBER\r\n  VS0000000001\r\n" + kEnd},
    };
    for (const Case& c : cases) EXPECT_EQ(ask(c.query, c.done), c.reply) << c.query;

    const std::string diagnostic = ask("~HD", ends(1));
    EXPECT_EQ(diagnostic.rfind("\x02Head Temp = 25\r\nAmbient Temp = 25\r\n", 0), 0u) << diagnostic;
    EXPECT_NE(diagnostic.find("\r\nDarkness Adjust = 15\r\nPrint Speed = 4\r\n"), std::string::npos)
        << diagnostic;

    // The listing: each value from column 3, its name from column 23.
    const std::string listing = ask("^XA^HH^XZ\r\n", ends(1));
    ASSERT_EQ(listing.front(), '\x02');
    EXPECT_NE(listing.find("\r\n  812                 PRINT WIDTH\r\n"), std::string::npos) << listing;
    EXPECT_NE(listing.find("\r\n  VS0000000001        SERIAL NUMBER\r\n" + kEnd), std::string::npos)
        << listing;

    const std::string xml = ask("^XA^HZA^XZ\r\n", ends(1, "</PRINTER-DESCRIPTION>\r\n"));
    EXPECT_EQ(xml.rfind("<?xml version=\"1.0\" standalone=\"no\"?>\r\n<PRINTER-DESCRIPTION>\r\n", 0), 0u)
        << xml;
    EXPECT_NE(xml.find("<PRINT-WIDTH><CURRENT>812</CURRENT><SAVED>812</SAVED></PRINT-WIDTH>"),
              std::string::npos);

    const std::pair<std::string, std::string> settings[] = {
        {"device.languages", "\"zpl\""}, {"device.friendly_name", "\"VELMORA\""},
        {"media.speed", "\"4.0\""},      {"print.tone", "\"15.0\""},
        {"ezpl.print_width", "\"812\""}, {"zpl.label_length", "\"1218\""},
        {"media.sped", "\"?\""},
    };
    for (const auto& [name, value] : settings) EXPECT_EQ(getvar(name), value) << name;
}

TEST_P(HostQueries, AStatusChangeShowsAtOnce) {
    struct Case {
        std::string bit;
        int string, field;  // where ~HS shows it; -1 nowhere
        std::string errors, warnings;
    };
    const Case cases[] = {
        {"paper-empty", 0, 1, "1 00000000 00000001", "0 00000000 00000000"},
        {"paused", 0, 2, "0 00000000 00000000", "0 00000000 00000000"},
        {"head-overheat", 0, 11, "1 00000000 00000010", "0 00000000 00000000"},
        {"cover-open", 1, 2, "1 00000000 00000004", "0 00000000 00000000"},
        {"ribbon-end", 1, 3, "1 00000000 00000002", "0 00000000 00000000"},
        {"cutter-jammed", -1, 0, "1 00000000 00000008", "0 00000000 00000000"},
        {"gap-error", -1, 0, "0 00000000 00000000", "1 00000000 00000001"},
    };
    for (const Case& c : cases) {
        for (const bool on : {true, false}) {
            SCOPED_TRACE(c.bit + (on ? " on" : " off"));
            printer.setStatus(c.bit, on);
            if (c.string >= 0) {
                EXPECT_EQ(hostStatusField(c.string, c.field), on ? "1" : "0");
            }
            const std::string status = ask("~HQES", ends(1));
            EXPECT_NE(status.find("ERRORS:         " + (on ? c.errors : "0 00000000 00000000")),
                      std::string::npos);
            EXPECT_NE(status.find("WARNINGS:       " + (on ? c.warnings : "0 00000000 00000000")),
                      std::string::npos);
        }
    }
}

TEST_P(HostQueries, SettingsShowWhereTheQueriesReadThem) {
    client->send("^XA^LL800^PW400^PR6,6~SD22^MTD^MNN^MMC^XZ\r\n");
    EXPECT_EQ(hostStatusField(0, 3), "0800");
    EXPECT_EQ(hostStatusField(1, 0), "128");  // continuous media, direct thermal
    EXPECT_EQ(hostStatusField(1, 5), "3");    // cutter
    EXPECT_EQ(getvar("print.tone"), "\"22.0\"");
    EXPECT_EQ(getvar("media.speed"), "\"6.0\"");
    EXPECT_EQ(getvar("ezpl.print_width"), "\"400\"");
    EXPECT_NE(ask("^XA^HH^XZ\r\n", ends(1)).find("  CUTTER              PRINT MODE\r\n"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Links, HostQueries, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Tcp" : "PseudoTerminal"; });

// Fed straight to the parser: where in the byte stream a query counts.
TEST(HostQueryStream, AQueryIsTakenWhereAPrinterTakesIt) {
    struct Case {
        std::vector<std::string> chunks;
        std::string replyStart;  // "" no reply
    };
    const Case cases[] = {
        {{"~HS"}, kStx + "412,"},  // no line end needed at a line's start
        {{"~H", "Q", "ES"}, "\x02\r\n  PRINTER STATUS"},
        {{"^XA^FO10,10^FDx^FS^XZ~HI\r\n"}, "\x02VELMORA SIM,"},       // after a format, in the same line
        {{"^XA^PW400~HS^XZ\r\n"}, kStx + "412,0,0,1218,000,0,0,1,"},  // a format is in progress
        {{"^HH\r\n"}, ""},                                            // outside a format
        {{"^XA^FO1,1^FD~HS^FS^XZ\r\n"}, ""},                          // field data
        {{"~HQXX\r\n"}, ""},
        {{"~HU\r\n~HI"}, kStx + "VELMORA SIM,"},  // a "~H" command that is no query costs nothing
        {{"^XA^HZQ^XZ\r\n"}, ""},
        {{"! U1 setvar \"print.tone\" \"20\"\r\n"}, ""},
        {{"! U1 getvar \"print.tone\r\n"}, ""},  // no closing quote
    };
    for (const Case& c : cases) {
        Printer printer;
        Parser parser(printer);
        for (const std::string& chunk : c.chunks) parser.feed(chunk);
        EXPECT_EQ(parser.takeReplies().substr(0, c.replyStart.size()), c.replyStart) << c.chunks.front();
    }
}

TEST(HostQueryReplies, InterfaceSettingsAreEncodedBitByBit) {
    struct Case {
        SerialSettings serial;
        std::string aaa;
    };
    const Case cases[] = {
        {{9600, 8, 'N', 1, 'X', 'N'}, "030"},   // the published example
        {{19200, 7, 'E', 2, 'D', 'N'}, "231"},  // handshake, even, parity on
        {{14400, 8, 'O', 1, 'R', 'N'}, "443"},  // a baud code with bit 8
        {{115200, 8, 'N', 1, 'D', 'N'}, "412"},
    };
    for (const Case& c : cases) {
        HostView view;
        view.zii.activeSerial = c.serial;
        EXPECT_EQ(hostStatusStrings(view)[0].substr(0, 3), c.aaa) << c.serial.baud;
    }
}

TEST(HostQueryReplies, StoredImagesShowInMemoryCountAndDirectory) {
    HostView view;
    view.images = {{"LOGO<1>", 2048}, {"B", 100}};
    EXPECT_EQ(*hostQueryReply(view, "~HM"), "65536,65536,65533\r\n");
    const std::string second = hostStatusStrings(view)[1];
    EXPECT_EQ(second.substr(second.rfind(',') + 1), "002");
    const std::string list = *descriptionReply(view, 'L');
    EXPECT_NE(list.find("<OBJECT><NAME>LOGO&lt;1&gt;</NAME><SIZE>2048</SIZE></OBJECT>"), std::string::npos);
    EXPECT_EQ(list.find("<FORMAT-SETTINGS>"), std::string::npos);
}

}  // namespace
}  // namespace velmora::sim
