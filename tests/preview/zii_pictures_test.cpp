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

}  // namespace
}  // namespace velmora::preview::test
