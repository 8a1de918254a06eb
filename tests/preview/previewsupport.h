// What the preview tests share: label text to pictures, and the barcodes a scanner (zxing-cpp)
// reads in a picture.
#pragma once

#define ZX_USE_UTF8 1
#include <ZXing/ReadBarcode.h>

#include <string>
#include <vector>

#include "preview/labelpng.h"
#include "preview/labeltext.h"

namespace velmora::preview::test {

inline LabelPictures render(const std::string& text, Language language = Language::Auto) {
    ensureGuiApplication();
    return renderText(text, language);
}

struct Scan {
    ZXing::BarcodeFormat format;
    std::string text;
};

inline std::vector<Scan> scan(const QImage& image, bool pure = false) {
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    const ZXing::ImageView view(grey.constBits(), grey.width(), grey.height(), ZXing::ImageFormat::Lum,
                                static_cast<int>(grey.bytesPerLine()));
    // A quick pass first, as a scanner at the right angle: the thorough one (turned symbols) runs
    // only when it finds nothing.
    std::vector<Scan> out;
    for (const bool thorough : {false, true}) {
        ZXing::DecodeHints hints;
        hints.setTryHarder(thorough);
        hints.setTryRotate(thorough);
        hints.setIsPure(pure);
        hints.setTryDownscale(false);  // its second look at a smaller copy trips an assertion in zxing-cpp 1.4
        for (const ZXing::Result& r : ZXing::ReadBarcodes(view, hints)) out.push_back({r.format(), r.text()});
        if (!out.empty()) break;
    }
    return out;
}

// The extent of the dark dots: x0, y0, x1, y1 (inclusive); all -1 when the picture is blank.
struct Extent {
    int x0 = -1, y0 = -1, x1 = -1, y1 = -1;
    int width() const { return x0 < 0 ? 0 : x1 - x0 + 1; }
    int height() const { return y0 < 0 ? 0 : y1 - y0 + 1; }
};
inline Extent darkExtent(const QImage& image) {
    Extent e;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (isDark(image, x, y)) {
                if (e.x0 < 0 || x < e.x0) e.x0 = x;
                if (e.y0 < 0) e.y0 = y;
                e.x1 = std::max(e.x1, x);
                e.y1 = y;
            }
    return e;
}

}  // namespace velmora::preview::test
