// ZII barcodes as label software sends them: Code 128 subsets, modes and invocation codes, the
// ^BY wide-to-narrow ratio, Data Matrix escapes and Aztec, read back by a scanner and measured.
#include <gtest/gtest.h>

#include "previewsupport.h"

namespace velmora::preview::test {
namespace {

struct Read {
    std::vector<Scan> scans;
    Extent extent;
    std::vector<std::string> listed;
};

Read read(const std::string& field) {
    const LabelPictures p = render("^XA^PW800^LL400^FO100,100" + field + "^FS^XZ", Language::Zii);
    EXPECT_EQ(p.labels.size(), 1u) << field;
    if (p.labels.empty()) return {};
    return {scan(p.labels[0].image), darkExtent(p.labels[0].image), p.labels[0].notDrawn};
}

// A scanner held at the symbol: zxing-cpp finds a small Aztec symbol only in a picture not much
// larger than it.
std::vector<Scan> scanAt(const std::string& field) {
    const LabelPictures p = render("^XA^PW800^LL400^FO100,100" + field + "^FS^XZ", Language::Zii);
    if (p.labels.empty()) return {};
    const Extent e = darkExtent(p.labels[0].image);
    return scan(p.labels[0].image.copy(e.x0 - 40, e.y0 - 40, e.width() + 80, e.height() + 80));
}

std::string caseCode(std::string digits) {
    digits.insert(0, 19 - digits.size(), '0');
    int sum = 0;
    for (std::size_t i = 0; i < digits.size(); ++i) sum += (digits[digits.size() - 1 - i] - '0') * (i % 2 == 0 ? 3 : 1);
    return digits + static_cast<char>('0' + (10 - sum % 10) % 10);
}

TEST(ZiiBarcodes, Code128TakesTheSubsetsItsDataAsksFor) {
    const struct {
        std::string field;
        std::string text;
        int modules;  // the symbol's width in modules (start to stop), 0: not measured
    } cases[] = {
        // Digits stay in subset B unless the data starts subset C.
        {"^BY2^BCN,80,N^FD123456", "123456", 11 + 6 * 11 + 11 + 13},
        {"^BY2^BCN,80,N^FD>;123456", "123456", 11 + 3 * 11 + 11 + 13},
        {"^BY2^BCN,80,N^FD>:AB>5123456", "AB123456", 11 + 2 * 11 + 11 + 3 * 11 + 11 + 13},
        {"^BY2^BCN,80,N^FD>;12>6AB>0", "12AB>", 11 + 11 + 11 + 3 * 11 + 11 + 13},
        {"^BY2^BCN,80,N^FD>;>80112345678901231", "0112345678901231", 0},
        // Automatic subsets, GS1 data with or without parentheses, and the case code.
        {"^BY2^BCN,80,N,N,N,A^FDAB123456", "AB123456", 11 + 2 * 11 + 11 + 3 * 11 + 11 + 13},
        {"^BY2^BCN,80,Y,N,N,D^FD(01)12345678901231(10)AB1(21)XY", "011234567890123110AB1\x1d" "21XY", 0},
        {"^BY2^BCN,80,Y,N,N,D^FD0112345678901231", "0112345678901231", 0},
        {"^BY2^BCN,80,Y,N,N,U^FD1234567", caseCode("1234567"), 11 + 11 + 10 * 11 + 11 + 13},
    };
    for (const auto& c : cases) {
        const Read r = read(c.field);
        ASSERT_EQ(r.scans.size(), 1u) << c.field;
        EXPECT_EQ(r.scans[0].format, ZXing::BarcodeFormat::Code128) << c.field;
        EXPECT_EQ(r.scans[0].text, c.text) << c.field;
        if (c.modules > 0) {
            EXPECT_EQ(r.extent.width(), 2 * c.modules) << c.field;
        }
    }
}

TEST(ZiiBarcodes, WideElementsFollowTheRatio) {
    const struct {
        std::string field;
        std::string text;
        int width;
    } cases[] = {
        // Interleaved 2 of 5, twelve digits: start 4 narrow, six pairs of 6 narrow and 4 wide,
        // stop a wide and 2 narrow.
        {"^BY3,2.0^B2N,100,N^FD123456789012", "123456789012", 4 * 3 + 6 * (6 * 3 + 4 * 6) + 6 + 2 * 3},
        {"^BY3,3.0^B2N,100,N^FD123456789012", "123456789012", 4 * 3 + 6 * (6 * 3 + 4 * 9) + 9 + 2 * 3},
        // Code 39, "*AB*": 6 narrow and 3 wide a character, a narrow gap between.
        {"^BY2,2.5^B3N,N,100,N^FDAB", "AB", 4 * (6 * 2 + 3 * 5) + 3 * 2},
    };
    for (const auto& c : cases) {
        const Read r = read(c.field);
        ASSERT_EQ(r.scans.size(), 1u) << c.field;
        EXPECT_EQ(r.scans[0].text, c.text) << c.field;
        EXPECT_EQ(r.extent.width(), c.width) << c.field;
    }
}

TEST(ZiiBarcodes, DataMatrixEscapesAndAztec) {
    const struct {
        std::string field;
        ZXing::BarcodeFormat format;
        std::string text;
    } cases[] = {
        {"^BXN,6,200,,,,_^FD_10100012345678905_110ABC", ZXing::BarcodeFormat::DataMatrix, "010001234567890510ABC"},
        {"^BXN,6,200,,,,_^FD_10100012345678905_110ABC_121XYZ", ZXing::BarcodeFormat::DataMatrix,
         "010001234567890510ABC\x1d" "21XYZ"},
        {"^BXN,8,200,,,,#^FDVELMORA #d066 DATA ##", ZXing::BarcodeFormat::DataMatrix, "VELMORA B DATA #"},
        {"^BXN,8,200^FDVELMORA_1 DATA", ZXing::BarcodeFormat::DataMatrix, "VELMORA_1 DATA"},
        {"^B0N,6,N,0^FDVELMORA AZTEC 0123456789", ZXing::BarcodeFormat::Aztec, "VELMORA AZTEC 0123456789"},
        {"^BON,6,N,103^FDVELMORA 42", ZXing::BarcodeFormat::Aztec, "VELMORA 42"},
    };
    for (const auto& c : cases) {
        const Read r = read(c.field);
        EXPECT_TRUE(r.listed.empty()) << c.field;
        const std::vector<Scan> scans = scanAt(c.field);
        ASSERT_EQ(scans.size(), 1u) << c.field;
        EXPECT_EQ(scans[0].format, c.format) << c.field;
        EXPECT_EQ(scans[0].text, c.text) << c.field;
    }
}

}  // namespace
}  // namespace velmora::preview::test
