// Composition of the builders' command lines, the font finder, the unit converter, the receive
// view, command files and the character-set labels: the worked examples as tables.
#include <gtest/gtest.h>

#include "app/typedtext.h"
#include "tester/tavlcommands.h"
#include "tester/testerformat.h"

namespace velmora::testing {
namespace {

using namespace tester;

TEST(TavlCommands, LinesFromTheirValues) {
    BitmapText rotated;
    rotated.x = 12.9;
    rotated.rotation = 3;
    VectorText right;
    right.justification = 0;
    right.direction = 1;
    VectorText center;
    center.justification = 1;
    Barcode1D qzone;
    qzone.quietZoneOn = true;
    Barcode1D ucc;
    ucc.type = 9;
    ucc.rotation = 1;
    BlockDraw s;
    s.type = 3;
    s.endY = 300;
    s.optional = 10;
    struct Case {
        std::string line, expected;
    };
    const Case cases[] = {
        {composeBitmapText({}), "T20,20,3,1,1,0,0,N,N,'Bar Code Printer Norvik Label Printer'"},
        {composeBitmapText(rotated), "T12,20,3,1,1,0,3,N,N,'Bar Code Printer Norvik Label Printer'"},
        {composeVectorText({}), "V20,20,U,35,35,1,N,N,N,0,L,0,'Bar Code Printer Norvik Label Printer'"},
        {composeVectorText(right), "V20,20,U,35,35,1,N,N,N,0,R,1,'Bar Code Printer Norvik Label Printer'"},
        {composeVectorText(center), "V20,20,U,35,35,1,N,N,N,0,C,0,'Bar Code Printer Norvik Label Printer'"},
        {composeBarcode1D({}), "B1100,100,0,2,7,100,0,1,'123456789'"},
        {composeBarcode1D(qzone), "B1100,100,0,2,7,100,0,1,12,'123456789'"},
        {composeBarcode1D(ucc), "B1100,100,9,2,7,100,1,1,'123456789'"},
        {composeBlockDraw({}), "BD100,100,800,120,O"},
        {composeBlockDraw(s), "BD100,100,800,300,S,10"},
        {composeCopies(1, 1), "P1,1"},
        {testPrintText("P1,1"), "P1,1\rP1\r"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.line, c.expected);
}

TEST(TavlCommands, TwoDimensionalDataFollowsTheSymbology) {
    Barcode2D maxi;
    maxi.data = kMaxicodeOpeningData;
    Barcode2D mode3 = maxi;
    mode3.modeIndex = 2;
    Barcode2D mode4 = maxi;
    mode4.modeIndex = 3;
    mode4.data = maxicodeModeData(3);
    Barcode2D pdf;
    pdf.symbology = Symbology::Pdf417;
    pdf.data = default2DData(Symbology::Pdf417);
    Barcode2D qr;
    qr.symbology = Symbology::QrCode;
    qr.barHeight = 4;
    qr.data = default2DData(Symbology::QrCode);
    Barcode2D qr2 = qr;
    qr2.modeIndex = 1;
    qr2.eccText = "H";
    EXPECT_EQ(composeBarcode2D(maxi), std::string("B2100,100,M,0,'") + kMaxicodeOpeningData + "'");
    EXPECT_EQ(composeBarcode2D(mode3).substr(0, 15), "B2100,100,M,3,'");
    EXPECT_EQ(composeBarcode2D(mode4),
              "B2100,100,M,4,'THIS IS A 93 CHARACTER CODE SET A MESSAGE THAT FILLS A MODE 4,UNAPPENDED,MAXICODE "
              "SYMBOL...'");
    EXPECT_EQ(composeBarcode2D(pdf),
              "B2100,100,P,30,5,0,0,1,1,3,10,0,'Bar Code Printer Norvik Label Printer, This is Test Printing.'");
    EXPECT_EQ(composeBarcode2D(qr), "B2100,100,Q,1,L,4,0,'ABCDEFGHIJKLMN1234567890'");
    EXPECT_EQ(composeBarcode2D(qr2), "B2100,100,Q,2,H,4,0,'ABCDEFGHIJKLMN1234567890'");
    EXPECT_EQ(maxicodeModeData(1),
              "999,840,06810,7317,THIS IS A TEST OF BAR CODE PRINTER NORVIK LABEL PRINTER. MODE 2 ENCODING.");
}

TEST(TavlCommands, LabelSettingRoundsThroughEveryUnit) {
    LabelSettingValues inch;
    EXPECT_EQ(composeLabelSetting(inch), (std::vector<std::string>{"SW812", "SL1219,24,G", "SM40,40"}));
    // The same label typed in millimetres and in dots writes the same dots.
    for (Unit to : {Unit::Mm, Unit::Dots}) {
        LabelSettingValues v = inch;
        v.unit = to;
        for (double* d : {&v.width, &v.length, &v.xMargin, &v.yMargin}) *d = convertLabelValue(*d, Unit::Inch, to);
        EXPECT_EQ(composeLabelSetting(v), composeLabelSetting(inch));
    }
    EXPECT_DOUBLE_EQ(convertLabelValue(4, Unit::Inch, Unit::Mm), 101.6);
    EXPECT_DOUBLE_EQ(convertLabelValue(0.2, Unit::Inch, Unit::Dots), 40.64);
    LabelSettingValues media = inch;
    media.widthOn = media.marginsOn = false;
    media.media = 2;
    EXPECT_EQ(composeLabelSetting(media), std::vector<std::string>{"SL1219,24,B"});
    media.media = 1;
    EXPECT_EQ(composeLabelSetting(media), std::vector<std::string>{"SL1219,0,C"});
    EXPECT_FALSE(toDots(1e9, Unit::Inch));  // beyond the command's integer: refused, not wrapped
}

TEST(TavlCommands, PrintingSettingAndItsTestLabel) {
    PrintingSettingValues v;
    EXPECT_EQ(composePrintingSetting(v), (std::vector<std::string>{"SS3", "SD20", "SOT"}));
    const std::string full = printingSettingTestPrint(v);
    EXPECT_NE(full.find("T100,200,3,1,1,0,0,N,N,'Printing Speed     : 5.0 ips'\rSS3\r"), std::string::npos);
    EXPECT_NE(full.find("'Density(0~20)      : 20'\rSD20\r"), std::string::npos);
    EXPECT_NE(full.find("'Printing Direction : SOT'\rSOT\r"), std::string::npos);
    v.speedOn = v.densityOn = v.directionOn = false;
    EXPECT_TRUE(composePrintingSetting(v).empty());
    EXPECT_EQ(printingSettingTestPrint(v),
              "T100,100,3,1,1,0,0,N,N,'Printer Setting Test'\r"
              "T100,150,3,1,1,0,0,N,N,'============================='\r"
              "T100,350,3,1,1,0,0,N,N,'============================='\r"
              "BD150,500,495,750,B,15\rBD200,550,300,700,S,30\rBD430,550,330,700,S,30\r\rP1\r");
}

TEST(TavlCommands, QuotedFieldsRefuseOnlyWhatWouldEndThem) {
    // The printer takes \' and \\ inside quotes; a bare apostrophe, a lone backslash before the
    // closing apostrophe, or a line end would end the field early.
    for (const char* bad : {"it's", "a\rb", "a\nb", "C:\\", "a\\\\\\", "a\\\\'b", "\\\\'", "it\\\r"})
        EXPECT_TRUE(app::breaksQuotedField(bad)) << bad;
    for (const char* fine : {"", "Bar Code", "a,b\\c", "it\\'s", "C:\\\\", "\\'quoted\\'", "\\\\\\'"})
        EXPECT_FALSE(app::breaksQuotedField(fine)) << fine;
}

TEST(FontFinder, SearchesAsWorkedOut) {
    // 3 mm by 5 mm is 24 by 40 dots.
    EXPECT_EQ(findMostSimilarFont(24, 40), (FontChoice{0, 3, 3}));
    EXPECT_EQ(findSimilarRoundFont(24, 40), (FontChoice{5, 1, 1}));
    // Far beyond font 6 at multiplier 4: nothing within reach, and so no round answer either.
    EXPECT_FALSE(findMostSimilarFont(8000, 8000));
    EXPECT_FALSE(findSimilarRoundFont(8000, 8000));
    // Already font 6: there is no larger font.
    EXPECT_FALSE(findSimilarRoundFont(40, 70));
    EXPECT_EQ(fontComparisonText({0, 3, 3}, {5, 1, 1}),
              "SL600,0,C\rT50,50,0,3,3,0,0,N,N,'TEST148'\rT50,350,5,1,1,0,0,N,N,'TEST148'\rP1\r");
}

TEST(ConvertUnit, SinglePrecisionResultsAsShown) {
    struct Case {
        int direction;
        float in;
        const char* shown;
    };
    const Case cases[] = {{1, 1, "203.2"}, {1, 4, "812.8"}, {3, 100, "12.5"},
                          {2, 100, "0.492126"}, {4, 25.4f, "1"}, {0, 1, "25.4"}, {5, 1, "8"},
                          // Where a single-precision 25.4 shows in the sixth digit.
                          {4, 0.63f, "0.0248031"}, {4, 1.86f, "0.0732283"}, {2, 1.02f, "0.00501968"}};
    for (const auto& c : cases) EXPECT_EQ(formatSingle(convertUnit(c.direction, c.in)), c.shown) << c.direction;
}

TEST(ReceiveView, RowsOfTwentyInGroupsOfFour) {
    EXPECT_EQ(renderReceiveView("AB\r\n", false), "A B . .\t");
    EXPECT_EQ(renderReceiveView("AB\r\n", true), "41 42 0d 0a\t");
    EXPECT_EQ(renderReceiveView("", true), "");
    const std::string row = renderReceiveView(std::string(21, '!'), false);
    EXPECT_EQ(row, "! ! ! !\t! ! ! !\t! ! ! !\t! ! ! !\t! ! ! !\r\n! ");
    EXPECT_EQ(renderReceiveView(std::string("\x00\x7f\x80 ", 4), false), ". . . .\t");
}

std::string identity(std::string_view b) { return std::string(b); }

TEST(CommandFiles, MarksCountOnlyWhenComplete) {
    struct Case {
        std::string bytes, text;
    };
    const Case cases[] = {
        {std::string("\xFF\xFE" "A\0", 4), "A"},
        {std::string("\xFE\xFF\0A", 4), "A"},
        {"\xEF\xBB\xBF" "T1\r\n", "T1\r\n"},
        {"\xEF\xBB\xBF\xC3\xA9", "\xC3\xA9"},  // UTF-8 after its mark stays UTF-8
        {"\xEF" "AB", "\xEF" "AB"},           // no mark: every byte is text
        {"\xFF", "\xFF"},                     // one byte, not a mark
        {"\xFE" "A", "\xFE" "A"},
        {std::string("AB\0CD", 5), "AB"},
        {"A\nB", "A\nB"},                     // a lone LF stays a lone LF
        // An odd last byte is paired with a zero byte, not lost.
        {std::string("\xFF\xFE" "A\0B", 5), "AB"},
        {std::string("\xFE\xFF\0A\x42", 5), "A\xE4\x88\x80"},  // U+4200
    };
    for (const auto& c : cases) EXPECT_EQ(decodeCommandFile(c.bytes, identity), c.text);
    EXPECT_EQ(encodeCommandFile("A"), std::string("\xFF\xFE" "A\0", 4));
    for (const std::string text : {"T1\r\nP1\r\n", "\xC3\xA9\xE4\xB8\xAD", "\xF0\x9F\x98\x80"})
        EXPECT_EQ(decodeCommandFile(encodeCommandFile(text), identity), text);
}

TEST(CharacterSet, LabelsAndEscapes) {
    CharsetFont bitmap;
    const auto under = charsetUnder80(bitmap, 0, 0);
    ASSERT_EQ(under.size(), 2u);
    EXPECT_EQ(under[0].substr(0, 35), "SW780\rCS0,0\rT20,20,3,1,1,10,0,N,N,'");
    EXPECT_NE(under[0].find("&\\'()"), std::string::npos);
    EXPECT_NE(under[0].find("[\\\\]"), std::string::npos);
    EXPECT_EQ(under[0].substr(under[0].size() - 6), "\x7f'\rP1\r");
    EXPECT_EQ(under[1], "SW830\r");
    EXPECT_EQ(charsetOver80(bitmap, 0, 12)[0].find("CS0,12\r"), 6u);
    CharsetFont vector;
    vector.vector = true;
    vector.hSize = vector.vSize = 35;
    const auto intl = charsetInternational(vector, 0);
    ASSERT_EQ(intl.size(), 17u);
    EXPECT_EQ(intl[15], "CS15,0\rV30,1100,U,35,35,+1,N,N,N,0,L,0,'#$@[\\\\]^`{|}~'\r");
    EXPECT_EQ(intl[16], "P1\r");
    EXPECT_EQ(charsetAllTables(bitmap, 0, 25).size(), 50u);
}

}  // namespace
}  // namespace velmora::testing
