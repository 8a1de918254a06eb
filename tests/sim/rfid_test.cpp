// The simulated RFID encoder and tag through the parser: settings and counters, label writes
// that wait for their print, reads, passwords, locks, kill, and the start-up options.
#include <gtest/gtest.h>

#include "sim/options.h"
#include "sim/parser.h"
#include "sim/printer.h"

namespace velmora::sim {
namespace {

struct Encoder {
    Printer printer;
    Parser parser{printer};
    std::string send(const std::string& lines) {
        parser.feed(lines);
        return parser.takeReplies();
    }
    RfidState state() const { return printer.rfid(); }
};

TEST(SimRfid, SettingsAnswerAsTextWithoutLineEnd) {
    Encoder e;
    EXPECT_EQ(e.send(">RFI,1\r>RFI,2\r>RFI,3\r>RFI,4\r>RFI,5\r>RFI,6\r>RFI,7\r"), "GEN21600320" "0");
    // CR LF is taken as well; a value out of range changes nothing.
    e.send(">RFS,2,10,5,31\r\n>RFTP,-40\r\n");
    EXPECT_EQ(e.send(">RFI,1\r>RFI,2\r>RFI,3\r>RFI,4\r>RFI,5\r"), "ISO-B31-40105");
    for (const char* bad : {">RFS,5,11,2,1\r", ">RFS,4,3,2,1\r", ">RFS,5,3,2,0\r", ">RFS,5,3\r", ">RFTP,x\r"})
        e.send(bad);
    EXPECT_EQ(e.send(">RFI,1\r>RFI,2\r>RFI,3\r>RFI,4\r>RFI,5\r"), "ISO-B31-40105");
    e.send(">RFS,3,2,1\r");  // without a tag code the type stays
    EXPECT_EQ(e.send(">RFI,1\r>RFI,4\r"), "ISO-B3");
    e.send(">RFTP,0\r>RFCP\r");
    EXPECT_EQ(e.send(">RFI,3\r"), "600");
}

TEST(SimRfid, LabelWritesWaitForTheirPrintAndRunInOrder) {
    Encoder e;
    e.send(">RFUL\r>RFW,H,4,2,'ABCD'\r>RFLP,L,'08,02,00'\r");
    EXPECT_EQ(e.state().tag.epc[4], 0);  // not yet: the label has not printed
    EXPECT_EQ(e.state().waiting.size(), 2u);
    e.send("P1\r");
    const RfidState s = e.state();
    EXPECT_EQ(s.tag.epc[4], 0xAB);
    EXPECT_EQ(s.tag.epc[5], 0xCD);
    EXPECT_TRUE(s.tag.locks[kEpcMemory].locked);  // locked after the write, as sent
    EXPECT_EQ(s.valid, 1u);
    EXPECT_EQ(e.send(">RFR,H,4,2,S\r>RFR,A,4,1,S\r"), "ABCD\xAB");
    // EPC memory is locked now: the next write is void and changes nothing.
    e.send(">RFW,H,4,2,'0000'\rP1\r");
    EXPECT_EQ(e.state().tag.epc[4], 0xAB);
    EXPECT_EQ(e.send(">RFI,6\r>RFI,7\r"), "11");
}

TEST(SimRfid, WritesThatFailCountVoid) {
    const char* failing[] = {
        ">RFw,H,0,2,'0102'\r",       // a metal write to a label tag
        ">RFW,H,0,3,'0102'\rP1\r",   // count and data differ
        ">RFW,H,0,2,'01G2'\rP1\r",   // not hexadecimal
        ">RFW,H,95,2,'0102'\rP1\r",  // past the memory
        ">RFW,H,0,2\rP1\r",          // no data
    };
    for (const char* lines : failing) {
        Encoder e;
        e.send(lines);
        EXPECT_EQ(e.state().voids, 1u) << lines;
        EXPECT_EQ(e.state().valid, 0u) << lines;
    }
    Encoder e;
    e.printer.editRfid([](RfidState& s) { s.voidEveryWrite = true; });
    e.send(">RFW,U,0,2,'0102'\rP1\r");
    EXPECT_EQ(e.state().tag.user[0], 0);
    EXPECT_EQ(e.state().voids, 1u);
}

TEST(SimRfid, MetalTagsUserMemoryAndPrintedData) {
    Encoder e;
    e.printer.editRfid([](RfidState& s) { s.tag.kind = TagKind::Metal; });
    e.send(">RFw,U,2,2,'BEEF'\r");  // at once
    EXPECT_EQ(e.send(">RFr,u,2,2,S\r>RFR,U,2,2,S\r"), "BEEF");  // a label read gets nothing
    e.send(">RFR,H,0,2,P\r");  // the tag is metal: the label prints with no data
    ASSERT_EQ(e.printer.printedLabels().size(), 1u);
    e.printer.editRfid([](RfidState& s) { s.tag.kind = TagKind::Label; });
    e.send(">RFW,H,0,2,'1234'\r>RFR,H,0,2,P\r");  // the print encodes the tag, then shows it
    const auto labels = e.printer.printedLabels();
    ASSERT_EQ(labels.size(), 2u);
    ASSERT_EQ(labels[1].fields.size(), 1u);
    EXPECT_EQ(std::get<TextField>(labels[1].fields[0]).data, "0000");  // read before the print encoded it
    EXPECT_EQ(e.send(">RFR,H,0,2,S\r"), "1234");
}

TEST(SimRfid, PasswordsLocksAndKill) {
    Encoder e;
    e.send(">RFZ,'00000000,5E2B7A19,11111111,22222222'\r");  // wrong current access password
    EXPECT_EQ(e.state().tag.accessPassword, RfidTag::kDefaultPassword);
    e.send(">RFZ,'5E2B7A19,5E2B7A19,11111111,22222222'\r");
    EXPECT_EQ(e.state().tag.accessPassword, 0x11111111u);
    EXPECT_EQ(e.state().tag.killPassword, 0x22222222u);
    // Permanently lock user memory; a later unlock cannot undo it.
    e.send(">RFLP,L,'00,C0,30'\r>RFUL\r>RFLP,U,'00,C0,00'\r");
    EXPECT_TRUE(e.state().tag.locks[kUserMemory].locked);
    EXPECT_TRUE(e.state().tag.locks[kUserMemory].permanent);
    e.send(">RFLK\r>RFUL\r");
    EXPECT_FALSE(e.state().tag.locks[kEpcMemory].locked);
    e.send(">RFKL\r");
    EXPECT_TRUE(e.state().tag.killed);
    EXPECT_EQ(e.send(">RFR,H,0,2,S\r"), "");  // a killed tag answers nothing
    e.send(">RFW,H,0,2,'0102'\rP1\r");
    EXPECT_EQ(e.state().voids, 1u);
}

TEST(SimRfid, StartUpOptions) {
    std::string error;
    const std::vector<std::string_view> args = {"--tag-epc", "3008", "--tag-user=0A", "--rfid-void"};
    const auto options = parseOptions(args, error);
    ASSERT_TRUE(options) << error;
    Printer printer;
    applyOptions(*options, printer);
    EXPECT_EQ(printer.rfid().tag.epc[0], 0x30);
    EXPECT_EQ(printer.rfid().tag.epc[1], 0x08);
    EXPECT_EQ(printer.rfid().tag.user[0], 0x0A);
    EXPECT_TRUE(printer.rfid().voidEveryWrite);
    const std::string tooLong(2 * RfidTag::kEpcBytes + 2, '0');
    for (std::vector<std::string_view> bad : {std::vector<std::string_view>{"--tag-epc", "300"},
                                              {"--tag-user", "zz"}, {"--tag-epc", tooLong}, {"--rfid-void=1"}})
        EXPECT_FALSE(parseOptions(bad, error));
}

}  // namespace
}  // namespace velmora::sim
