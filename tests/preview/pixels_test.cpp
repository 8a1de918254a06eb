// Pixel facts of the label pictures: sizes, box edges, rotation, reverse print, stored images,
// and what a malformed label leaves in the not-drawn list.
#include <gtest/gtest.h>

#include "previewsupport.h"

namespace velmora::preview::test {
namespace {

RenderedLabel only(const LabelPictures& p) {
    EXPECT_EQ(p.labels.size(), 1u);
    return p.labels.empty() ? RenderedLabel{} : p.labels[0];
}

TEST(PreviewPixels, LabelSizeIsTheFormatsInDots) {
    const struct {
        std::string text;
        int width, height;
    } cases[] = {
        {"SW812\r\nSL1218\r\nT10,10,3,1,1,0,0,N,N,'4 x 6'\r\nP1\r\n", 812, 1218},
        {"^XA^PW812^LL1218^FO10,10^A0N,30,30^FD4 x 6^FS^XZ", 812, 1218},
        {"^XA^PW400^LL200^FO10,10^A0N,30,30^FDsmall^FS^XZ", 400, 200},
        // No length: as long as the content and a margin.
        {"SW600\r\nBD0,0,100,300,O\r\nP1\r\n", 600, 300 + 2 * kDotsPerMm},
        // Larger than the printer: the printer's widest and longest.
        {"SW5000\r\nSL90000\r\nBD0,0,10,10,O\r\nP1\r\n", kMaxWidthDots, kMaxLengthDots},
    };
    for (const auto& c : cases) {
        const RenderedLabel label = only(render(c.text));
        EXPECT_EQ(label.image.width(), c.width) << c.text;
        EXPECT_EQ(label.image.height(), c.height) << c.text;
        const QImage decoded = QImage::fromData(QByteArray::fromStdString(pngBytes(label.image)), "PNG");
        EXPECT_EQ(decoded.size(), label.image.size()) << c.text;
    }
}

// A box of 100 x 50 dots with a 4-dot line: dark exactly on its four edges.
TEST(PreviewPixels, BoxEdgesAreExact) {
    const struct {
        std::string text;
        int x, y;  // top left of the box on the label
    } cases[] = {
        {"SW400\r\nSL200\r\nBD40,30,140,80,B,4\r\nP1\r\n", 40, 30},
        {"SW400\r\nSL200\r\nSM8,16\r\nBD40,30,140,80,B,4\r\nP1\r\n", 48, 46},
        {"^XA^PW400^LL200^FO40,30^GB100,50,4^FS^XZ", 40, 30},
        {"^XA^PW400^LL200^LH10,20^FO40,30^GB100,50,4^FS^XZ", 50, 50},
    };
    for (const auto& c : cases) {
        const QImage image = only(render(c.text)).image;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const int bx = x - c.x, by = y - c.y;
                const bool inside = bx >= 0 && bx < 100 && by >= 0 && by < 50;
                const bool edge = inside && (bx < 4 || bx >= 96 || by < 4 || by >= 46);
                ASSERT_EQ(isDark(image, x, y), edge) << c.text << " at " << x << "," << y;
            }
        }
    }
}

TEST(PreviewPixels, ShapesFillInvertAndClear) {
    // A filled bar, a part of it cleared, and an inverted area across both.
    const QImage image = only(render("SW300\r\nSL100\r\nBD10,10,110,30,O\r\nBD20,10,40,30,D\r\n"
                                     "BD100,20,150,40,E\r\nP1\r\n"))
                             .image;
    EXPECT_TRUE(isDark(image, 10, 10));
    EXPECT_FALSE(isDark(image, 25, 20));   // cleared
    EXPECT_FALSE(isDark(image, 105, 25));  // black inverted to white
    EXPECT_TRUE(isDark(image, 120, 25));   // white inverted to black
    EXPECT_FALSE(isDark(image, 120, 45));
}

TEST(PreviewPixels, RotationSwapsTheTextsExtent) {
    const std::string texts[] = {"T100,100,3,1,1,0,ROT,N,N,'VELMORA'\r\nP1\r\n",
                                 "V100,100,U,40,40,0,N,N,N,ROT,L,0,'VELMORA'\r\nP1\r\n",
                                 "^XA^FO100,100^A0ROT,40,40^FDVELMORA^FS^XZ"};
    for (const std::string& t : texts) {
        const bool zii = t[0] == '^';
        const auto with = [&](const char* rotation) {
            std::string s = t;
            s.replace(s.find("ROT"), 3, rotation);
            return darkExtent(only(render("SW600\r\nSL600\r\n" + s)).image);
        };
        const Extent upright = with(zii ? "N" : "0");
        const Extent turned = with(zii ? "R" : "1");
        ASSERT_GT(upright.width(), 2 * upright.height()) << t;
        EXPECT_NEAR(turned.width(), upright.height(), 2) << t;
        EXPECT_NEAR(turned.height(), upright.width(), 2) << t;
    }
}

TEST(PreviewPixels, BitmapTextFillsItsCells) {
    // Font 3 is 17 x 26 dots; multipliers 2 and 3 make 34 x 78 cells. The text stays in its cells.
    const Extent e = darkExtent(only(render("SW812\r\nSL400\r\nT50,40,3,2,3,0,0,N,N,'MMMM'\r\nP1\r\n")).image);
    EXPECT_GE(e.x0, 50);
    EXPECT_LE(e.x1, 50 + 4 * 34);
    EXPECT_GT(e.width(), 3 * 34);
    EXPECT_GE(e.y0, 40);
    EXPECT_LE(e.y1, 40 + 78);
    EXPECT_GT(e.height(), 78 / 2);
}

TEST(PreviewPixels, ReversePrintIsWhiteOnBlack) {
    const QImage plain = only(render("SW400\r\nSL200\r\nT20,20,3,1,1,0,0,N,N,'AB'\r\nP1\r\n")).image;
    const QImage reverse = only(render("SW400\r\nSL200\r\nT20,20,3,1,1,0,0,R,N,'AB'\r\nP1\r\n")).image;
    const QImage zii = only(render("^XA^PW400^LL200^FO20,20^GB60,40,40^FS^FO20,20^FR^A0N,40,40^FDAB^FS^XZ")).image;
    int inverted = 0, ink = 0;
    for (int y = 20; y < 20 + 26; ++y)
        for (int x = 20; x < 20 + 34; ++x) {
            EXPECT_NE(isDark(plain, x, y), isDark(reverse, x, y)) << x << "," << y;
            ink += isDark(plain, x, y);
        }
    for (int y = 20; y < 60; ++y)
        for (int x = 20; x < 80; ++x) inverted += !isDark(zii, x, y);
    EXPECT_GT(ink, 20);
    EXPECT_GT(inverted, 20);  // the reversed text shows white inside the black box
}

// A 1-bit PCX of 16 x 8 dots: a checker of 8-dot squares, left half dark, run-length encoded.
std::string checkerPcx(int bits) {
    std::string h(128, '\0');
    h[0] = 0x0A;
    h[1] = 5;
    h[2] = 1;
    h[3] = static_cast<char>(bits);
    h[8] = 15;   // xmax
    h[10] = 7;   // ymax
    h[65] = 1;
    const int bytesPerLine = bits == 1 ? 2 : 16;
    h[66] = static_cast<char>(bytesPerLine);
    std::string data;
    for (int y = 0; y < 8; ++y) {
        if (bits == 1) {
            data += '\x00';  // 8 dark (0 is black in an empty palette)
            data += "\xC1\xFF";  // 8 light: a byte of two high bits goes as a run of one
        } else {
            data += "\xC8";
            data += '\x00';
            data += "\xC8";
            data += '\xFF';
        }
    }
    if (bits == 8) {
        data += '\x0C';
        for (int i = 0; i < 256; ++i) data += std::string(3, static_cast<char>(i));
    }
    return h + data;
}

TEST(PreviewPixels, StoredPcxImagesAreDrawn) {
    for (int bits : {1, 8}) {
        const std::string pcx = checkerPcx(bits);
        const std::string text = "IS" + std::to_string(pcx.size()) + ",'LOGO'" + pcx + "SW200\r\nSL100\r\nIR30,40,'LOGO'\r\nP1\r\n";
        const RenderedLabel label = only(render(text));
        EXPECT_TRUE(label.notDrawn.empty()) << bits << ": " << label.notDrawn.front();
        const Extent e = darkExtent(label.image);
        EXPECT_EQ(e.x0, 30) << bits;
        EXPECT_EQ(e.y0, 40) << bits;
        EXPECT_EQ(e.width(), 8) << bits;
        EXPECT_EQ(e.height(), 8) << bits;
    }
}

TEST(PreviewMalformed, DrawsWhatItCanAndListsTheRest) {
    const struct {
        std::string text;
        std::vector<std::string> listed;  // words each not-drawn line must hold, in order
    } cases[] = {
        // A line missing fields, an unknown command and a missing image around a good box.
        {"SW200\r\nSL100\r\nT10,10\r\nXYZZY\r\nBD10,10,50,50,O\r\nIR0,0,'NONE'\r\nP1\r\n",
         {"T10,10", "NONE"}},
        // A barcode libzint refuses and a two-byte font.
        {"SW200\r\nSL100\r\nBD10,10,50,50,O\r\nB110,10,7,2,4,50,0,0,'not digits'\r\nT0,0,a,1,1,0,0,N,N,'x'\r\nP1\r\n",
         {"B1", "T0,0"}},
        // ZII: a command the preview does not draw, a symbol taller than any label, an unknown font,
        // and a box far larger than the label (drawn, cut at the label's edge).
        {"^XA^PW200^LL100^FO10,10^GB40,40,40^FS^XYZ1^FO0,0^BY2,3,30000^BCN^FDTALL^FS"
         "^FO0,0^AZN,20,20^FDzz^FS^FO60,0^GB99999,99999,99999^FS^XZ",
         {"^XYZ", "^BC", "font Z"}},
    };
    for (const auto& c : cases) {
        const RenderedLabel label = only(render(c.text));
        EXPECT_TRUE(isDark(label.image, 20, 20)) << c.text;  // the good box is there
        std::string all;
        for (const std::string& line : label.notDrawn) all += line + "\n";
        ASSERT_GE(label.notDrawn.size(), c.listed.size()) << all;
        std::size_t at = 0;
        for (const std::string& word : c.listed) {
            while (at < label.notDrawn.size() && label.notDrawn[at].find(word) == std::string::npos) ++at;
            EXPECT_LT(at, label.notDrawn.size()) << word << " not listed in\n" << all;
        }
    }
}

TEST(PreviewMalformed, ListIsBoundedAndImageTooLargeIsRefused) {
    std::string many = "SW200\r\nSL100\r\n";
    for (int i = 0; i < 900; ++i) many += "T0,0,z,1,1,0,0,N,N,'x'\r\n";
    many += "P1\r\n";
    const RenderedLabel label = only(render(many));
    EXPECT_LE(label.notDrawn.size(), 201u);
    EXPECT_NE(label.notDrawn.back().find("more"), std::string::npos);

    std::string pcx = checkerPcx(1);
    pcx[8] = '\xFF';
    pcx[9] = '\x7F';  // 32768 dots wide: refused before any allocation
    const RenderedLabel huge = only(render("IS" + std::to_string(pcx.size()) + ",'BIG'" + pcx + "IR0,0,'BIG'\r\nP1\r\n"));
    ASSERT_EQ(huge.notDrawn.size(), 1u);
    EXPECT_NE(huge.notDrawn[0].find("does not fit"), std::string::npos);
}

TEST(PreviewText, LanguageIsDetectedAndChosen) {
    const std::string both = "BD0,0,10,10,O\r\nP1\r\n^XA^FO0,0^GB10,10,10^FS^XZ\r\n";
    EXPECT_EQ(detectLanguage("^XA^FDx^XZ"), Language::Zii);
    EXPECT_EQ(detectLanguage("BD0,0,10,10,O\r\nP1\r\n"), Language::Native);
    EXPECT_EQ(render(both, Language::Native).labels.size(), 1u);
    EXPECT_EQ(render(both, Language::Zii).labels.size(), 1u);
    // A native label without its "P" is still shown, and says so.
    const LabelPictures unprinted = render("SW100\r\nBD0,0,10,10,O");
    ASSERT_EQ(unprinted.labels.size(), 1u);
    EXPECT_NE(unprinted.labels[0].notDrawn.back().find("not printed"), std::string::npos);
}

}  // namespace
}  // namespace velmora::preview::test
