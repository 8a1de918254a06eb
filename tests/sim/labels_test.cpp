// Native labels through the printer: the tester's text in, printed-label records and their JSON
// files out.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "sim/labelfiles.h"
#include "sim/native.h"
#include "sim/parser.h"
#include "sim/printer.h"

namespace velmora::sim {
namespace {

// What the command tester sends after inserting label settings, a bitmap text, a 1D barcode, a
// box and copies: one line per builder, each ended by CR LF.
const std::string kTesterText =
    "SW812\r\nSL1219,24,G\r\nSM40,40\r\nSS3\r\nSD20\r\nSOT\r\n"
    "T20,20,3,1,1,0,0,N,N,'Bar Code Printer Norvik Label Printer'\r\n"
    "B1100,100,0,2,7,100,0,1,'123456789'\r\n"
    "BD100,100,800,120,O\r\n"
    "P1,1\r\n";

LabelFormat testerFormat() {
    return LabelFormat{.width = 812,
                       .length = 1219,
                       .gap = 24,
                       .media = 'G',
                       .marginX = 40,
                       .marginY = 40,
                       .speed = 3,
                       .density = 20,
                       .direction = 'T'};
}

std::vector<LabelField> testerFields() {
    return {TextField{.x = 20, .y = 20, .font = '3', .data = "Bar Code Printer Norvik Label Printer"},
            Barcode1DField{.x = 100,
                           .y = 100,
                           .narrow = 2,
                           .wide = 7,
                           .height = 100,
                           .humanReadable = true,
                           .data = "123456789"},
            BoxField{.x1 = 100, .y1 = 100, .x2 = 800, .y2 = 120}};
}

TEST(NativeLabels, TesterTextPrintsOneLabelWhateverTheChunksAndLineEnds) {
    struct Case {
        const char* name;
        std::string text;
        std::size_t chunk;  // 0: all at once
    };
    auto withEnds = [](const std::string& lineEnd) {
        std::string text = kTesterText;
        for (std::size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos; at += lineEnd.size()) {
            text.replace(at, 2, lineEnd);
        }
        return text;
    };
    const Case cases[] = {
        {"CR LF, whole", kTesterText, 0},
        {"CR LF, byte by byte", kTesterText, 1},
        {"CR only", withEnds("\r"), 0},
        {"LF only, in threes", withEnds("\n"), 3},
    };
    for (const Case& c : cases) {
        Printer printer;
        Parser parser(printer);
        const std::size_t step = c.chunk ? c.chunk : c.text.size();
        for (std::size_t at = 0; at < c.text.size(); at += step)
            parser.feed(std::string_view(c.text).substr(at, step));

        const auto labels = printer.printedLabels();
        ASSERT_EQ(labels.size(), 1u) << c.name;
        EXPECT_EQ(labels[0].number, 1u);
        EXPECT_EQ(labels[0].quantity, 1);
        EXPECT_EQ(labels[0].copies, 1);
        EXPECT_EQ(labels[0].format, testerFormat()) << c.name;
        EXPECT_EQ(labels[0].fields, testerFields()) << c.name << "\n" << labelToJson(labels[0]);
        EXPECT_TRUE(labels[0].errors.empty()) << c.name;
        EXPECT_TRUE(printer.pendingLabel().fields.empty());
    }
}

TEST(NativeLabels, MalformedCommandsAreErrorsOfTheirLabelAndPrintingGoesOn) {
    Printer printer;
    Parser parser(printer);
    parser.feed("T20,20,3,1,1,0,0,N,N,'unterminated\r\nSWabc\r\nBD1,2,3,4,O\r\nPxyz\r\n^cp\r\n");
    EXPECT_EQ(parser.takeReplies().size(), 2u);   // status query still answered
    EXPECT_EQ(printer.totalPrintedLabels(), 0u);  // a bad print command prints nothing
    EXPECT_EQ(printer.pendingLabel().errors.size(), 3u);

    parser.feed("P2,3\r\nT1,1,3,1,1,0,0,N,N,'next'\r\nP1\r\n");
    const auto labels = printer.printedLabels();
    ASSERT_EQ(labels.size(), 2u);
    EXPECT_EQ(labels[0].quantity, 2);
    EXPECT_EQ(labels[0].copies, 3);
    EXPECT_EQ(labels[0].fields.size(), 1u);  // the box
    ASSERT_EQ(labels[0].errors.size(), 3u);
    EXPECT_EQ(labels[0].errors[0], "T20,20,3,1,1,0,0,N,N,'unterminated: the text has no closing apostrophe");
    EXPECT_EQ(labels[0].errors[1], "SWabc: width is not a number: \"abc\"");
    EXPECT_EQ(labels[0].errors[2], "Pxyz: quantity is not a number: \"xyz\"");
    EXPECT_TRUE(labels[1].errors.empty());
    EXPECT_EQ(labels[1].format, LabelFormat{});  // the bad width changed nothing
}

TEST(NativeLabels, FormatStaysInForceFromLabelToLabel) {
    Printer printer;
    Parser parser(printer);
    parser.feed(kTesterText);
    parser.feed("SD5\rCS3,7\rSL700\rP1\r");
    const auto labels = printer.printedLabels();
    ASSERT_EQ(labels.size(), 2u);
    LabelFormat expected = testerFormat();
    expected.density = 5;
    expected.characterSet = 3;
    expected.codeTable = 7;
    expected.length = 700;  // gap and media stay
    EXPECT_EQ(labels[1].format, expected);
    EXPECT_TRUE(labels[1].fields.empty());
    EXPECT_EQ(printer.labelFormat(), expected);
}

TEST(NativeLabels, EachTextKeepsTheCharacterSetItWasSentWith) {
    // As the national-set test sends it: a set, a line in it, the next set, ... then one print.
    Printer printer;
    Parser parser(printer);
    parser.feed("T1,1,3,1,1,0,0,N,N,'none'\rCS0,6\rT30,50,3,1,1,10,0,N,N,'#'\r"
                "CS15,6\rV30,1100,U,35,35,+1,N,N,N,0,L,0,'#'\rP1\r");
    const auto labels = printer.printedLabels();
    ASSERT_EQ(labels.size(), 1u);
    ASSERT_EQ(labels[0].fields.size(), 3u);
    const auto& none = std::get<TextField>(labels[0].fields[0]);
    const auto& first = std::get<TextField>(labels[0].fields[1]);
    const auto& last = std::get<VectorTextField>(labels[0].fields[2]);
    EXPECT_EQ(none.characterSet, std::nullopt);
    EXPECT_EQ(first.characterSet, 0);
    EXPECT_EQ(first.codeTable, 6);
    EXPECT_EQ(last.characterSet, 15);
    EXPECT_EQ(labels[0].format.characterSet, 15);
}

TEST(NativeLabels, MemoryStaysBounded) {
    Printer printer;
    Parser parser(printer);
    std::string flood;
    for (std::size_t i = 0; i < LabelBook::kMaxFields + 10; ++i) flood += "BD1,1,2,2,O\r";
    for (std::size_t i = 0; i < LabelBook::kMaxErrors + 10; ++i) flood += "SW?\r";
    parser.feed(flood);
    const LabelRecord pending = printer.pendingLabel();
    EXPECT_EQ(pending.fields.size(), LabelBook::kMaxFields);
    EXPECT_EQ(pending.errors.size(), LabelBook::kMaxErrors);
    EXPECT_EQ(pending.errorsNotKept, 11u);  // "label is full" came first and is kept
    EXPECT_NE(pending.errors[0].find("later fields are dropped"), std::string::npos);

    std::string prints;
    for (std::size_t i = 0; i < LabelBook::kKeptRecords + 5; ++i) prints += "P1\r";
    parser.feed(prints);
    const auto labels = printer.printedLabels();
    EXPECT_EQ(printer.totalPrintedLabels(), LabelBook::kKeptRecords + 5);
    ASSERT_EQ(labels.size(), LabelBook::kKeptRecords);
    EXPECT_EQ(labels.front().number, 6u);
    EXPECT_EQ(labels.back().number, LabelBook::kKeptRecords + 5);
}

TEST(NativeLabels, JsonEscapesEveryByteItCannotShowPlainly) {
    LabelRecord record;
    record.number = 7;
    record.quantity = 2;
    record.format.width = 812;
    record.format.media = 'C';
    record.fields.push_back(TextField{.x = 1, .y = 2, .font = 'a', .data = "\"q\" \\ \x7f\xb0\xa1\t"});
    record.fields.push_back(BoxField{.x1 = 1, .y1 = 2, .x2 = 3, .y2 = 4, .type = 'S', .value = 10});
    record.errors.push_back("SW?: width is not a number: \"?\"");
    const std::string expected = R"({
  "label": 7,
  "quantity": 2,
  "copies": 1,
  "language": "tavl",
  "format": {
    "width": 812,
    "length": null,
    "gap": null,
    "media": "continuous",
    "marginX": null,
    "marginY": null,
    "speed": null,
    "density": null,
    "direction": null,
    "characterSet": null,
    "codeTable": null
  },
  "fields": [
    {
      "kind": "text",
      "x": 1,
      "y": 2,
      "font": "a",
      "xMultiplier": 1,
      "yMultiplier": 1,
      "rightSpace": 0,
      "rotation": 0,
      "reverse": false,
      "bold": false,
      "characterSet": null,
      "codeTable": null,
      "data": "\"q\" \\ \u007f\u00b0\u00a1\u0009"
    },
    {
      "kind": "box",
      "x1": 1,
      "y1": 2,
      "x2": 3,
      "y2": 4,
      "type": "S",
      "value": 10
    }
  ],
  "errors": [
    "SW?: width is not a number: \"?\""
  ],
  "errorsNotKept": 0
}
)";
    EXPECT_EQ(labelToJson(record), expected);
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(NativeLabels, EachPrintedLabelIsOneJsonFile) {
    const std::filesystem::path dir =
        std::filesystem::path(::testing::TempDir()) / ("velmora_labels_" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::string error;
    LabelFiles files;
    ASSERT_TRUE(files.open(dir.string(), error)) << error;  // made when missing

    Printer printer;
    printer.setLabelSink([&files](const LabelRecord& record) {
        std::string why;
        EXPECT_FALSE(files.write(record, why).empty()) << why;
    });
    Parser parser(printer);
    parser.feed(kTesterText);
    parser.feed(kTesterText);
    const auto labels = printer.printedLabels();
    ASSERT_EQ(labels.size(), 2u);
    EXPECT_EQ(readFile(dir / "label-0001.json"), labelToJson(labels[0]));
    EXPECT_EQ(readFile(dir / "label-0002.json"), labelToJson(labels[1]));
    EXPECT_FALSE(std::filesystem::exists(dir / "label-0001.json.part"));

    // A second run into the same directory continues the numbering.
    LabelFiles again;
    ASSERT_TRUE(again.open(dir.string(), error)) << error;
    std::string why;
    EXPECT_EQ(again.write(labels[0], why), (dir / "label-0003.json").string());
    EXPECT_EQ(LabelFiles::fileName(12345), "label-12345.json");

    // A path that is a file is no label directory.
    EXPECT_FALSE(again.open((dir / "label-0001.json").string(), error));
    EXPECT_NE(error.find("label-0001.json"), std::string::npos);
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace velmora::sim
