// The command interpreter: commands split anywhere, line ends, ignored input, overlong lines,
// fixed-length commands and escapes, raw payloads, and the reply faults.
#include "sim/parser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/printer.h"
#include "support/hex.h"

namespace velmora::sim {
namespace {

using namespace std::string_literals;

using testing::hex;

// Feeds `input` cut at the given points (ascending) and returns every reply.
std::string feedSplit(Parser& parser, std::string_view input, const std::vector<std::size_t>& cuts) {
    std::size_t from = 0;
    for (std::size_t cut : cuts) {
        parser.feed(input.substr(from, cut - from));
        from = cut;
    }
    parser.feed(input.substr(from));
    return parser.takeReplies();
}

// The reply to `input` fed whole, then cut at every one and every two points; all must agree.
void expectReplyAtEverySplit(const CommandSet& commands, std::string_view input, std::string_view expected) {
    for (std::size_t i = 0; i <= input.size(); ++i) {
        for (std::size_t j = i; j <= input.size(); ++j) {
            Printer printer;
            printer.setStatusBytes(0x81, 0x40);
            Parser parser(printer, commands);
            EXPECT_EQ(hex(feedSplit(parser, input, {i, j})), hex(expected))
                << "input " << hex(input) << "cut at " << i << " and " << j;
        }
    }
}

TEST(Parser, StatusQueriesAnswerAtEverySplit) {
    expectReplyAtEverySplit(standardCommands(), "^cp\r^cu\r", "\x81\x40\x81");
}

TEST(Parser, LineEndsAndIgnoredInput) {
    struct Case {
        std::string input;
        std::string reply;
        std::uint64_t ignoredLines;
        std::uint64_t ignoredBytes;
    };
    const Case cases[] = {
        {"^cp\r\n^cu\n", "\x81\x40\x81", 0, 0},
        {"\r\n\n\r^cu\n\r", "\x81", 0, 0},  // blank lines are not ignored commands
        {"^cp", "", 0, 0},                  // no line end yet
        {"hello\r^cu\r", "\x81", 1, 5},
        {"^QA\r\n^QR4,4\r\n^QZ\r\n", "", 3, 12},  // caret lines with no command behind them
        {"\x00\xff\x80\x7f\r"s, "", 1, 4},
        {"^cP\r^c\r", "", 2, 5},  // prefixes are matched exactly
        // An unknown escape loses only its ESC: what follows is parsed as usual.
        {"\x1b^cu\r", "\x81", 0, 1},
        {"\x1b\x1b\x1b\r", "", 0, 3},  // the last ESC is known to be junk only once the CR comes
    };
    for (const Case& c : cases) {
        Printer printer;
        printer.setStatusBytes(0x81, 0x40);
        Parser parser(printer);
        parser.feed(c.input);
        EXPECT_EQ(hex(parser.takeReplies()), hex(c.reply)) << hex(c.input);
        const Journal& journal = printer.journal();
        EXPECT_EQ(journal.totalBytes(), c.input.size()) << hex(c.input);
        EXPECT_EQ(journal.tail(), c.input);
        EXPECT_EQ(journal.ignoredLines(), c.ignoredLines) << hex(c.input);
        EXPECT_EQ(journal.ignoredBytes(), c.ignoredBytes) << hex(c.input);
    }
}

TEST(Parser, OverlongLineIsDroppedUpToItsEnd) {
    // Even a line that starts like a query is junk once it is too long.
    const std::string junk = "^cp" + std::string(Parser::kMaxLine, 'x');
    const std::string input = junk + "\r^cu\r";
    for (std::size_t chunk : {std::size_t{1000}, std::size_t{4096}, input.size()}) {
        Printer printer;
        printer.setStatusBytes(0x81, 0x40);
        Parser parser(printer);
        for (std::size_t at = 0; at < input.size(); at += chunk) {
            parser.feed(std::string_view(input).substr(at, chunk));
        }
        EXPECT_EQ(hex(parser.takeReplies()), hex("\x81")) << "chunk " << chunk;
        EXPECT_EQ(printer.journal().ignoredLines(), 1u);
        EXPECT_EQ(printer.journal().ignoredBytes(), junk.size());
    }
}

TEST(Parser, LongestPrefixWins) {
    CommandSet commands;
    commands.onLine("^M", [](Parser& p, std::string_view) { p.reply("short"); });
    commands.onLine("^MBX", [](Parser& p, std::string_view line) { p.reply(line); });
    Printer printer;
    Parser parser(printer, commands);
    parser.feed("^MBX1\r^MA\r");
    EXPECT_EQ(parser.takeReplies(), "^MBX1short");
}

// Fixed-length commands in the forms the settings tools send: a memory-switch read with no line
// end, a switch write whose value byte may be anything, and the binary escapes.
CommandSet fixedCommands() {
    // Each answers a tag letter and the bytes after the first `from`.
    auto answer = [](char tag, std::size_t from) {
        return [=](Parser& p, std::string_view c) { p.reply(tag + std::string(c.substr(from))); };
    };
    CommandSet commands;
    commands.onLine("^cp", answer('P', 3));
    commands.onFixed("^MBR", 3, answer('R', 4));
    commands.onFixed("^MBS", 3, answer('S', 4));
    commands.onFixed("\x1b\x1c?", 1, answer('Q', 3));
    commands.onFixed("\x1b\x1c/", 0, answer('L', 3));
    commands.onFixed("\x1b\x1c\x1f", 2, answer('F', 3));
    return commands;
}

TEST(Parser, FixedLengthCommandsAndEscapes) {
    const CommandSet commands = fixedCommands();
    struct Case {
        std::string input;
        std::string reply;
    };
    const Case cases[] = {
        {"^MBR4,1^cp\r", "R4,1P"},
        {"^MBS1,\r\r^MBS1,\x1b^cp\r", "S1,\rS1,\x1bP"},  // the value byte is data, even CR or ESC
        {"\x1b\x1c?\x05\x1b\x1c/", "Q\x05L"},
        {"\x1b\x1c\x1f\x01\x08^cp\r", "F\x01\x08P"},
        {"^c\x1b\x1c/p\r", "LP"},      // an escape inside a line leaves the line whole
        {"^MB\r^MX\r^M^cp\r", ""},     // near misses are ordinary (ignored) lines
        {"\x1b\x1cZ^cp\r^cp\r", "P"},  // unknown escape: ESC skipped, FS starts a junk line
        {"\x1b\x1c\x1b\x1c/", "L"},
        // Unknown escapes inside a line, or a junk line, as binary data holds them.
        {"^c\x1b\x1bp\r", "P"},
        {"junk\x1bq\x1b\x1c/\x1b\r^cp\r", "LP"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(hex(c.input));
        expectReplyAtEverySplit(commands, c.input, c.reply);
    }
}

TEST(Parser, ExpectRawHandsOverPayloadWhole) {
    // "IMG" CR, one size byte, then that many payload bytes of any value, commands included.
    CommandSet commands = fixedCommands();
    commands.onLine("IMG", [](Parser& p, std::string_view) {
        p.expectRaw(1, [](Parser& p, std::string_view size) {
            p.expectRaw(static_cast<unsigned char>(size[0]), [](Parser& p, std::string_view payload) {
                p.reply("<" + std::string(payload) + ">");
            });
        });
    });
    commands.onLine("NONE", [](Parser& p, std::string_view) {
        p.expectRaw(0,
                    [](Parser& p, std::string_view payload) { p.reply("{" + std::string(payload) + "}"); });
    });
    const std::string payload = "^cp\r\n\x1b\x1c/\x00^MBR"s;
    const std::string input =
        "IMG\r" + std::string(1, static_cast<char>(payload.size())) + payload + "NONE\r^cp\r";
    expectReplyAtEverySplit(commands, input, "<" + payload + ">{}P");
}

TEST(Parser, ReplyFaults) {
    struct Case {
        bool silent;
        bool shortReplies;
        std::string reply;
    };
    const Case cases[] = {
        {false, false, "\x81\x40\x81"},
        {false, true, "\x81"},  // each reply loses one byte: ^cp keeps one, ^cu none
        {true, false, ""},
        {true, true, ""},
    };
    for (const Case& c : cases) {
        Printer printer;
        printer.setStatusBytes(0x81, 0x40);
        printer.setSilent(c.silent);
        printer.setShortReplies(c.shortReplies);
        Parser parser(printer);
        parser.feed("^cp\r^cu\r");
        EXPECT_EQ(hex(parser.takeReplies()), hex(c.reply)) << c.silent << c.shortReplies;
        // A silent printer still takes the commands.
        EXPECT_EQ(printer.journal().commands(), (std::vector<std::string>{"^cp", "^cu"}));
    }
}

TEST(Printer, NamedStatusBits) {
    // name, byte, mask as the status check decodes the reply
    const StatusBit expected[] = {
        {"paper-empty", 0, 0x80},    {"cover-open", 0, 0x40},     {"cutter-jammed", 0, 0x20},
        {"head-overheat", 0, 0x10},  {"gap-error", 0, 0x08},      {"ribbon-end", 0, 0x04},
        {"building-label", 1, 0x80}, {"printing-label", 1, 0x40}, {"paused", 1, 0x20},
    };
    ASSERT_EQ(statusBits().size(), std::size(expected));
    for (const StatusBit& bit : expected) {
        Printer printer;
        printer.setStatusBytes(0x03, 0x1f);  // the unnamed low bits stay as they are
        ASSERT_TRUE(printer.setStatus(bit.name, true)) << bit.name;
        Printer::StatusBytes set{0x03, 0x1f};
        set[bit.byte] |= bit.mask;
        EXPECT_EQ(printer.statusBytes(), set) << bit.name;
        printer.setStatus(bit.name, false);
        EXPECT_EQ(printer.statusBytes(), (Printer::StatusBytes{0x03, 0x1f})) << bit.name;
    }
    EXPECT_FALSE(Printer().setStatus("on-fire", true));
}

}  // namespace
}  // namespace velmora::sim
