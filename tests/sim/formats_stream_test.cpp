// ZII formats sent back to back with no line end (the code page prints' stream): each is taken at
// its ^XZ, however long the stream and wherever it is cut; and the native side's two-byte text.
#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

#include "sim/native.h"
#include "sim/parser.h"
#include "sim/printer.h"
#include "support/hex.h"

namespace velmora::sim {
namespace {

using testing::hex;

// One ZII chart label: a row of 94 escaped two-byte characters.
std::string chartFormat(int lead) {
    std::string out = "^XA^CI51^FO20,20^A6,35,35^TBN,750,1200^FH_^FD";
    char escape[8];
    for (int trail = 0xA1; trail <= 0xFE; ++trail) {
        std::snprintf(escape, sizeof escape, "_%02x_%02x", lead, trail);
        out += escape;
    }
    return out + "^FS^XZ";
}

std::string rowBytes(int lead) {
    std::string out;
    for (int trail = 0xA1; trail <= 0xFE; ++trail) out += {static_cast<char>(lead), static_cast<char>(trail)};
    return out;
}

TEST(FormatStream, EveryFormatPrintsAtItsEndWithoutALineEnd) {
    // 400 formats of 620 bytes: far past the longest line, and not one line end.
    std::string stream;
    for (int i = 0; i < 400; ++i) stream += chartFormat(0xA1 + i % 87);
    ASSERT_GT(stream.size(), 3 * Parser::kMaxLine);
    struct Case {
        const char* name;
        std::size_t chunk;
    };
    const Case cases[] = {{"in one piece", stream.size()}, {"in 4 KiB chunks", 4096}, {"in 7-byte chunks", 7}};
    std::vector<std::string> journal;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Printer printer;
        Parser parser(printer);
        for (std::size_t at = 0; at < stream.size(); at += c.chunk) parser.feed(std::string_view(stream).substr(at, c.chunk));
        EXPECT_EQ(printer.totalPrintedLabels(), 400u);
        const auto labels = printer.printedLabels();
        ASSERT_FALSE(labels.empty());
        const auto& last = labels.back();
        ASSERT_EQ(last.fields.size(), 1u);
        const auto* text = std::get_if<ZiiTextField>(&last.fields[0]);
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(hex(text->data), hex(rowBytes(0xA1 + 399 % 87)));
        EXPECT_EQ(text->codePage, 51);
        EXPECT_EQ(text->font, '6');
        EXPECT_EQ(printer.journal().ignoredLines(), 0u);
        EXPECT_EQ(printer.journal().totalLeniencies(), 0u) << "our own formats are written as the language has them";
        if (journal.empty()) journal = printer.journal().commands();
        EXPECT_EQ(printer.journal().commands(), journal) << "the pieces depend on the chunks";
    }
}

TEST(FormatStream, OverlongRunsAreCutBetweenCommandsNotDropped) {
    // One format with 200 KiB of field data and no line end, then a setting in a second format.
    const std::string data(200 * 1024, 'x');
    const std::string stream = "^XA^FO10,10^A0N,20,20^FD" + data + "^FS^XZ^XA^PW400^XZ";
    for (const std::size_t chunk : {stream.size(), std::size_t{1000}}) {
        Printer printer;
        Parser parser(printer);
        for (std::size_t at = 0; at < stream.size(); at += chunk) parser.feed(std::string_view(stream).substr(at, chunk));
        ASSERT_EQ(printer.totalPrintedLabels(), 1u);
        const auto labels = printer.printedLabels();
        const auto* text = std::get_if<ZiiTextField>(&labels[0].fields[0]);
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(text->data.size(), data.size());
        EXPECT_EQ(printer.zii().current.labelWidth, 400);
    }
    // A line some prefix claims is still dropped whole when overlong, as before.
    Printer printer;
    Parser parser(printer);
    parser.feed("^cp" + std::string(Parser::kMaxLine, 'x') + "\r^cp\r");
    EXPECT_EQ(parser.takeReplies().size(), 2u);
    EXPECT_EQ(printer.journal().ignoredLines(), 1u);
}

TEST(FormatStream, AnImageHeaderIsTakenBeforeItsRawBytesCount) {
    // The header and 70 000 raw bytes with no line end in one chunk: the header ends at its
    // apostrophe, not at a line end 64 KiB away.
    const std::string image(70000, 'z');
    for (const std::size_t chunk : {std::size_t{80000}, std::size_t{100}}) {
        Printer printer;
        Parser parser(printer);
        const std::string stream = "IS70000,'BIG'" + image;
        for (std::size_t at = 0; at < stream.size(); at += chunk) parser.feed(std::string_view(stream).substr(at, chunk));
        EXPECT_EQ(printer.images().image("BIG"), image) << chunk;
    }
}

TEST(FormatStream, WhatFollowsAFormatOnItsLineStaysPartOfThatLine) {
    // After ^XZ the rest of the line is still a ZII line: "^cp" there is no status query.
    Printer printer;
    Parser parser(printer);
    parser.feed("^XA^PW500^XZ");
    EXPECT_EQ(printer.zii().current.labelWidth, 500);  // no line end needed
    parser.feed("^cp\r\n^cp\r\n");
    EXPECT_EQ(parser.takeReplies().size(), 2u);  // only the second, at a line start, answers
}

TEST(NativeTwoByteText, PairsAreCharactersOnlyInTwoByteFonts) {
    struct Case {
        std::string line;
        std::string data;  // nothing: the line is an error
    };
    const Case cases[] = {
        // A trail byte 0x5C escapes nothing in a two-byte font (JIS "j", vector "J").
        {"T20,20,j,1,1,0,0,N,N,'\x81\x5C\x81\x27'", ""},
        {"T20,20,j,1,1,0,0,N,N,'\x81\x5C\x82\x40'", "\x81\x5C\x82\x40"},
        {"V20,20,J,35,35,1,N,N,N,0,L,0,'\x95\x5C'", "\x95\x5C"},
        // In a single-byte font the backslash escapes the apostrophe that follows.
        {"T20,20,3,1,1,0,0,N,N,'\x95\\''", "\x95'"},
        {"T20,20,d,1,1,0,0,N,N,'\xB0\xA1\xB0\xFE'", "\xB0\xA1\xB0\xFE"},
    };
    for (const Case& c : cases) {
        const NativeCommand command = parseNativeCommand(c.line);
        const auto* field = std::get_if<LabelField>(&command);
        if (c.data.empty()) {
            EXPECT_EQ(field, nullptr) << hex(c.line);
            continue;
        }
        ASSERT_NE(field, nullptr) << hex(c.line);
        const std::string data =
            std::visit([](const auto& f) -> std::string {
                if constexpr (requires { f.data; }) return f.data;
                return {};
            }, *field);
        EXPECT_EQ(hex(data), hex(c.data));
    }
}

}  // namespace
}  // namespace velmora::sim
