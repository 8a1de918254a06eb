// Native label command lines as the tester's builders compose them: each a plain function of the
// builder's values, so every field order, comma and quote is pinned by tables of examples.
// Lines are returned without their line end; the tester adds CR LF, a test print CR.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::tester {

// The product name the sample texts are made of.
inline constexpr const char* kProductName = "Bar Code Printer Norvik";

// "T" bitmap text.
struct BitmapText {
    double x = 20, y = 20;
    std::string font = "3";
    int hMulti = 1, vMulti = 1, rightSpace = 0;
    int rotation = 0;  // list index 0..3 for 0, 90, 180, 270
    std::string reverse = "N", bold = "N";
    std::string text = std::string(kProductName) + " Label Printer";
};
std::string composeBitmapText(const BitmapText& v);

// "V" vector text.
struct VectorText {
    double x = 20, y = 20;
    int width = 35, height = 35, fontSpace = 1;
    int bold = 0, reverse = 0, italic = 0, rotation = 0;
    int justification = 2;  // 0 Right, 1 Center, 2 Left
    int direction = 0;      // 0 left to right, 1 right to left
    std::string text = std::string(kProductName) + " Label Printer";
};
std::string composeVectorText(const VectorText& v);

// "B1" linear barcode.
struct Barcode1D {
    double x = 100, y = 100;
    int type = 0, narrow = 2, wide = 7, height = 100, rotation = 0, hri = 1;
    bool quietZoneOn = false;
    int quietZone = 12;
    std::string data = "123456789";
};
std::string composeBarcode1D(const Barcode1D& v);

// "B2" two-dimensional barcode.
enum class Symbology { Maxicode = 0, Pdf417 = 1, QrCode = 2 };
struct Barcode2D {
    double x = 100, y = 100;
    Symbology symbology = Symbology::Maxicode;
    int modeIndex = 0;         // Maxicode "Mode 0/2/3/4", QR Code "Model 1/2"
    int maxRows = 30, maxCols = 5;
    int eccIndex = 0;          // PDF417 level 0..8
    std::string eccText = "L"; // QR Code letter
    int compression = 0, hri = 1, origin = 1, moduleWidth = 3, barHeight = 10, rotation = 0;
    std::string data;
};
std::string composeBarcode2D(const Barcode2D& v);
// The sample data each symbology starts with, and Maxicode's per mode (list index 0..3).
std::string default2DData(Symbology s);
std::string maxicodeModeData(int modeIndex);
inline constexpr const char* kMaxicodeOpeningData =
    "999,840,06810,7317,THIS IS A TEST OF MODE 0 STRUCTURED CARRIER MESSAGE ENCODING. THIS IS AN 84 CHAR MSG";

// The position range of the text builder's boxes.
inline constexpr double kTextPositionMax = 999;

// The 2D builder's lists that follow the symbology.
inline const std::vector<std::string> kMaxicodeModes = {"Mode 0", "Mode 2", "Mode 3", "Mode 4"};
inline const std::vector<std::string> kQrModels = {"Model 1", "Model 2"};
inline const std::vector<std::string> kPdf417EccLevels = {"0", "1", "2", "3", "4", "5", "6", "7", "8"};
inline const std::vector<std::string> kQrEccLevels = {"L", "M", "Q", "H"};
// A symbology chosen anew starts from its defaults: mode, error correction, rotation, bar
// height and sample data.
void chooseSymbology(Barcode2D& v, Symbology s);
// A mode chosen (Maxicode, QR Code; PDF417 has none): Maxicode's sample data follows it.
void chooseMode(Barcode2D& v, int modeIndex);

// "BD" line and box.
struct BlockDraw {
    double startX = 100, startY = 100, endX = 800, endY = 120;
    int type = 0;  // 0 "O", 1 "E", 2 "D", 3 "S", 4 "B"
    int optional = 20;
};
inline constexpr const char* kBlockTypes[] = {"O", "E", "D", "S", "B"};
std::string composeBlockDraw(const BlockDraw& v);
// A type chosen: "S" draws to end y 300 with value 10, every other type to 120 with 20.
void chooseBlockType(BlockDraw& v, int type);

// Label width, length and margins ("SW", "SL", "SM").
enum class Unit { Inch = 0, Mm = 1, Dots = 2 };
struct LabelSettingValues {
    Unit unit = Unit::Inch;
    bool widthOn = true, lengthOn = true, marginsOn = true;
    double width = 4, length = 6, xMargin = 0.2, yMargin = 0.2;
    int media = 0;  // 0 gap, 1 continuous, 2 black mark
};
// Dots per unit: a value times this, rounded to single precision and truncated, is dots.
double dotsPerUnit(Unit unit);
// A value in `from` expressed in `to`, as the unit buttons convert it.
double convertLabelValue(double value, Unit from, Unit to);
// The value in whole dots; nothing when it does not fit the command's integer.
std::optional<int> toDots(double value, Unit unit);
std::vector<std::string> composeLabelSetting(const LabelSettingValues& v);
// The unit chosen: the four values converted from the current unit, which it becomes.
void chooseUnit(LabelSettingValues& v, Unit to);

// Speed, density and direction ("SS", "SD", "SOT"/"SOB").
struct PrintingSettingValues {
    bool speedOn = true, densityOn = true, directionOn = true;
    int speed = 3;    // 0..4 for 2.5, 3.0, 4.0, 5.0, 6.0 ips
    int density = 20; // 0..20
    int direction = 0;
};
inline constexpr const char* kSpeedNames[] = {"2.5 ips", "3.0 ips", "4.0 ips", "5.0 ips", "6.0 ips"};
std::vector<std::string> composePrintingSetting(const PrintingSettingValues& v);
// The whole test label of the printing setting builder, lines ended by CR.
std::string printingSettingTestPrint(const PrintingSettingValues& v);

// "P" quantity "," copies.
std::string composeCopies(int quantity, int copies);

// A command line followed by CR, "P1", CR: one label with the one command.
std::string testPrintText(const std::string& line);

// Font finder: the bitmap fonts' character cells, and the two searches.
struct FontChoice {
    int font = 0, xMulti = 1, yMulti = 1;
    bool operator==(const FontChoice&) const = default;
};
// Closest font and multipliers for a wanted size in dots; nothing when none is within reach.
std::optional<FontChoice> findMostSimilarFont(double widthDots, double heightDots);
// A larger font with smaller multipliers at about the same size; nothing when there is none.
std::optional<FontChoice> findSimilarRoundFont(double widthDots, double heightDots);
// The comparison label: both results printed on a 600-dot continuous label.
std::string fontComparisonText(const FontChoice& similar, const FontChoice& round);

// Unit converter: the six directions, in single precision, and how the result is shown.
struct ConvertDirection {
    const char* from;
    const char* to;
};
inline constexpr ConvertDirection kConvertDirections[6] = {{"inch", "mm"},  {"inch", "dots"}, {"dots", "inch"},
                                                          {"dots", "mm"},  {"mm", "inch"},   {"mm", "dots"}};
float convertUnit(int direction, float value);
std::string formatSingle(float value);
// The converter's input as a single-precision number; nothing for text that is none or beyond
// the single range.
std::optional<float> parseSingle(const std::string& text);

// Lines joined, each followed by `end`.
std::string joinLines(const std::vector<std::string>& lines, std::string_view end);

}  // namespace velmora::tester
