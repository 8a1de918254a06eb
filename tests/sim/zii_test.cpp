// The printer's ZII side as the setting pages meet it: the setting query replies, the lock escapes
// and lock status, the setting commands (several on a line, split anywhere), locks holding their
// settings, saving and power-up, and the clock.
#include "sim/zii.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "sim/parser.h"
#include "sim/printer.h"
#include "support/hex.h"

namespace velmora::sim {
namespace {

using namespace std::string_literals;

using testing::hex;

std::string query(int code) { return "\x1b\x1c?"s + static_cast<char>(code); }
std::string lock(bool on, int code) {
    return "\x1b\x1c\x1f"s + static_cast<char>(on) + static_cast<char>(code);
}
const std::string kLockStatus = "\x1b\x1c/";

// A printer and one connection to it.
struct Sim {
    Printer printer;
    Parser parser{printer};
    std::string send(std::string_view bytes) {
        parser.feed(bytes);
        return parser.takeReplies();
    }
    ZiiSettings settings() const { return printer.zii().current; }
};

TEST(ZiiQuery, AnswersEachCodeWithTheTextThePagesRead) {
    ZiiState changed;
    ZiiSettings& s = changed.current;
    s.labelWidth = 400, s.labelLength = 800, s.inverted = true, s.printSpeed = 7, s.darkness = 0;
    s.printMode = 'D', s.mediaType = 'C', s.tearOff = -12, s.printOffset = 120, s.mediaHandling = 'P';
    s.powerUpAction = 'L', s.serial = {9600, 7, 'E', 2, 'X', 'A'};
    struct Case {
        int code;
        std::string factory;
        std::string changed;
    };
    const Case cases[] = {
        {1, "812", "400"},
        {2, "1218", "800"},
        {3, "T", "B"},
        {5, "4", "7"},
        {6, "15", "0"},
        {7, "T", "D"},
        {8, "W", "C"},
        {9, "0", "-12"},
        {10, "0", "120"},
        {12, "T", "P"},
        {14, "N", "L"},
        {11, "115200,8,N,1,D,N", "9600,7,E,2,X,A"},
        // Codes the printer does not answer.
        {0, "", ""},
        {4, "", ""},
        {13, "", ""},
        {15, "", ""},
        {'1', "", ""},
        {255, "", ""},
    };
    for (const Case& c : cases) {
        Sim sim;
        EXPECT_EQ(sim.send(query(c.code)), c.factory) << "code " << c.code;
        sim.printer.setZii(changed);
        EXPECT_EQ(sim.send(query(c.code)), c.changed) << "code " << c.code;
    }
}

TEST(ZiiCommands, ChangeTheSettingsTheyName) {
    struct Case {
        std::string line;
        std::function<void(ZiiSettings&)> change;  // nullptr: nothing changes
    };
    const Case cases[] = {
        {"^PW1344", [](ZiiSettings& s) { s.labelWidth = 1344; }},  // the widest head
        {"^PW1345", nullptr},
        {"^PW", nullptr},
        {"^LL1", [](ZiiSettings& s) { s.labelLength = 1; }},
        {"^LL12x", nullptr},
        {"^POI", [](ZiiSettings& s) { s.inverted = true; }},
        {"^POR", nullptr},
        {"^PR2,3", [](ZiiSettings& s) { s.printSpeed = 2, s.slewSpeed = 3; }},
        {"^PR6", [](ZiiSettings& s) { s.printSpeed = 6; }},  // the slew speed stays
        {"^PR6,8", nullptr},                                 // one bad value spoils the command
        {"^PR1,1", nullptr},
        {"~SD05", [](ZiiSettings& s) { s.darkness = 5; }},
        {"~SD30", [](ZiiSettings& s) { s.darkness = 30; }},
        {"~SD31", nullptr},
        {"~SD-1", nullptr},
        {"~TA-120", [](ZiiSettings& s) { s.tearOff = -120; }},
        {"~TA+7", [](ZiiSettings& s) { s.tearOff = 7; }},
        {"^LT-121", nullptr},
        {"^LT-5", [](ZiiSettings& s) { s.printOffset = -5; }},
        {"^MTD", [](ZiiSettings& s) { s.printMode = 'D'; }},
        {"^MTX", nullptr},
        {"^MNN", [](ZiiSettings& s) { s.mediaType = 'C'; }},
        {"^MNM", [](ZiiSettings& s) { s.mediaType = 'M'; }},
        {"^MNA", nullptr},
        {"^MMC,N", [](ZiiSettings& s) { s.mediaHandling = 'C'; }},
        {"^MMA,N", [](ZiiSettings& s) { s.mediaHandling = 'A'; }},
        {"^MFL,L", [](ZiiSettings& s) { s.powerUpAction = 'L', s.headCloseAction = 'L'; }},
        {"^MFF,Q", nullptr},
        {"^PMY", [](ZiiSettings& s) { s.mirror = true; }},
        {"^SC9600,7,O,2,X,Z", [](ZiiSettings& s) { s.serial = {9600, 7, 'O', 2, 'X', 'Z'}; }},
        {"^SC,,E", [](ZiiSettings& s) { s.serial.parity = 'E'; }},  // omitted values stay
        {"^SC9601,8,N,1,D,N", nullptr},
        {"^SC115200,8,n,1,D,N", nullptr},
        // Several commands on one line; commands the printer does not know are skipped.
        {"^XA^PW400^LL800^XZ", [](ZiiSettings& s) { s.labelWidth = 400, s.labelLength = 800; }},
        {"^XA^LH0,0^PR2,2^FO36,36^BCN,120,Y,N,N^FDAB~SD^FS^PQ1^XZ",
         [](ZiiSettings& s) { s.printSpeed = 2, s.slewSpeed = 2; }},
        // Commands are found anywhere in the line; a comment runs to the next command.
        {"^LH0,0^PW400", [](ZiiSettings& s) { s.labelWidth = 400; }},
        {"junk ^PW400", [](ZiiSettings& s) { s.labelWidth = 400; }},
        {"^FX set PW400 and ~SD, then^LL500", [](ZiiSettings& s) { s.labelLength = 500; }},
        {"^pw400", nullptr},
    };
    for (const Case& c : cases) {
        Sim sim;
        ZiiSettings expected;
        if (c.change) c.change(expected);
        sim.send("^XA\r\n" + c.line + "\r\n^XZ\r\n");
        EXPECT_EQ(sim.settings(), expected) << c.line;
    }
}

TEST(ZiiCommands, FormatCommandsActOnlyInsideAFormatAndTildeCommandsAnywhere) {
    struct Case {
        std::string input;
        std::function<void(ZiiSettings&)> change;  // nullptr: nothing changes
    };
    const auto speed6 = [](ZiiSettings& s) { s.printSpeed = s.slewSpeed = 6; };
    const Case cases[] = {
        {"^PR6,6\r\n", nullptr},  // a tool that forgot its ^XA
        {"^PR6,6^XZ\r\n", nullptr},
        {"^XA^XZ^PR6,6\r\n", nullptr},
        {"^XA\r\n^PR6,6\r\n", speed6},  // a format spans lines and need not be closed yet
        {"^XA\r\n\r\nLABEL TEXT\r\n^PR6,6\r\n^XZ\r\n", speed6},
        {"^FX ^XA\r\n^PR6,6\r\n", speed6},  // the comment ends at the next command
        {"^FX XA PR6,6\r\n^PR6,6\r\n", nullptr},
        {"~SD20\r\n", [](ZiiSettings& s) { s.darkness = 20; }},
        {"~TA-3^XA^XZ~SD20\r\n", [](ZiiSettings& s) { s.darkness = 20, s.tearOff = -3; }},
        {"^JUS\r\n^XA^PW400^XZ\r\n^JUR\r\n", [](ZiiSettings& s) { s.labelWidth = 400; }},
        // Signs that start no known command, as in binary data, hide none that follow.
        {"~~^^~\x01^zz^XA~^^PW400~\r\n", [](ZiiSettings& s) { s.labelWidth = 400; }},
        {"\xff^\x80~~^\r\n^XA^\r\n~\r\n^", nullptr},
    };
    for (const Case& c : cases) {
        Sim sim;
        ZiiSettings expected;
        if (c.change) c.change(expected);
        sim.send(c.input);
        EXPECT_EQ(sim.settings(), expected) << c.input;
        EXPECT_EQ(sim.printer.zii().saved, ZiiSettings{}) << c.input;
    }

    // Each connection has its own format: one client's open ^XA does not open another's.
    Printer printer;
    Parser first(printer), second(printer);
    first.feed("^XA\r\n");
    second.feed("^PR6,6\r\n");
    EXPECT_EQ(printer.zii().current, ZiiSettings{});
    first.feed("^PR6,6\r\n");
    EXPECT_EQ(printer.zii().current.printSpeed, 6);
}

TEST(ZiiLocks, HoldTheirSettingsAndShowInTheLockStatus) {
    struct Case {
        int code;
        std::string line;  // would change the setting behind the lock
    };
    const Case cases[] = {
        {kLockSpeed, "^PR7,7"},     {kLockDarkness, "~SD01"}, {kLockLabelWidth, "^PW100"},
        {kLockPrintOffset, "^LT9"}, {kLockTearOff, "~TA9"},   {kLockMediaType, "^MNM"},
    };
    for (const Case& c : cases) {
        Sim sim;
        sim.send(lock(true, c.code) + "^XA\r\n" + c.line + "\r\n^XZ\r\n");
        EXPECT_EQ(sim.settings(), ZiiSettings{}) << c.line;
        sim.send(lock(false, c.code) + "^XA" + c.line + "^XZ\r\n");
        EXPECT_NE(sim.settings(), ZiiSettings{}) << c.line;
    }

    // The lock status as the pages decode it: bytes 3 and 4 carry the flags of codes 8 to 1.
    Sim sim;
    EXPECT_EQ(sim.send(kLockStatus), "0000");
    sim.send(lock(true, kLockSpeed) + lock(true, kLockLabelWidth) + lock(true, kLockPrintOffset));
    EXPECT_EQ(sim.send(kLockStatus), "0015");
    sim.send(lock(true, kLockLanguage) + lock(false, kLockSpeed));
    EXPECT_EQ(hex(sim.send(kLockStatus)), hex("0094"));
    sim.send(lock(true, kLockMediaType) + lock(true, 16));
    EXPECT_EQ(hex(sim.send(kLockStatus)), hex("80=4"));
    // A flag other than 0 or 1, or a code outside 1 to 16, changes nothing.
    sim.send(lock(true, 0) + lock(true, 17) + "\x1b\x1c\x1f\x02\x04"s + "\x1b\x1c\x1f\xff\x01"s);
    EXPECT_EQ(hex(sim.send(kLockStatus)), hex("80=4"));
}

TEST(ZiiCommands, BasicPageSetAtEverySplit) {
    // Unlock, the settings block, lock again (speed and media type), with a status query between.
    std::string input;
    for (int code : {3, 1, 2, 7, 6, 5}) input += lock(false, code);
    input +=
        "~SD20\r\n~TA-3\r\n^XA\r\n^PW700\r\n^LL900\r\n^POI\r\n^PR5,5\r\n^MTD\r\n^MNM\r\n^LT4\r\n^XZ\r\n"
        "^XA^JUS^XZ\r\n^cp\r";
    for (int code : {3, 1, 2, 7, 6, 5}) input += lock(code == 1 || code == 7, code);
    input += kLockStatus;

    ZiiSettings expected;
    expected.darkness = 20, expected.tearOff = -3, expected.labelWidth = 700, expected.labelLength = 900;
    expected.inverted = true, expected.printSpeed = expected.slewSpeed = 5, expected.printMode = 'D';
    expected.mediaType = 'M', expected.printOffset = 4;
    for (std::size_t cut = 0; cut <= input.size(); ++cut) {
        Sim sim;
        sim.printer.editZii([](ZiiState& s) { s.locks = 0x77; });  // the page's six locks on
        sim.printer.setStatusBytes(0x81, 0x40);
        sim.parser.feed(std::string_view(input).substr(0, cut));
        sim.parser.feed(std::string_view(input).substr(cut));
        ASSERT_EQ(hex(sim.parser.takeReplies()), hex("\x81\x40"
                                                     "0041"))
            << "cut at " << cut;
        const ZiiState state = sim.printer.zii();
        ASSERT_EQ(state.current, expected) << "cut at " << cut;
        ASSERT_EQ(state.saved, expected) << "cut at " << cut;
    }
}

TEST(ZiiMemory, SavedSettingsSurvivePowerUp) {
    Sim sim;
    sim.send("^XA\r\n^PW500\r\n^SC9600,8,N,1,X,N\r\n^XZ\r\n^XA^JUS^XZ\r\n");
    sim.send("^XA^LL700^XZ\r\n");  // not saved
    ZiiSettings saved;
    saved.labelWidth = 500, saved.serial.baud = 9600, saved.serial.handshake = 'X';
    ZiiState state = sim.printer.zii();
    EXPECT_EQ(state.saved, saved);
    EXPECT_EQ(state.current.labelLength, 700);
    EXPECT_EQ(sim.send(query(11)), "9600,8,N,1,X,N");
    EXPECT_EQ(state.activeSerial, SerialSettings{});  // the port changes only at power-up

    sim.printer.powerCycle();
    state = sim.printer.zii();
    EXPECT_EQ(state.current, saved);
    EXPECT_EQ(state.activeSerial, saved.serial);

    // Factory settings, and the saved ones back; a locked setting keeps its value through both.
    sim.send(lock(true, kLockLabelWidth) + "^XA^JUF^XZ\r\n");
    ZiiSettings factory;
    factory.labelWidth = 500;
    EXPECT_EQ(sim.settings(), factory);
    sim.send(lock(false, kLockLabelWidth) + "^XA^PW600^LL100^JUR^XZ\r\n");
    EXPECT_EQ(sim.settings(), saved);
}

TEST(ZiiClock, SetsValidDatesAndTimesOnly) {
    struct Case {
        std::string line;
        ClockTime expected;  // {} when nothing changes
    };
    const Case cases[] = {
        {"^ST03,05,2024,14,07,09,M", {2024, 3, 5, 14, 7, 9}},
        {"^ST12,31,2097,23,59,59,M", {2097, 12, 31, 23, 59, 59}},
        {"^ST02,29,2024,00,00,00,M", {2024, 2, 29, 0, 0, 0}},
        {"^ST02,29,2023,00,00,00,M", {}},
        {"^ST04,31,2024,00,00,00,M", {}},
        {"^ST13,01,2024,00,00,00,M", {}},
        {"^ST01,01,1997,00,00,00,M", {}},
        {"^ST01,01,2024,24,00,00,M", {}},
        {"^ST01,01,2024,00,60,00,M", {}},
        {"^ST01,01,2024,12,00,00,A", {2024, 1, 1, 0, 0, 0}},
        {"^ST01,01,2024,12,00,00,P", {2024, 1, 1, 12, 0, 0}},
        {"^ST01,01,2024,01,00,00,P", {2024, 1, 1, 13, 0, 0}},
        {"^ST01,01,2024,13,00,00,P", {}},
        {"^ST06", {2000, 6, 1, 0, 0, 0}},  // omitted values stay
    };
    for (const Case& c : cases) {
        Sim sim;
        sim.send("^XA\r\n" + c.line + "\r\n^XZ\r\n^XA^JUS^XZ\r\n");
        EXPECT_EQ(sim.printer.zii().clock, c.expected) << c.line;
        sim.printer.powerCycle();
        EXPECT_EQ(sim.printer.zii().clock, c.expected) << c.line;
    }
}

}  // namespace
}  // namespace velmora::sim
