// Pictures of ZII labels written as label software writes them: page size, decimal and spaced
// values, stored formats, graphics, shapes, fonts and barcodes, checked by their pixels and by a
// scanner.
#include <gtest/gtest.h>

#include "previewsupport.h"

namespace velmora::preview::test {
namespace {

RenderedLabel only(const std::string& text) {
    const LabelPictures p = render(text, Language::Zii);
    EXPECT_EQ(p.labels.size(), 1u) << text;
    return p.labels.empty() ? RenderedLabel{} : p.labels[0];
}

// Dark dots in [x0, x1) x [y0, y1).
int darkIn(const QImage& image, int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) n += isDark(image, x, y);
    return n;
}

TEST(ZiiPictures, PageFollowsLengthAndTheWidestHead) {
    const struct {
        std::string text;
        int width, height;
    } cases[] = {
        // A 160 mm label keeps its right side.
        {"^XA^PW1280^LL400^FO1200,10^GB70,70,70^FS^XZ", 1280, 400},
        // No ^LL: the printer's label length ...
        {"^XA^PW400^FO10,10^GB70,70,70^FS^XZ", 400, 1218},
        // ... and more when a field reaches below it.
        {"^XA^PW400^FO10,1300^GB70,70,70^FS^XZ", 400, 1370 + 2 * kDotsPerMm},
    };
    for (const auto& c : cases) {
        const RenderedLabel label = only(c.text);
        EXPECT_EQ(label.image.width(), c.width) << c.text;
        EXPECT_EQ(label.image.height(), c.height) << c.text;
        const Extent e = darkExtent(label.image);
        EXPECT_EQ(e.width(), 70) << c.text;
        EXPECT_EQ(e.height(), 70) << c.text;
    }
}

TEST(ZiiPictures, DecimalAndSpacedValuesPlaceTheirFields) {
    for (const std::string field : {"^FO100.9,50.2^GB40.5,30,30^FS", "^FO100,50 ^GB40,30,30 ^FS", "^FO 100 ,50^GB 40,30,30^FS"}) {
        const Extent e = darkExtent(only("^XA^PW400^LL200" + field + "^XZ").image);
        EXPECT_EQ(e.x0, 100) << field;
        EXPECT_EQ(e.y0, 50) << field;
        EXPECT_EQ(e.width(), 40) << field;
        EXPECT_EQ(e.height(), 30) << field;
    }
}

TEST(ZiiPictures, ShiftHomeAndLabelReverse) {
    // ^LS moves every field left; ^LR prints each one reversed over what lies below.
    const Extent shifted = darkExtent(only("^XA^PW400^LL200^LH20,0^LS15^FO100,50^GB10,10,10^FS^XZ").image);
    EXPECT_EQ(shifted.x0, 105);
    const QImage reversed = only("^XA^PW400^LL200^FO10,10^GB100,100,100^FS^LRY^FO50,50^GB100,100,100^FS^XZ").image;
    EXPECT_TRUE(isDark(reversed, 20, 20));
    EXPECT_FALSE(isDark(reversed, 70, 70)) << "black over black reverses to white";
    EXPECT_TRUE(isDark(reversed, 130, 130));
}

TEST(ZiiPictures, EveryFormatGivesAPicture) {
    // One left open at the end of the text, and one whose only field failed.
    for (const std::string& text : {std::string("^XA^PW200^LL100^FO10,10^GB20,20,20^FS"), std::string("^XA^PW200^LL100^FO10,10^XGR:NONE.GRF^FS^XZ")}) {
        const RenderedLabel label = only(text);
        EXPECT_EQ(label.image.width(), 200) << text;
        EXPECT_FALSE(label.notDrawn.empty()) << text;
    }
}

TEST(ZiiPictures, StoredFormatPrintsWithItsFieldsData) {
    const LabelPictures p = render(
        "^XA^DFR:BOX.ZPL^FS^FO10,10^GB50,50,50^FS^FO100,10^BCN,80,N^FN1^FS^XZ\r\n"
        "^XA^XFR:BOX.ZPL^FN1^FDVLM-42^FS^XZ\r\n",
        Language::Zii);
    ASSERT_EQ(p.labels.size(), 1u);
    EXPECT_TRUE(isDark(p.labels[0].image, 30, 30));
    const auto scans = scan(p.labels[0].image);
    ASSERT_EQ(scans.size(), 1u);
    EXPECT_EQ(scans[0].text, "VLM-42");
}

// The 16 x 4 dot graphic of every form below: row 0 its left half, row 1 its middle, rows 2 and 3
// whole.
void expectGraphic(const QImage& image, int x, int y, int scale, const std::string& what) {
    const auto row = [](int r, int c) { return r >= 2 || (r == 0 ? c < 8 : c >= 4 && c < 12); };
    for (int r = 0; r < 4 * scale; ++r)
        for (int c = 0; c < 16 * scale; ++c)
            ASSERT_EQ(isDark(image, x + c, y + r), row(r / scale, c / scale)) << what << " at " << c << "," << r;
    EXPECT_EQ(darkIn(image, 0, 0, image.width(), image.height()), 48 * scale * scale) << what;
}

TEST(ZiiPictures, GraphicFieldsInEveryForm) {
    const std::string forms[] = {
        "^GFA,16,8,2,FF000FF0FFFFFFFF",
        "^GFA,16,8,2,\r\nFF00\r\n0FF0\r\nFFFF\r\nFFFF\r\n",  // a row a line
        "^GFA,9,8,2,HF,0HF0!:",                              // the shorthand
        "^GFA,26,8,2,:Z64:eJz7z8D/4T8QAAAXAAX7:A597",
        "^GFA,24,8,2,:B64:/wAP8P////8=:F356",
        std::string("^GFB,8,8,2,\xff\x01\x0f\xf0\xff\xff\xff\xff", 19),
    };
    for (std::string form : forms) {
        if (form.starts_with("^GFB")) form[12] = '\0';  // a zero byte in binary data
        const RenderedLabel label = only("^XA^PW200^LL100^FO20,30" + form + "^FS^XZ\r\n");
        expectGraphic(label.image, 20, 30, 1, form);
        EXPECT_TRUE(label.notDrawn.empty()) << form;
    }
    // Repeat counts of twenty and more: 22 and 60 digits.
    const QImage wide = only("^XA^PW300^LL100^FO0,0^GFA,0,60,30,gHF,iF^FS^XZ").image;
    EXPECT_EQ(darkIn(wide, 0, 0, 240, 1), 88);
    EXPECT_EQ(darkIn(wide, 0, 1, 240, 2), 240);
    // ^FT places the graphic's bottom left.
    expectGraphic(only("^XA^PW200^LL100^FT20,34^GFA,16,8,2,FF000FF0FFFFFFFF^FS^XZ").image, 20, 30, 1, "^FT");
}

TEST(ZiiPictures, StoredGraphicsAreRecalledMagnified) {
    const RenderedLabel label = only("~DGR:LOGO.GRF,8,2,\r\nHF,0HF0!:\r\n^XA^PW200^LL100^FO20,30^XGR:LOGO.GRF,2,2^FS^XZ\r\n");
    expectGraphic(label.image, 20, 30, 2, "^XG");
    // One the printer does not hold is listed.
    const RenderedLabel missing = only("^XA^PW200^LL100^FO20,30^XGR:NONE.GRF^FS^FO0,0^GB5,5,5^FS^XZ");
    ASSERT_EQ(missing.notDrawn.size(), 1u);
    EXPECT_NE(missing.notDrawn[0].find("NONE.GRF"), std::string::npos);
}

TEST(ZiiPictures, CirclesEllipsesAndDiagonals) {
    const QImage circle = only("^XA^PW300^LL300^FO10,10^GC100,4,B^FS^XZ").image;
    EXPECT_TRUE(isDark(circle, 60, 11));
    EXPECT_TRUE(isDark(circle, 11, 60));
    EXPECT_FALSE(isDark(circle, 60, 60));
    EXPECT_FALSE(isDark(circle, 12, 12)) << "the corner of its square stays white";
    const QImage ellipse = only("^XA^PW300^LL300^FO10,10^GE200,100,100^FS^XZ").image;
    EXPECT_TRUE(isDark(ellipse, 110, 60));
    EXPECT_FALSE(isDark(ellipse, 12, 12));
    EXPECT_EQ(darkExtent(ellipse).width(), 200);
    for (const char lean : {'L', 'R'}) {
        const QImage line = only(std::string("^XA^PW300^LL300^FO10,10^GD100,100,6,B,") + lean + "^FS^XZ").image;
        const bool left = lean == 'L';
        EXPECT_TRUE(isDark(line, 13, left ? 12 : 107)) << lean;
        EXPECT_TRUE(isDark(line, 105, left ? 107 : 12)) << lean;
        EXPECT_FALSE(isDark(line, 105, left ? 12 : 107)) << lean;
        EXPECT_TRUE(isDark(line, 60, 60)) << lean;
    }
}

Extent textExtent(const std::string& field, std::vector<std::string>* listed = nullptr) {
    const RenderedLabel label = only("^XA^PW800^LL400" + field + "^FS^XZ");
    if (listed) *listed = label.notDrawn;
    return darkExtent(label.image);
}

TEST(ZiiPictures, ScalableFontCapitalsStandThreeQuartersOfTheHeight) {
    for (const std::string font : {"^A0N,28,28", "^A0,,28", "^A0N,28", "^CF0,28^A0N"}) {
        const Extent e = textExtent("^FO10,10" + font + "^FDHEH");
        EXPECT_NEAR(e.height(), 21, 1) << font;
        EXPECT_NEAR(e.y0, 11, 1) << font;
    }
    const Extent e = textExtent("^FO10,10^A0N,56,56^FDHEH");
    EXPECT_NEAR(e.height(), 42, 1);
    // The width stretches the characters alone.
    const int narrow = textExtent("^FO10,10^A0N,28,28^FDHEH").width(), wide = textExtent("^FO10,10^A0N,28,56^FDHEH").width();
    EXPECT_NEAR(wide, 2 * narrow, 2);
}

TEST(ZiiPictures, BitmapFontsFillTheirCells) {
    const struct {
        char font;
        int height, width, gap;  // the cell in dots
    } fonts[] = {{'A', 9, 5, 1},  {'B', 11, 7, 2}, {'D', 18, 10, 2}, {'E', 28, 15, 5},
                 {'H', 21, 13, 6}, {'P', 20, 18, 0}, {'V', 80, 71, 0}};
    for (const auto& f : fonts) {
        for (const int times : {1, 2}) {
            const std::string a = std::string("^FO10,10^A") + f.font + "N," + std::to_string(f.height * times) + "," +
                                  std::to_string(f.width * times) + "^FD";
            const Extent one = textExtent(a + "H"), two = textExtent(a + "HH");
            EXPECT_EQ(two.width() - one.width(), (f.width + f.gap) * times) << a;
            EXPECT_NEAR(one.height(), 0.75 * f.height * times, 1.5) << a;
            EXPECT_GE(one.y0, 10) << a;
        }
    }
}

TEST(ZiiPictures, FontsThePrinterLacksFallBackToTheDefaultFont) {
    const struct {
        std::string field;
        std::string like;        // drawn as this field
        std::string listed;      // "" when nothing is listed
    } cases[] = {
        {"^FO10,10^A1N,18,10^FDHEH", "^FO10,10^AAN,18,10^FDHEH", "font 1 drawn as font A"},
        {"^CFD^FO10,10^A1N,18,10^FDHEH", "^FO10,10^ADN,18,10^FDHEH", "font 1 drawn as font D"},
        {"^FO10,10^AdN,18,10^FDHEH", "^FO10,10^ADN,18,10^FDHEH", ""},
        {"^FO10,10^A@N,28,28,E:SWISS.TTF^FDHEH", "^FO10,10^A0N,28,28^FDHEH", "E:SWISS.TTF drawn as font 0"},
        {"^CWQ,E:SWISS.TTF^FO10,10^AQN,28,28^FDHEH", "^FO10,10^A0N,28,28^FDHEH", "E:SWISS.TTF drawn as font 0"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> listed;
        const Extent got = textExtent(c.field, &listed), want = textExtent(c.like);
        EXPECT_EQ(got.width(), want.width()) << c.field;
        EXPECT_EQ(got.height(), want.height()) << c.field;
        if (c.listed.empty()) {
            EXPECT_TRUE(listed.empty()) << c.field;
        } else {
            ASSERT_EQ(listed.size(), 1u) << c.field;
            EXPECT_NE(listed[0].find(c.listed), std::string::npos) << listed[0];
        }
    }
}

TEST(ZiiPictures, TypesetTextTurnsAboutItsBaseline) {
    const struct {
        char orientation;
        bool right, below;  // where the text lies from its origin (200, 200)
    } cases[] = {{'N', true, false}, {'R', true, true}, {'I', false, true}, {'B', false, false}};
    for (const auto& c : cases) {
        const Extent e = textExtent(std::string("^FT200,200^A0") + c.orientation + ",40,40^FDHELLO");
        ASSERT_GT(e.width(), 0) << c.orientation;
        EXPECT_GT(std::max(e.width(), e.height()), 80) << c.orientation;
        if (c.right) EXPECT_GE(e.x0, 198) << c.orientation; else EXPECT_LE(e.x1, 202) << c.orientation;
        if (c.below) EXPECT_GE(e.y0, 198) << c.orientation; else EXPECT_LE(e.y1, 202) << c.orientation;
    }
}

TEST(ZiiPictures, RightAlignedTextEndsAtItsOrigin) {
    const Extent left = textExtent("^FT300,100,0^A0N,40,40^FDHELLO"), right = textExtent("^FT300,100,1^A0N,40,40^FDHELLO");
    EXPECT_EQ(right.width(), left.width());
    EXPECT_NEAR(right.x1, 300, 3);
    EXPECT_EQ(right.y1, left.y1);
}

TEST(ZiiPictures, BlocksBreakJustifyAndCut) {
    // Two lines of a ^FB: the second one a line lower; centred in the block.
    const Extent two = textExtent("^FO10,10^A0N,40,40^FB600,2,0,C^FDHI\\&HI");
    const Extent one = textExtent("^FO10,10^A0N,40,40^FB600,2,0,C^FDHI");
    EXPECT_EQ(two.y1 - one.y1, 40);
    EXPECT_NEAR((one.x0 + one.x1) / 2, 10 + 300, 2);
    // A ^TB of one line's height keeps one line of the words that wrap.
    const Extent cut = textExtent("^FO10,10^A0N,40,40^TBN,120,40^FDHIHI HIHI HIHI");
    EXPECT_LE(cut.height(), 40);
    EXPECT_LE(cut.x1, 130);
}

TEST(ZiiPictures, CodePagesAndSymbols) {
    // e acute: two bytes in UTF-8, one in the printer's own page and in Windows-1252.
    const Extent utf8 = textExtent("^CI28^FO10,10^A0N,40,40^FD\xc3\xa9t\xc3\xa9");
    EXPECT_EQ(textExtent("^CI0^FO10,10^A0N,40,40^FD\x82t\x82").width(), utf8.width());
    EXPECT_EQ(textExtent("^CI27^FO10,10^A0N,40,40^FD\xe9t\xe9").width(), utf8.width());
    EXPECT_NE(textExtent("^CI0^FO10,10^A0N,40,40^FD\xe9t\xe9").width(), utf8.width());
    EXPECT_GT(textExtent("^FO10,10^GSN,40,40^FDABC").width(), 40);
}

}  // namespace
}  // namespace velmora::preview::test
