// ZII formats as label software writes them: decimal values, spaces between commands, other
// command characters, stored formats with numbered fields, and the journal's note of each
// leniency the printer applied.
#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string>

#include "sim/parser.h"
#include "sim/printer.h"
#include "sim/zii_values.h"

namespace velmora::sim {
namespace {

using namespace std::string_literals;

struct Fed {
    std::vector<LabelRecord> labels;
    std::vector<std::string> leniencies;
    ZiiState zii;
};

Fed feed(std::string_view text) {
    Printer printer;
    Parser parser{printer};
    parser.feed(text);
    return {printer.printedLabels(), printer.journal().leniencies(), printer.zii()};
}

LabelRecord only(const Fed& fed) {
    EXPECT_EQ(fed.labels.size(), 1u);
    return fed.labels.empty() ? LabelRecord{} : fed.labels[0];
}

// A whole number as a printer reads one: a sign, digits, a fraction cut off; anything else none.
TEST(ZiiLenient, WholeNumbers) {
    struct Case {
        const char* text;
        std::optional<long> value;
        bool decimal;
    };
    constexpr long kMax = std::numeric_limits<long>::max(), kMin = std::numeric_limits<long>::min();
    const Case cases[] = {
        {"0", 0, false},          {"42", 42, false},        {"+42", 42, false},      {"-42", -42, false},
        {"007", 7, false},        {"18.64", 18, true},      {"-0.5", 0, true},       {"5.", 5, true},
        {".5", 0, true},          {"-.5", 0, true},         {"+.5", 0, true},        {"+-3", -3, false},
        {"", std::nullopt, false}, {"-", std::nullopt, false}, {"+", std::nullopt, false},
        {".", std::nullopt, true}, {"-.", std::nullopt, true},  {"++1", std::nullopt, false},
        {"-+1", std::nullopt, false}, {"--1", std::nullopt, false}, {"1a", std::nullopt, false},
        {"a1", std::nullopt, false}, {"1.2.3", std::nullopt, false}, {"1.x", std::nullopt, false},
        {" 1", std::nullopt, false}, {"1 ", std::nullopt, false},
        {"9223372036854775807", kMax, false},    {"-9223372036854775808", kMin, false},
        {"9223372036854775808", std::nullopt, false}, {"-9223372036854775809", std::nullopt, false},
        {"99999999999999999999.5", std::nullopt, true},
    };
    for (const Case& c : cases) {
        bool decimal = !c.decimal;
        EXPECT_EQ(leadingWhole(c.text, decimal), c.value) << c.text;
        if (c.value) {
            EXPECT_EQ(decimal, c.decimal) << c.text;
        }
    }
}

TEST(ZiiLenient, ValuesAreReadAsAPrinterReadsThem) {
    struct Case {
        std::string format;
        LabelField field;
        std::vector<std::string> notes;
    };
    const Case cases[] = {
        {"^FO18.64,81.5^GB743.07,2.9,2.9^FS", ZiiBoxField{.x = 18, .y = 81, .width = 743, .height = 2, .thickness = 2},
         {"^FO18.64,81.5: decimal 18.64 taken as 18", "^FO18.64,81.5: decimal 81.5 taken as 81",
          "^GB743.07,2.9,2.9: decimal 2.9 taken as 2", "^GB743.07,2.9,2.9: decimal 743.07 taken as 743",
          "^GB743.07,2.9,2.9: decimal 2.9 taken as 2"}},
        {"^FO50,50 ^GB10,10,1^FS", ZiiBoxField{.x = 50, .y = 50, .width = 10, .height = 10},
         {"^FO50,50: spaces after the command"}},
        {"^FO 7 , 9^GB10,10,1^FS", ZiiBoxField{.x = 7, .y = 9, .width = 10, .height = 10},
         {"^FO 7 , 9: spaces around a value", "^FO 7 , 9: spaces around a value"}},
        // A value that is not a number takes the command's default; omitted ones are no leniency.
        {"^FOx,5^GB,,3^FS", ZiiBoxField{.x = 0, .y = 5, .width = 3, .height = 3, .thickness = 3},
         {"^FOx,5: 'x' is not a number"}},
        // The text of field data keeps its spaces.
        {"^FO1,2^A0N,20,20^FD a b ^FS",
         ZiiTextField{.x = 1, .y = 2, .font = '0', .height = 20, .width = 20, .data = " a b "}, {}},
    };
    for (const Case& c : cases) {
        const Fed fed = feed("^XA\r\n" + c.format + "\r\n^XZ\r\n");
        const LabelRecord r = only(fed);
        ASSERT_EQ(r.fields.size(), 1u) << c.format;
        EXPECT_EQ(r.fields[0], c.field) << c.format;
        std::vector<std::string> sorted = fed.leniencies, expected = c.notes;
        std::sort(sorted.begin(), sorted.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(sorted, expected) << c.format;
    }
}

TEST(ZiiLenient, SettingsTakeDecimalsAndTheWidestHead) {
    const Fed fed = feed("^XA^PW1280.5^LL 900^XZ\r\n");
    EXPECT_EQ(fed.zii.current.labelWidth, 1280);
    EXPECT_EQ(fed.zii.current.labelLength, 900);
    EXPECT_EQ(fed.leniencies.size(), 2u);
    // Our own bytes need none.
    EXPECT_TRUE(feed("^XA^PW812^LL1218^FO10,10^A0N,30,30^FDx^FS^XZ\r\n").leniencies.empty());
}

TEST(ZiiLenient, OtherCommandCharactersAndDelimiter) {
    const LabelRecord r = only(feed("^XA^CC+\r\n+FO10;20+GB30,30,3+FS+CD;\r\n+FO5;6+GB8;8;2+FS\r\n+CC^\r\n^CD,^XZ\r\n"));
    ASSERT_EQ(r.fields.size(), 2u);
    EXPECT_EQ(std::get<ZiiBoxField>(r.fields[0]).y, 0) << "';' is no delimiter before ^CD";
    EXPECT_EQ(r.fields[1], LabelField(ZiiBoxField{.x = 5, .y = 6, .width = 8, .height = 8, .thickness = 2}));
    // A tilde of its own: ~CT changes it.
    const Fed tilde = feed("~CT#\r\n#SD25\r\n~CT~\r\n");
    EXPECT_EQ(tilde.zii.current.darkness, 25);
}

TEST(ZiiLenient, StoredFormatsTakeTheirNumberedFieldsData) {
    const Fed fed = feed(
        "^XA^DFR:SHIP.ZPL^FS\r\n^FO10,10^A0N,30,30^FN1^FDdefault^FS\r\n^FO10,60^BCN,50,N^FN2^FS\r\n^FO0,0^GB5,5,5^FS^XZ\r\n"
        "^XA^XFR:SHIP.ZPL^FN1^FDAlice^FS^FN2^FD12345^FS^XZ\r\n"
        "^XA^FN2^FD999^FS^XFship^XZ\r\n");
    ASSERT_EQ(fed.labels.size(), 2u) << "the stored format prints nothing itself";
    const auto& first = fed.labels[0];
    ASSERT_EQ(first.fields.size(), 3u);
    EXPECT_EQ(std::get<ZiiTextField>(first.fields[0]).data, "Alice");
    EXPECT_EQ(std::get<ZiiBarcodeField>(first.fields[1]).data, "12345");
    EXPECT_EQ(std::get<ZiiBarcodeField>(first.fields[1]).y, 60);
    // Data before the recall counts too, and a field the format leaves keeps its own data.
    const auto& second = fed.labels[1];
    ASSERT_EQ(second.fields.size(), 3u);
    EXPECT_EQ(std::get<ZiiTextField>(second.fields[0]).data, "default");
    EXPECT_EQ(std::get<ZiiBarcodeField>(second.fields[1]).data, "999");
    // A format that recalls nothing known lists the recall as not drawn.
    EXPECT_EQ(only(feed("^XA^XFR:NONE.ZPL^FO1,1^GB5,5,5^FS^XZ\r\n")).notDrawn, std::vector<std::string>{"^XFR:NONE.ZPL"});
}

TEST(ZiiLenient, LabelWideCommandsAreRecorded) {
    const LabelRecord r = only(feed("^XA^LS30^LRY^MCN^CI28^LL800^FO1,1^GB5,5,5^FS^FO2,2^FR^GB5,5,5^FS^XZ\r\n"));
    EXPECT_EQ(r.zii.shift, 30);
    EXPECT_TRUE(r.zii.reverse);
    EXPECT_FALSE(r.zii.mapClear);
    EXPECT_EQ(r.zii.codePage, 28);
    EXPECT_TRUE(r.zii.lengthGiven);
    EXPECT_TRUE(std::get<ZiiBoxField>(r.fields[0]).reverse) << "^LR reverses every field";
    EXPECT_TRUE(std::get<ZiiBoxField>(r.fields[1]).reverse);
    EXPECT_TRUE(r.notDrawn.empty());
    EXPECT_FALSE(only(feed("^XA^FO1,1^GB5,5,5^FS^XZ\r\n")).zii.lengthGiven);
    const std::string json = labelToJson(r);
    for (const char* key : {"\"shift\": 30", "\"reverse\": true", "\"mapClear\": false", "\"lengthGiven\": true"})
        EXPECT_NE(json.find(key), std::string::npos) << key;
}

TEST(ZiiLenient, GraphicsRunOverLinesAndTheirCrcIsChecked) {
    // Hexadecimal rows a line each; base 64 with a CRC that is not its data's: still drawn, noted.
    const Fed fed = feed("^XA^FO1,2^GFA,8,4,2,\r\nFF00\r\n0FF0\r\n^FS^FO0,0^GFA,24,8,2,:B64:/wAP8P////8=:F357^FS^XZ\r\n");
    const LabelRecord r = only(fed);
    ASSERT_EQ(r.fields.size(), 2u);
    EXPECT_EQ(r.fields[0], LabelField(ZiiGraphicField{.x = 1, .y = 2, .bytesPerRow = 2, .rows = 2, .bits = "\xff\x00\x0f\xf0"s}));
    EXPECT_EQ(std::get<ZiiGraphicField>(r.fields[1]).bits, "\xff\x00\x0f\xf0\xff\xff\xff\xff"s);
    EXPECT_EQ(fed.leniencies, std::vector<std::string>{"^GFA,24,8,2,:B64:/wAP8P////8=:F357: its CRC F357 is not that of its data (F356)"});
    // Binary data is bytes, line ends, "^" and "~" among them, however the stream is cut.
    const std::string bits = "\xff\r\n^~\n\r\x00"s;
    const std::string text = "^XA^FO0,0^GFB,8,8,2," + bits + "^FS^FO1,1^GB5,5,5^FS^XZ\r\n";
    for (const std::size_t chunk : {text.size(), std::size_t{1}, std::size_t{5}}) {
        Printer printer;
        Parser parser{printer};
        for (std::size_t at = 0; at < text.size(); at += chunk) parser.feed(std::string_view(text).substr(at, chunk));
        const auto labels = printer.printedLabels();
        ASSERT_EQ(labels.size(), 1u) << chunk;
        ASSERT_EQ(labels[0].fields.size(), 2u) << chunk;
        EXPECT_EQ(std::get<ZiiGraphicField>(labels[0].fields[0]).bits, bits) << chunk;
    }
    // One longer than a line may be, with every byte but ESC in it.
    std::string large;
    for (int i = 0; i < 100000; ++i) large += static_cast<char>(i % 255 == 27 ? 0 : i % 255);
    const std::string big = "^XA^FO0,0^GFB,100000,100000,100," + large + "^FS^XZ\r\n";
    for (const std::size_t chunk : {big.size(), std::size_t{4096}}) {
        Printer printer;
        Parser parser{printer};
        for (std::size_t at = 0; at < big.size(); at += chunk) parser.feed(std::string_view(big).substr(at, chunk));
        const auto labels = printer.printedLabels();
        ASSERT_EQ(labels.size(), 1u) << chunk;
        ASSERT_EQ(labels[0].fields.size(), 1u) << chunk;
        EXPECT_TRUE(std::get<ZiiGraphicField>(labels[0].fields[0]).bits == large) << chunk;
    }
    // A graphic that cannot be read is an error of the label.
    EXPECT_EQ(only(feed("^XA^FO0,0^GFC,8,8,2,xx^FS^FO0,0^GB5,5,5^FS^XZ")).errors,
              std::vector<std::string>{"^GFC,8,8,2,xx: compression 'C' is not drawn"});
}

TEST(ZiiLenient, TheJournalKeepsABoundedTailOfLeniencies) {
    Printer printer;
    Parser parser{printer};
    std::string format = "^XA";
    for (int i = 0; i < 1200; ++i) format += "^FO1.5,1^GB5,5,5^FS";
    parser.feed(format + "^XZ\r\n");
    EXPECT_EQ(printer.journal().leniencies().size(), Journal::kKeptLeniencies);
    EXPECT_EQ(printer.journal().totalLeniencies(), 1000u) << "one format notes at most a thousand";
}

}  // namespace
}  // namespace velmora::sim
