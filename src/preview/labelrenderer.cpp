// Label size, the canvas, and the final one-bit picture.
#include "preview/labelrenderer.h"

#include <QPainter>
#include <algorithm>

#include "preview/fields.h"

namespace velmora::preview {

namespace {

// Lines of the not-drawn list beyond this are counted in one last line.
constexpr std::size_t kMaxListed = 200;

void addBounded(std::vector<std::string>& list, std::string line, std::size_t& over) {
    if (list.size() < kMaxListed) {
        list.push_back(std::move(line));
    } else {
        ++over;
    }
}

}  // namespace

bool isDark(const QImage& image, int x, int y) {
    return image.valid(x, y) && qGray(image.pixel(x, y)) < 128;
}

RenderedLabel renderLabel(const sim::LabelRecord& record, const ImageLookup& images) {
    RenderedLabel out;
    out.number = record.number;
    std::vector<std::string> skipped;
    std::size_t over = 0;
    for (const std::string& e : record.errors) addBounded(out.notDrawn, e, over);
    for (const std::string& n : record.notDrawn) addBounded(out.notDrawn, n, over);
    over += record.errorsNotKept;

    const bool zii = record.language == sim::LabelLanguage::Zii;
    std::optional<int> width, length;
    int dx = 0, dy = 0;
    if (zii) {
        if (record.zii.width > 0) width = record.zii.width;
        if (record.zii.length > 0) length = record.zii.length;
        dx = record.zii.homeX - record.zii.shift;
        dy = record.zii.homeY;
    } else {
        width = record.format.width;
        length = record.format.length;
        dx = record.format.marginX.value_or(0);
        dy = record.format.marginY.value_or(0);
    }
    const auto bound = [&](std::optional<int>& v, int max, const char* what) {
        if (v && (*v <= 0 || *v > max)) {
            addBounded(out.notDrawn,
                       std::string("label ") + what + " " + std::to_string(*v) + " dots: drawn " + std::to_string(std::min(*v > 0 ? *v : max, max)),
                       over);
            v = std::clamp(*v, 1, max);
        }
    };
    bound(width, zii ? kMaxZiiWidthDots : kMaxWidthDots, "width");
    bound(length, kMaxLengthDots, "length");
    const int w = width.value_or(kMaxWidthDots);
    // Drawn at full length; cut to the label (or its content) below.
    const bool growing = zii && !record.zii.lengthGiven;
    const int h = growing ? kMaxLengthDots : length.value_or(kMaxLengthDots);

    QImage canvasImage(w, h, QImage::Format_RGB32);
    canvasImage.fill(Qt::white);
    int usedRows = h;
    {
        QPainter painter(&canvasImage);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        Canvas canvas{painter, skipped};
        for (const sim::LabelField& field : record.fields) {
            if (zii) {
                drawZiiField(canvas, field, dx, dy);
            } else {
                drawNativeField(canvas, field, dx, dy, images);
            }
        }
        if (!length || growing) {
            int used = std::clamp(canvas.bottom + 2 * kDotsPerMm, kMinLengthDots, kMaxLengthDots);
            if (growing && length) used = std::max(used, *length);
            painter.end();
            usedRows = std::min(used, h);
        }
    }
    // The rows in use, seen in place rather than copied: the canvas is the largest thing a
    // picture holds.
    QImage drawn(canvasImage.constBits(), w, usedRows, canvasImage.bytesPerLine(), canvasImage.format());
    if (zii && record.zii.inverted) drawn = drawn.mirrored(true, true);
    if (zii && record.zii.mirror) drawn = drawn.mirrored(true, false);
    for (std::string& s : skipped) addBounded(out.notDrawn, std::move(s), over);
    if (over > 0) out.notDrawn.push_back("... and " + std::to_string(over) + " more");
    out.image = drawn.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
    return out;
}

}  // namespace velmora::preview
