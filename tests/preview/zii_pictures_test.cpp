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

}  // namespace
}  // namespace velmora::preview::test
