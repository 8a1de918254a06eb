// Every barcode the preview draws must scan: zxing-cpp reads the rendered picture and the text it
// decodes must be the data that was sent.
#include <gtest/gtest.h>

#include "previewsupport.h"

namespace velmora::preview::test {
namespace {

using ZXing::BarcodeFormat;

struct Case {
    const char* name;
    std::string text;  // the label as sent
    BarcodeFormat format;
    std::string expected;  // what a scanner reads
};

std::ostream& operator<<(std::ostream& os, const Case& c) { return os << c.name; }

const Case kCases[] = {
    // Native "B1" types 0 to 9 and "B2" symbols.
    {"native_code39", "SW812\r\nSL400\r\nB160,60,0,3,6,120,0,1,'VELMORA-39'\r\nP1\r\n", BarcodeFormat::Code39, "VELMORA-39"},
    {"native_code128", "B160,60,1,3,6,120,0,1,'Velmora 128'\r\nP1\r\n", BarcodeFormat::Code128, "Velmora 128"},
    {"native_i2of5", "B160,60,2,3,6,120,0,0,'12345678'\r\nP1\r\n", BarcodeFormat::ITF, "12345678"},
    {"native_codabar", "B160,60,3,3,6,120,0,0,'A40156B'\r\nP1\r\n", BarcodeFormat::Codabar, "40156"},
    {"native_code93", "B160,60,4,3,6,120,0,0,'CODE93 TEST'\r\nP1\r\n", BarcodeFormat::Code93, "CODE93 TEST"},
    {"native_upca", "B160,60,5,3,6,120,0,1,'01234567890'\r\nP1\r\n", BarcodeFormat::UPCA, "012345678905"},
    {"native_upce", "B160,60,6,3,6,120,0,1,'0123456'\r\nP1\r\n", BarcodeFormat::UPCE, "01234565"},
    {"native_ean13", "B160,60,7,3,6,120,0,1,'590123412345'\r\nP1\r\n", BarcodeFormat::EAN13, "5901234123457"},
    {"native_ean8", "B160,60,8,3,6,120,0,1,'9638507'\r\nP1\r\n", BarcodeFormat::EAN8, "96385074"},
    {"native_ucc_ean128", "B160,60,9,3,6,120,0,1,'(01)09501101530003'\r\nP1\r\n", BarcodeFormat::Code128,
     "0109501101530003"},
    {"native_code128_rotated", "B1300,60,1,3,6,120,1,0,'TURNED'\r\nP1\r\n", BarcodeFormat::Code128, "TURNED"},
    {"native_qr", "B2100,100,Q,2,M,6,0,'https://velmora.example/label?id=42'\r\nP1\r\n", BarcodeFormat::QRCode,
     "https://velmora.example/label?id=42"},
    {"native_qr_rotated", "B2400,400,Q,2,H,5,2,'upside down'\r\nP1\r\n", BarcodeFormat::QRCode, "upside down"},
    {"native_pdf417", "B260,100,P,10,5,2,0,0,0,3,9,0,'PDF417 on a Velmora label'\r\nP1\r\n", BarcodeFormat::PDF417,
     "PDF417 on a Velmora label"},
    // ZII ^B commands.
    {"zii_bc", "^XA^FO50,50^BY3^BCN,120,Y,N,N^FDZII-128 data^FS^XZ", BarcodeFormat::Code128, "ZII-128 data"},
    {"zii_bc_subset_c", "^XA^FO50,50^BY2^BCN,100,N^FD>;1234567890^FS^XZ", BarcodeFormat::Code128, "1234567890"},
    {"zii_bc_rotated", "^XA^FO50,50^BY2^BCR,100,N^FDSIDEWAYS^FS^XZ", BarcodeFormat::Code128, "SIDEWAYS"},
    {"zii_b3", "^XA^FO50,50^BY2^B3N,N,100,Y,N^FDCODE 39^FS^XZ", BarcodeFormat::Code39, "CODE 39"},
    {"zii_ba", "^XA^FO50,50^BY2^BAN,100,Y,N,N^FDCODE93^FS^XZ", BarcodeFormat::Code93, "CODE93"},
    {"zii_be", "^XA^FO50,50^BY3^BEN,100,Y,N^FD590123412345^FS^XZ", BarcodeFormat::EAN13, "5901234123457"},
    {"zii_b8", "^XA^FO50,50^BY3^B8N,100,Y,N^FD9638507^FS^XZ", BarcodeFormat::EAN8, "96385074"},
    {"zii_bu", "^XA^FO50,50^BY3^BUN,100,Y,N,Y^FD01234567890^FS^XZ", BarcodeFormat::UPCA, "012345678905"},
    {"zii_b9", "^XA^FO50,50^BY3^B9N,100,Y,N,Y^FD0123456^FS^XZ", BarcodeFormat::UPCE, "01234565"},
    {"zii_b2", "^XA^FO50,50^BY3^B2N,100,Y,N,N^FD12345678^FS^XZ", BarcodeFormat::ITF, "12345678"},
    {"zii_bk", "^XA^FO50,50^BY3^BKN,N,100,Y,N,A,B^FD40156^FS^XZ", BarcodeFormat::Codabar, "40156"},
    {"zii_bq", "^XA^FO100,100^BQN,2,6^FDMA,ZII QR 0123^FS^XZ", BarcodeFormat::QRCode, "ZII QR 0123"},
    {"zii_b7", "^XA^FO50,50^BY2^B7N,6,3,6^FDZII PDF417^FS^XZ", BarcodeFormat::PDF417, "ZII PDF417"},
    {"zii_bx", "^XA^FO100,100^BXN,8,200^FDDATA MATRIX 42^FS^XZ", BarcodeFormat::DataMatrix, "DATA MATRIX 42"},
    {"zii_fh", "^XA^FO50,50^BY3^BCN,100,N^FH^FDA_5FB^FS^XZ", BarcodeFormat::Code128, "A_B"},
};

class Scans : public ::testing::TestWithParam<Case> {};

TEST_P(Scans, DecodesToTheDataSent) {
    const Case& c = GetParam();
    const LabelPictures pictures = render(c.text);
    ASSERT_EQ(pictures.labels.size(), 1u);
    const RenderedLabel& label = pictures.labels[0];
    EXPECT_TRUE(label.notDrawn.empty()) << label.notDrawn.front();
    std::vector<Scan> found = scan(label.image);
    if (found.empty()) {
        // zxing-cpp 1.4 finds a Data Matrix on a large page only when aimed at: cut the symbol out.
        const Extent e = darkExtent(label.image);
        found = scan(label.image.copy(e.x0 - 20, e.y0 - 20, e.width() + 40, e.height() + 40), true);
    }
    ASSERT_EQ(found.size(), 1u) << "no or several barcodes read";
    EXPECT_EQ(found[0].format, c.format);
    EXPECT_EQ(found[0].text, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Preview, Scans, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// MaxiCode is read only as a pure symbol: cut it out of the label first.
TEST(PreviewMaxiCode, NativeAndZiiScan) {
    const struct {
        std::string text;
        std::string message;
    } cases[] = {
        {"B2100,100,M,4,'VELMORA MAXICODE'\r\nP1\r\n", "VELMORA MAXICODE"},
        {"^XA^FO100,100^BD4^FDZII MAXICODE^FS^XZ", "ZII MAXICODE"},
    };
    for (const auto& c : cases) {
        const LabelPictures pictures = render(c.text);
        ASSERT_EQ(pictures.labels.size(), 1u);
        const QImage& image = pictures.labels[0].image;
        const Extent e = darkExtent(image);
        ASSERT_GT(e.width(), 200);
        const QImage symbol = image.copy(e.x0 - 10, e.y0 - 10, e.width() + 20, e.height() + 20);
        const std::vector<Scan> found = scan(symbol, true);
        ASSERT_EQ(found.size(), 1u) << c.text;
        EXPECT_EQ(found[0].format, ZXing::BarcodeFormat::MaxiCode);
        EXPECT_NE(found[0].text.find(c.message), std::string::npos) << found[0].text;
    }
}

// The module width is the command's: a Code 128 of 11-module symbols takes narrow x 11 dots each.
TEST(PreviewBarcode, ModuleWidthIsTheNarrowBar) {
    for (int narrow : {1, 2, 4}) {
        const LabelPictures pictures =
            render("SW812\r\nB140,40,1,"+ std::to_string(narrow) + ",4,80,0,0,'ABC'\r\nP1\r\n");
        ASSERT_EQ(pictures.labels.size(), 1u);
        // Start, three data characters, check, stop (13 modules): 68 modules.
        EXPECT_EQ(darkExtent(pictures.labels[0].image).width(), 68 * narrow) << narrow;
    }
}

}  // namespace
}  // namespace velmora::preview::test
