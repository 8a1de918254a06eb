// Composition of the builders' native command lines.
#include "tester/tavlcommands.h"

#include <cmath>
#include <cstdio>
#include <limits>

#include "ui/dataexchange.h"

namespace velmora::tester {

namespace {

// Real positions are written as whole dots, truncated toward zero. The dialogs refuse values
// beyond the integer range before they get here; the clamp keeps the conversion defined anyway.
int truncated(double v) {
    if (!(v > static_cast<double>(std::numeric_limits<int>::min()))) return std::numeric_limits<int>::min();
    if (!(v < static_cast<double>(std::numeric_limits<int>::max()))) return std::numeric_limits<int>::max();
    return static_cast<int>(std::trunc(v));
}

std::string num(int v) { return std::to_string(v); }
std::string pos(double v) { return std::to_string(truncated(v)); }
std::string quoted(const std::string& text) { return "'" + text + "'"; }

const char* pick(int index, std::initializer_list<const char*> items) {
    if (index < 0 || index >= static_cast<int>(items.size())) return "";
    return items.begin()[index];
}

}  // namespace

std::string composeBitmapText(const BitmapText& v) {
    return "T" + pos(v.x) + "," + pos(v.y) + "," + v.font + "," + num(v.hMulti) + "," + num(v.vMulti) + "," +
           num(v.rightSpace) + "," + num(v.rotation) + "," + v.reverse + "," + v.bold + "," + quoted(v.text);
}

std::string composeVectorText(const VectorText& v) {
    return "V" + pos(v.x) + "," + pos(v.y) + ",U," + num(v.width) + "," + num(v.height) + "," + num(v.fontSpace) +
           "," + pick(v.bold, {"N", "B"}) + "," + pick(v.reverse, {"N", "R"}) + "," + pick(v.italic, {"N", "I"}) +
           "," + num(v.rotation) + "," + pick(v.justification, {"R", "C", "L"}) + "," + num(v.direction) + "," +
           quoted(v.text);
}

std::string composeBarcode1D(const Barcode1D& v) {
    std::string line = "B1" + pos(v.x) + "," + pos(v.y) + "," + num(v.type) + "," + num(v.narrow) + "," +
                       num(v.wide) + "," + num(v.height) + "," + num(v.rotation) + "," + num(v.hri);
    if (v.quietZoneOn) line += "," + num(v.quietZone);
    return line + "," + quoted(v.data);
}

std::string composeBarcode2D(const Barcode2D& v) {
    std::string line = "B2" + pos(v.x) + "," + pos(v.y) + ",";
    switch (v.symbology) {
        case Symbology::Maxicode:
            // The list holds modes 0, 2, 3 and 4: there is no mode 1.
            return line + "M," + num(v.modeIndex > 0 ? v.modeIndex + 1 : 0) + "," + quoted(v.data);
        case Symbology::Pdf417:
            return line + "P," + num(v.maxRows) + "," + num(v.maxCols) + "," + num(v.eccIndex) + "," +
                   num(v.compression) + "," + num(v.hri) + "," + num(v.origin) + "," + num(v.moduleWidth) + "," +
                   num(v.barHeight) + "," + num(v.rotation) + "," + quoted(v.data);
        case Symbology::QrCode:
            return line + "Q," + num(v.modeIndex + 1) + "," + v.eccText + "," + num(v.barHeight) + "," +
                   num(v.rotation) + "," + quoted(v.data);
    }
    return line;
}

std::string maxicodeModeData(int modeIndex) {
    const std::string upper = "BAR CODE PRINTER NORVIK";
    switch (modeIndex) {
        case 1:
            return "999,840,06810,7317,THIS IS A TEST OF " + upper + " LABEL PRINTER. MODE 2 ENCODING.";
        case 2:
            return "999,840,06810,7317,THIS IS A TEST OF " + upper + " LABEL PRINTER. MODE 3 ENCODING.";
        case 3:
            return "THIS IS A 93 CHARACTER CODE SET A MESSAGE THAT FILLS A MODE 4,UNAPPENDED,MAXICODE SYMBOL...";
        default:
            return "999,840,06810,7317,THIS IS A TEST OF MODE 0 STRUCTURED CARRIER MESSAGE ENCODING.";
    }
}

std::string default2DData(Symbology s) {
    switch (s) {
        case Symbology::Maxicode: return maxicodeModeData(0);
        case Symbology::Pdf417: return std::string(kProductName) + " Label Printer, This is Test Printing.";
        case Symbology::QrCode: return "ABCDEFGHIJKLMN1234567890";
    }
    return {};
}

void chooseSymbology(Barcode2D& v, Symbology s) {
    switch (s) {
        case Symbology::Maxicode:
            v.modeIndex = 0;
            break;
        case Symbology::Pdf417:
            v.eccIndex = 0;
            v.rotation = 0;
            v.barHeight = 10;
            break;
        case Symbology::QrCode:
            v.eccIndex = 0;
            v.rotation = 0;
            v.barHeight = 4;
            v.modeIndex = 0;
            break;
    }
    v.symbology = s;
    v.data = default2DData(s);
}

void chooseMode(Barcode2D& v, int modeIndex) {
    if (v.symbology != Symbology::Pdf417) v.modeIndex = modeIndex;
    if (v.symbology == Symbology::Maxicode) v.data = maxicodeModeData(v.modeIndex);
}

std::string composeBlockDraw(const BlockDraw& v) {
    const bool withValue = v.type == 3 || v.type == 4;
    std::string line = "BD" + pos(v.startX) + "," + pos(v.startY) + "," + pos(v.endX) + "," + pos(v.endY) + "," +
                       pick(v.type, {"O", "E", "D", "S", "B"});
    if (withValue) line += "," + num(v.optional);
    return line;
}

void chooseBlockType(BlockDraw& v, int type) {
    v.type = type;
    const bool s = type == 3;
    v.endY = s ? 300 : 120;
    v.optional = s ? 10 : 20;
}

double dotsPerUnit(Unit unit) {
    switch (unit) {
        case Unit::Inch: return 25.4 * 8;
        case Unit::Mm: return 8;
        case Unit::Dots: return 1;
    }
    return 1;
}

double convertLabelValue(double value, Unit from, Unit to) {
    if (from == to) return value;
    // The factors of the unit table, applied in its order so the shown values match it.
    switch (from) {
        case Unit::Inch: return to == Unit::Mm ? value * 25.4 : value * 25.4 * 8;
        case Unit::Mm: return to == Unit::Inch ? value / 25.4 : value * 8;
        case Unit::Dots: return to == Unit::Inch ? value * 0.125 / 25.4 : value * 0.125;
    }
    return value;
}

std::optional<int> toDots(double value, Unit unit) {
    double product = value;
    if (unit == Unit::Inch) product = value * 25.4 * 8;
    if (unit == Unit::Mm) product = value * 8;
    const float single = static_cast<float>(product);
    const double t = std::trunc(static_cast<double>(single));
    if (!std::isfinite(t) || t < std::numeric_limits<int>::min() || t > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(t);
}

std::vector<std::string> composeLabelSetting(const LabelSettingValues& v) {
    auto dots = [&](double value) { return num(toDots(value, v.unit).value_or(0)); };
    std::vector<std::string> lines;
    if (v.widthOn) lines.push_back("SW" + dots(v.width));
    if (v.lengthOn) lines.push_back("SL" + dots(v.length) + pick(v.media, {",24,G", ",0,C", ",24,B"}));
    if (v.marginsOn) lines.push_back("SM" + dots(v.xMargin) + "," + dots(v.yMargin));
    return lines;
}

void chooseUnit(LabelSettingValues& v, Unit to) {
    for (double* value : {&v.width, &v.length, &v.xMargin, &v.yMargin}) *value = convertLabelValue(*value, v.unit, to);
    v.unit = to;
}

std::vector<std::string> composePrintingSetting(const PrintingSettingValues& v) {
    std::vector<std::string> lines;
    if (v.speedOn) lines.push_back("SS" + num(v.speed));
    if (v.densityOn) lines.push_back("SD" + num(v.density));
    if (v.directionOn) lines.push_back(v.direction == 0 ? "SOT" : "SOB");
    return lines;
}

std::string printingSettingTestPrint(const PrintingSettingValues& v) {
    const std::string t = "T100,";
    const std::string font = ",3,1,1,0,0,N,N,'";
    std::vector<std::string> lines = {t + "100" + font + "Printer Setting Test'",
                                      t + "150" + font + "============================='"};
    if (v.speedOn) {
        lines.push_back(t + "200" + font + "Printing Speed     : " + pick(v.speed, {"2.5", "3.0", "4.0", "5.0", "6.0"}) +
                        " ips'");
        lines.push_back("SS" + num(v.speed));
    }
    if (v.densityOn) {
        lines.push_back(t + "250" + font + "Density(0~20)      : " + num(v.density) + "'");
        lines.push_back("SD" + num(v.density));
    }
    if (v.directionOn) {
        const std::string dir = v.direction == 0 ? "SOT" : "SOB";
        lines.push_back(t + "300" + font + "Printing Direction : " + dir + "'");
        lines.push_back(dir);
    }
    lines.push_back(t + "350" + font + "============================='");
    lines.push_back("BD150,500,495,750,B,15");
    lines.push_back("BD200,550,300,700,S,30");
    lines.push_back("BD430,550,330,700,S,30");
    lines.push_back("");
    lines.push_back("P1");
    return joinLines(lines, "\r");
}

std::string composeCopies(int quantity, int copies) { return "P" + num(quantity) + "," + num(copies); }

std::string testPrintText(const std::string& line) { return line + "\rP1\r"; }

namespace {
constexpr int kFontWidth[] = {8, 10, 14, 17, 20, 28, 40};
constexpr int kFontHeight[] = {13, 18, 22, 26, 35, 44, 70};
constexpr double kReach = 10000;  // distances beyond this are no match

double distance(double w, double h, int f, int m, int n) {
    const double dw = w - kFontWidth[f] * m;
    const double dh = h - kFontHeight[f] * n;
    return dw * dw + dh * dh;
}
}  // namespace

std::optional<FontChoice> findMostSimilarFont(double w, double h) {
    std::optional<FontChoice> best;
    double bestDistance = kReach;
    for (int f = 0; f <= 6; ++f)
        for (int m = 1; m <= 4; ++m)
            for (int n = 1; n <= 4; ++n)
                if (const double d = distance(w, h, f, m, n); d <= bestDistance) {  // later ties win
                    best = FontChoice{f, m, n};
                    bestDistance = d;
                }
    return best;
}

std::optional<FontChoice> findSimilarRoundFont(double w, double h) {
    const auto similar = findMostSimilarFont(w, h);
    if (!similar) return std::nullopt;
    std::optional<FontChoice> best;
    double bestDistance = kReach;
    for (int f = similar->font; f <= 6; ++f)
        for (int m = 1; m <= 4; ++m)
            for (int n = 1; n <= 4; ++n) {
                const double d = distance(w, h, f, m, n);
                if (d <= bestDistance && f > similar->font && m < similar->xMulti && n < similar->yMulti) {
                    best = FontChoice{f, m, n};
                    bestDistance = d;
                }
            }
    return best;
}

std::string fontComparisonText(const FontChoice& s, const FontChoice& r) {
    auto sample = [](const char* at, const FontChoice& c) {
        return std::string("T50,") + at + "," + num(c.font) + "," + num(c.xMulti) + "," + num(c.yMulti) +
               ",0,0,N,N,'TEST148'\r";
    };
    return "SL600,0,C\r" + sample("50", s) + sample("350", r) + "P1\r";
}

float convertUnit(int direction, float input) {
    // Worked in double and rounded once: a single-precision 25.4 is off in its eighth digit,
    // enough to change the sixth digit shown for about one input in a hundred.
    const double x = input;
    switch (direction) {
        case 0: return static_cast<float>(x * 25.4);
        case 1: return static_cast<float>(x * 25.4 * 8);
        case 2: return static_cast<float>(x * 0.125 / 25.4);
        case 3: return static_cast<float>(x * 0.125);
        case 4: return static_cast<float>(x / 25.4);
        case 5: return static_cast<float>(x * 8);
        default: return input;
    }
}

std::string formatSingle(float value) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.*g", std::numeric_limits<float>::digits10, static_cast<double>(value));
    return buf;
}

std::optional<float> parseSingle(const std::string& text) {
    double v = 0;
    if (!ui::parseNumber(text, v) || v > 3.4e38 || v < -3.4e38) return std::nullopt;
    return static_cast<float>(v);
}

std::string joinLines(const std::vector<std::string>& lines, std::string_view end) {
    std::string out;
    for (const auto& l : lines) {
        out += l;
        out += end;
    }
    return out;
}

}  // namespace velmora::tester
