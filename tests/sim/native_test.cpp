// The native label commands as the tester's builders compose them, one line at a time.
#include "sim/native.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/hex.h"

namespace velmora::sim {
namespace {

// A field as JSON, so a failing comparison shows every member.
std::string describe(const NativeCommand& command) {
    if (const auto* field = std::get_if<LabelField>(&command)) {
        LabelRecord record;
        record.fields.push_back(*field);
        return labelToJson(record);
    }
    if (const auto* error = std::get_if<CommandError>(&command)) return "error: " + error->why;
    return "a format or print command";
}

std::string bytesFrom(int first, int last) {
    std::string out;
    for (int b = first; b <= last; ++b) out += static_cast<char>(b);
    return out;
}

const std::string kPrinterText = "Bar Code Printer Norvik Label Printer";
const std::string kMaxicode84 =
    "999,840,06810,7317,THIS IS A TEST OF MODE 0 STRUCTURED CARRIER MESSAGE ENCODING. THIS IS AN 84 CHAR MSG";

TEST(NativeCommand, FieldsAsTheBuildersComposeThem) {
    struct Case {
        std::string line;
        LabelField field;
    };
    // The thirteen bytes of the national-set test: the backslash written twice is one backslash.
    const std::string national = "#$@[\\\\]^`{|}~";
    // Bytes 0x20 to 0x7F with apostrophe and backslash escaped, then 0x80 to 0xFF unescaped.
    std::string allCodes;
    for (int b = 0x20; b <= 0x7F; ++b) {
        if (b == '\'' || b == '\\') allCodes += '\\';
        allCodes += static_cast<char>(b);
    }
    allCodes += bytesFrom(0x80, 0xFF);
    // One two-byte row: lead byte B0 with every trail byte A1 to FE.
    std::string ksRow;
    for (int t = 0xA1; t <= 0xFE; ++t) ksRow += std::string{'\xB0', static_cast<char>(t)};
    // A Shift-JIS character whose trail byte is a backslash, right before the closing apostrophe.
    const std::string jisBackslash = "\x95\x5C";

    const Case cases[] = {
        {"T20,20,3,1,1,0,0,N,N,'" + kPrinterText + "'",
         TextField{.x = 20, .y = 20, .font = '3', .data = kPrinterText}},
        {"T12,20,3,2,4,5,3,R,B,'x'", TextField{.x = 12,
                                               .y = 20,
                                               .font = '3',
                                               .xMultiplier = 2,
                                               .yMultiplier = 4,
                                               .rightSpace = 5,
                                               .rotation = 270,
                                               .reverse = true,
                                               .bold = true,
                                               .data = "x"}},
        {"T50,350,5,1,1,0,0,N,N,'TEST148'", TextField{.x = 50, .y = 350, .font = '5', .data = "TEST148"}},
        {"T30,50,3,1,1,10,0,N,N,'" + national + "'",
         TextField{.x = 30, .y = 50, .font = '3', .rightSpace = 10, .data = "#$@[\\]^`{|}~"}},
        {"T20,20,3,1,1,10,0,N,N,'" + allCodes + "'",
         TextField{.x = 20, .y = 20, .font = '3', .rightSpace = 10, .data = bytesFrom(0x20, 0xFF)}},
        // A two-byte font must not take the closing apostrophe as a trail byte.
        {"T20,20,a,1,1,10,0,N,N,'" + bytesFrom(0x80, 0xFF) + "'",
         TextField{.x = 20, .y = 20, .font = 'a', .rightSpace = 10, .data = bytesFrom(0x80, 0xFF)}},
        {"T20,20,d,1,1,0,0,N,N,'" + ksRow + "'", TextField{.x = 20, .y = 20, .font = 'd', .data = ksRow}},
        {"T20,20,j,1,1,0,0,N,N,'" + jisBackslash + "'",
         TextField{.x = 20, .y = 20, .font = 'j', .data = jisBackslash}},
        // A backslash before anything but an apostrophe or a backslash is an ordinary byte.
        {"T1,2,3,1,1,0,0,N,N,'C:\\temp'", TextField{.x = 1, .y = 2, .font = '3', .data = "C:\\temp"}},
        {"T1,2,3,1,1,0,0,N,N,''", TextField{.x = 1, .y = 2, .font = '3', .data = ""}},
        {"T1,2,3,1,1,0,0,N,N,'trailing blanks'  \t",
         TextField{.x = 1, .y = 2, .font = '3', .data = "trailing blanks"}},
        {"V20,20,U,35,35,1,N,N,N,0,L,0,'" + kPrinterText + "'",
         VectorTextField{.x = 20, .y = 20, .width = 35, .height = 35, .spacing = 1, .data = kPrinterText}},
        {"V20,20,U,35,35,+1,B,R,I,1,R,1,'" + national + "'", VectorTextField{.x = 20,
                                                                             .y = 20,
                                                                             .width = 35,
                                                                             .height = 35,
                                                                             .spacing = 1,
                                                                             .bold = true,
                                                                             .reverse = true,
                                                                             .italic = true,
                                                                             .rotation = 90,
                                                                             .justification = 'R',
                                                                             .rightToLeft = true,
                                                                             .data = "#$@[\\]^`{|}~"}},
        {"V20,20,G,40,50,-3,N,N,N,0,C,0,'" + ksRow + "'", VectorTextField{.x = 20,
                                                                          .y = 20,
                                                                          .font = 'G',
                                                                          .width = 40,
                                                                          .height = 50,
                                                                          .spacing = -3,
                                                                          .justification = 'C',
                                                                          .data = ksRow}},
        {"B1100,100,0,2,7,100,0,1,'123456789'", Barcode1DField{.x = 100,
                                                               .y = 100,
                                                               .narrow = 2,
                                                               .wide = 7,
                                                               .height = 100,
                                                               .humanReadable = true,
                                                               .data = "123456789"}},
        {"B1100,100,9,2,7,100,1,0,12,'123456789'", Barcode1DField{.x = 100,
                                                                  .y = 100,
                                                                  .type = 9,
                                                                  .narrow = 2,
                                                                  .wide = 7,
                                                                  .height = 100,
                                                                  .rotation = 90,
                                                                  .quietZone = 12,
                                                                  .data = "123456789"}},
        {"B2100,100,M,0,'" + kMaxicode84 + "'", Barcode2DField{.x = 100, .y = 100, .data = kMaxicode84}},
        {"B2100,100,M,3,'x'", Barcode2DField{.x = 100, .y = 100, .mode = 3, .data = "x"}},
        {"B2100,100,P,30,5,0,0,1,1,3,10,0,'" + kPrinterText + ", This is Test Printing.'",
         Barcode2DField{.x = 100,
                        .y = 100,
                        .symbology = 'P',
                        .rows = 30,
                        .columns = 5,
                        .humanReadable = true,
                        .centered = true,
                        .moduleWidth = 3,
                        .barHeight = 10,
                        .data = kPrinterText + ", This is Test Printing."}},
        {"B2100,100,Q,1,L,4,0,'ABCDEFGHIJKLMN1234567890'",
         Barcode2DField{.x = 100, .y = 100, .symbology = 'Q', .size = 4, .data = "ABCDEFGHIJKLMN1234567890"}},
        {"B2100,100,Q,2,H,4,3,'A'",
         Barcode2DField{.x = 100,
                        .y = 100,
                        .symbology = 'Q',
                        .model = 2,
                        .errorCorrection = 'H',
                        .size = 4,
                        .rotation = 270,
                        .data = "A"}},
        {"BD100,100,800,120,O", BoxField{.x1 = 100, .y1 = 100, .x2 = 800, .y2 = 120}},
        {"BD100,100,800,300,S,10",
         BoxField{.x1 = 100, .y1 = 100, .x2 = 800, .y2 = 300, .type = 'S', .value = 10}},
        {"BD150,500,495,750,B,15",
         BoxField{.x1 = 150, .y1 = 500, .x2 = 495, .y2 = 750, .type = 'B', .value = 15}},
    };
    for (const Case& c : cases) {
        const NativeCommand parsed = parseNativeCommand(c.line);
        EXPECT_EQ(parsed, NativeCommand(c.field))
            << testing::hex(c.line) << "\n got " << describe(parsed) << "\n want " << describe(c.field);
    }
}

TEST(NativeCommand, FormatAndPrintCommands) {
    struct Case {
        std::string line;
        NativeCommand command;
    };
    const Case cases[] = {
        {"SW812", LabelFormat{.width = 812}},
        {"SL1219,24,G", LabelFormat{.length = 1219, .gap = 24, .media = 'G'}},
        {"SL600,0,C", LabelFormat{.length = 600, .gap = 0, .media = 'C'}},
        {"SL1219,24,B", LabelFormat{.length = 1219, .gap = 24, .media = 'B'}},
        {"SL700", LabelFormat{.length = 700}},
        {"SM40,40", LabelFormat{.marginX = 40, .marginY = 40}},
        {"SS3", LabelFormat{.speed = 3}},
        {"SD20", LabelFormat{.density = 20}},
        {"SD0", LabelFormat{.density = 0}},
        {"SOT", LabelFormat{.direction = 'T'}},
        {"SOB", LabelFormat{.direction = 'B'}},
        {"CS12,24", LabelFormat{.characterSet = 12, .codeTable = 24}},
        {"P1,1", PrintCommand{1, 1}},
        {"P1", PrintCommand{1, 1}},
        {"P3,2", PrintCommand{3, 2}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(parseNativeCommand(c.line), c.command)
            << c.line << ": " << describe(parseNativeCommand(c.line));
    }
}

TEST(NativeCommand, MalformedLinesSayWhy) {
    struct Case {
        std::string line;
        std::string why;  // part of the message
    };
    const Case cases[] = {
        {"T20,20,3,1,1,0,0,N,N,'unterminated", "no closing apostrophe"},
        {"T20,20,3,1,1,0,0,N,N,'ends in a backslash\\'", "no closing apostrophe"},
        {"T20,20,3,1,1,0,0,N,N,'It's'", "after the closing apostrophe"},
        {"T20,20,3,1,1,0,0,N,N", "text in apostrophes is missing"},
        {"T20,20,3,1,1,0,0,N,N'x'", "comma must come before the text"},
        {"T20,20,3,1,1,0,0,N,'x'", "bold is missing"},
        {"T20,,3,1,1,0,0,N,N,'x'", "y is empty"},
        {"T20,2x,3,1,1,0,0,N,N,'x'", "y is not a number"},
        {"T-5,20,3,1,1,0,0,N,N,'x'", "x is not a number"},
        {"T99999999999,20,3,1,1,0,0,N,N,'x'", "x must be 0 to 99999"},
        {"T20,20,3,0,1,0,0,N,N,'x'", "horizontal multiplier must be 1 to"},
        {"T20,20,3,1,1,0,270,N,N,'x'", "rotation must be 0 to 3"},
        {"T20,20,3,1,1,0,0,X,N,'x'", "reverse must be one of N R"},
        {"T20,20,33,1,1,0,0,N,N,'x'", "font must be one of"},
        {"V20,20,K,,,1,N,N,N,0,L,0,'x'", "width is empty"},
        {"V20,20,U,35,35,1,N,N,N,0,X,0,'x'", "justification"},
        {"B1100,100,0,2,7,100,0,1,12,3,'x'", "unexpected field"},
        {"B1100,100,10,2,7,100,0,1,'x'", "barcode type must be 0 to 9"},
        {"B2100,100,X,0,'x'", "symbology must be one of M P Q"},
        {"B2100,100,M,1,'x'", "mode must be 0, 2, 3 or 4"},
        {"B2100,100,Q,1,Z,4,0,'x'", "error correction must be one of L M Q H"},
        {"B2100,100,P,2,5,0,0,1,1,3,10,0,'x'", "maximum rows must be 3 to 90"},
        {"BD100,100,800,120,S", "value is missing"},
        {"BD100,100,800,120,O,5", "unexpected field"},
        {"SW", "width is missing"},
        {"SWabc", "width is not a number"},
        {"SL1219,24", "media is missing"},
        {"SL1219,24,X", "media must be one of G C B"},
        {"SS5", "speed must be 0 to 4"},
        {"SD21", "density must be 0 to 20"},
        {"SOX", "SOT or SOB"},
        {"CS16,0", "character set must be 0 to 15"},
        {"P", "quantity is missing"},
        {"P1,", "copies is empty"},
        {"Pabc", "quantity is not a number"},
        {"P1,1,1", "unexpected field"},
    };
    for (const Case& c : cases) {
        const NativeCommand parsed = parseNativeCommand(c.line);
        const auto* error = std::get_if<CommandError>(&parsed);
        ASSERT_NE(error, nullptr) << c.line << " gave " << describe(parsed);
        EXPECT_NE(error->why.find(c.why), std::string::npos) << c.line << ": " << error->why;
    }
}

}  // namespace
}  // namespace velmora::sim
