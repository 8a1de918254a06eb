// ZII formats through the printer: one printed-label record per format, with its fields, the
// settings in force, and the commands it does not hold listed as not drawn.
#include <gtest/gtest.h>

#include <string>

#include "sim/parser.h"
#include "sim/printer.h"

namespace velmora::sim {
namespace {

std::vector<LabelRecord> printFeeding(std::initializer_list<std::string_view> chunks) {
    Printer printer;
    Parser parser{printer};
    for (std::string_view chunk : chunks) parser.feed(chunk);
    return printer.printedLabels();
}

TEST(ZiiLabels, FormatBecomesOneRecordWithItsFields) {
    const auto labels = printFeeding({
        "^XA~SD22^PR5,5^PW600^LL400^LH10,20^CI28\r\n"
        "^FO50,60^A0N,30,25^FDHello ~ world^FS\r\n"
        "^BY3,2.5,80^FT100,300^BCN,80,Y,N,N^FD>:123^FS\r\n"
        "^FO5,5^GB200,100,4^FS^FO1,1^FR^GB10,10,20,W,3^FS\r\n"
        "^FO0,0^FH^FD_B0_A1x_4^FS^FPH,3^PQ3,0,2\r\n"
        "^XZ\r\n",
    });
    ASSERT_EQ(labels.size(), 1u);
    const LabelRecord& r = labels[0];
    EXPECT_EQ(r.language, LabelLanguage::Zii);
    EXPECT_EQ(r.quantity, 3);
    EXPECT_EQ(r.copies, 2);
    EXPECT_EQ(r.zii.darkness, 22);
    EXPECT_EQ(r.zii.printSpeed, 5);
    EXPECT_EQ(r.zii.width, 600);
    EXPECT_EQ(r.zii.length, 400);
    EXPECT_EQ(r.zii.homeX, 10);
    EXPECT_EQ(r.zii.codePage, 28);
    ASSERT_EQ(r.fields.size(), 5u);
    EXPECT_EQ(r.fields[0], LabelField(ZiiTextField{.x = 50, .y = 60, .font = '0', .height = 30, .width = 25,
                                                   .codePage = 28, .data = "Hello ~ world"}));
    EXPECT_EQ(r.fields[1], LabelField(ZiiBarcodeField{.x = 100, .y = 300, .typeset = true, .symbology = "BC",
                                                      .parameters = {"N", "80", "Y", "N", "N"}, .moduleWidth = 3,
                                                      .ratio = 2.5, .barHeight = 80, .codePage = 28, .data = ">:123"}));
    EXPECT_EQ(r.fields[2], LabelField(ZiiBoxField{.x = 5, .y = 5, .width = 200, .height = 100, .thickness = 4}));
    // A box no larger than its line is a solid block of the thickness.
    EXPECT_EQ(r.fields[3], LabelField(ZiiBoxField{.x = 1, .y = 1, .width = 20, .height = 20, .thickness = 20,
                                                  .color = 'W', .rounding = 3, .reverse = true}));
    // Escapes resolve to bytes; an incomplete one stays as sent.
    EXPECT_EQ(std::get<ZiiTextField>(r.fields[4]).data, "\xb0\xa1x_4");
    EXPECT_EQ(r.notDrawn, std::vector<std::string>{"^FPH,3"});
    EXPECT_NE(labelToJson(r).find("\"language\": \"zii\""), std::string::npos);
}

TEST(ZiiLabels, FormatsSplitAnywhereAndDefaultsCarryOver) {
    // Field data continues over a line break; chunks cut commands anywhere; ^CF and ^BY stay in
    // force for the next format.
    const auto labels = printFeeding({"^XA^CF", "D,40,20^BY4^FO1,2^FDfirst ", "part\r\nsecond part^FS^XZ",
                                      "\r\n^XA^FO3,4^FDx^FS^FO0,0^B3^FD12^FS^XZ\r\n"});
    ASSERT_EQ(labels.size(), 2u);
    EXPECT_EQ(labels[0].number + 1, labels[1].number);
    const auto& text = std::get<ZiiTextField>(labels[0].fields[0]);
    EXPECT_EQ(text.data, "first partsecond part");
    EXPECT_EQ(text.font, 'D');
    EXPECT_EQ(text.height, 40);
    const auto& later = std::get<ZiiTextField>(labels[1].fields[0]);
    EXPECT_EQ(later.font, 'D');
    EXPECT_EQ(later.width, 20);
    EXPECT_EQ(std::get<ZiiBarcodeField>(labels[1].fields[1]).moduleWidth, 4);
}

// The record's bar height is the one the printer uses: a linear symbol's own, else the ^BY one.
TEST(ZiiLabels, ALinearSymbolsOwnHeightIsRecorded) {
    const auto labels = printFeeding({"^XA^BY2,3,50^FO0,0^BCN,120^FD1^FS^FO0,200^BCN^FD2^FS"
                                      "^FO0,400^B3N,N,70^FD3^FS^FO0,600^BQN,2,4^FDQA,x^FS^XZ\r\n"});
    ASSERT_EQ(labels.size(), 1u);
    std::vector<int> heights;
    for (const LabelField& f : labels[0].fields) heights.push_back(std::get<ZiiBarcodeField>(f).barHeight);
    EXPECT_EQ(heights, (std::vector<int>{120, 50, 70, 50}));
    EXPECT_NE(labelToJson(labels[0]).find("\"barHeight\": 120"), std::string::npos);
}

TEST(ZiiLabels, FormatsWithNothingToPrintLeaveNoRecord) {
    // Settings-only formats (what the setting pages send), field commands outside a format,
    // and an empty format print nothing.
    EXPECT_TRUE(printFeeding({"^XA^PW400^JUS^XZ\r\n", "^FO1,1^FDlost^FS\r\n", "^XA^XZ\r\n"}).empty());
    // A ^PQ alone prints blank labels, as a printer feeds them.
    EXPECT_EQ(printFeeding({"^XA^PQ2^XZ\r\n"}).size(), 1u);
}

TEST(ZiiLabels, NativeAndZiiLabelsShareOneNumbering) {
    const auto labels = printFeeding({"T20,20,3,1,1,0,0,N,N,'A'\r\nP1\r\n", "^XA^FO1,1^FDB^FS^XZ\r\n"});
    ASSERT_EQ(labels.size(), 2u);
    EXPECT_EQ(labels[0].language, LabelLanguage::Native);
    EXPECT_EQ(labels[1].language, LabelLanguage::Zii);
    EXPECT_EQ(labels[1].number, 2u);
}

}  // namespace
}  // namespace velmora::sim
