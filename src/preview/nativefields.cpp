// Drawing the native fields: bitmap and vector text, barcodes, "BD" shapes and stored images.
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "preview/barcodes.h"
#include "preview/fields.h"
#include "preview/pcx.h"
#include "preview/textdraw.h"

namespace velmora::preview {

namespace {

// The bitmap fonts' character cells in dots (font 0 to 6).
constexpr int kCellWidth[] = {8, 10, 14, 17, 20, 28, 40};
constexpr int kCellHeight[] = {13, 18, 22, 26, 35, 44, 70};
constexpr std::string_view kTwoByteFonts = "abcdefmnj";

// Bytes as the characters of the same number: the code pages' upper halves differ from label to
// label, the printable ASCII the labels mostly hold does not.
QString latin1(const std::string& data) { return QString::fromLatin1(data.data(), static_cast<qsizetype>(data.size())); }

// Text sits in a black box of its extent and prints white.
void reverseBox(QPainter& p, int width, int height) { p.fillRect(0, 0, width, height, Qt::black); }

void drawText(Canvas& c, const sim::TextField& f, int dx, int dy) {
    const auto font = static_cast<unsigned char>(f.font);
    if (kTwoByteFonts.find(f.font) != std::string_view::npos) {
        c.skip(fieldName(f) + ": two-byte font " + f.font + " is not drawn");
        return;
    }
    if (font < '0' || font > '6') {
        c.skip(fieldName(f) + ": font " + f.font + " has no known cell size");
        return;
    }
    const int cw = kCellWidth[font - '0'] * std::max(1, f.xMultiplier);
    const int ch = kCellHeight[font - '0'] * std::max(1, f.yMultiplier);
    const QString text = latin1(f.data);
    const int width = static_cast<int>(text.size()) * (cw + f.rightSpace) - f.rightSpace;
    QPainter& p = c.painter;
    p.save();
    p.translate(f.x + dx, f.y + dy);
    p.rotate(f.rotation);
    if (f.reverse) reverseBox(p, width, ch);
    {
        ReverseScope reverse(p, f.reverse);
        drawCellText(p, text, 0, 0, cw, ch, f.rightSpace, f.bold);
    }
    c.reached(QRectF(0, 0, width, ch));
    p.restore();
}

void drawVector(Canvas& c, const sim::VectorTextField& f, int dx, int dy) {
    if (f.font != 'U') {
        c.skip(fieldName(f) + ": vector font " + f.font + " is not drawn");
        return;
    }
    QString text = latin1(f.data);
    if (f.rightToLeft) std::reverse(text.begin(), text.end());
    VectorStyle style{f.width, f.height, f.spacing, f.bold, f.italic};
    const int width = vectorTextWidth(text, style);
    int left = 0;  // from the origin: the justification says which end of the text it is
    if (f.justification == 'R') left = -width;
    if (f.justification == 'C') left = -width / 2;
    QPainter& p = c.painter;
    p.save();
    p.translate(f.x + dx, f.y + dy);
    p.rotate(f.rotation);
    p.translate(left, 0);
    if (f.reverse) reverseBox(p, width, f.height);
    {
        ReverseScope reverse(p, f.reverse);
        drawVectorText(p, text, 0, 0, style);
    }
    c.reached(QRectF(0, 0, width, f.height));
    p.restore();
}

// "BD": 'O' fills the rectangle black, 'E' inverts it, 'D' clears it, 'B' is its outline and 'S'
// a slanted line between the corners; the value of 'B' and 'S' is the line width (1 when absent).
void drawShape(Canvas& c, const sim::BoxField& f, int dx, int dy) {
    const QRect r = QRect(QPoint(std::min(f.x1, f.x2), std::min(f.y1, f.y2)),
                          QPoint(std::max(f.x1, f.x2) - 1, std::max(f.y1, f.y2) - 1))
                        .translated(dx, dy);
    const int line = std::max(1, f.value.value_or(1));
    QPainter& p = c.painter;
    switch (f.type) {
        case 'O':
            p.fillRect(r, Qt::black);
            break;
        case 'E': {
            ReverseScope reverse(p, true);
            p.fillRect(r, Qt::black);
            break;
        }
        case 'D':
            p.fillRect(r, Qt::white);
            break;
        case 'B':
            if (line * 2 >= r.width() || line * 2 >= r.height()) {
                p.fillRect(r, Qt::black);
            } else {
                p.fillRect(r.x(), r.y(), r.width(), line, Qt::black);
                p.fillRect(r.x(), r.bottom() + 1 - line, r.width(), line, Qt::black);
                p.fillRect(r.x(), r.y(), line, r.height(), Qt::black);
                p.fillRect(r.right() + 1 - line, r.y(), line, r.height(), Qt::black);
            }
            break;
        case 'S': {
            // A parallelogram of `line` dots across, from the first corner to the second.
            QPainterPath path;
            const QPointF a(f.x1 + dx, f.y1 + dy), b(f.x2 + dx, f.y2 + dy);
            path.moveTo(a);
            path.lineTo(b);
            path.lineTo(b + QPointF(line, 0));
            path.lineTo(a + QPointF(line, 0));
            path.closeSubpath();
            p.fillPath(path, Qt::black);
            break;
        }
        default:
            c.skip(fieldName(f) + ": shape type " + f.type + " is unknown");
            return;
    }
    c.reached(QRectF(r));
}

void drawImage(Canvas& c, const sim::ImageField& f, int dx, int dy, const ImageLookup& images) {
    const std::optional<std::string> bytes = images ? images(f.name) : std::nullopt;
    if (!bytes) {
        c.skip(fieldName(f) + ": no stored image of that name");
        return;
    }
    std::string why;
    const QImage image = readPcx(*bytes, kMaxWidthDots, kMaxLengthDots, why);
    if (image.isNull()) {
        c.skip(fieldName(f) + ": " + why);
        return;
    }
    // Dark dots print; light ones leave the label as it is.
    QPainter& p = c.painter;
    QImage ink(image.size(), QImage::Format_ARGB32_Premultiplied);
    ink.fill(Qt::transparent);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(ink.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelIndex(x, y) == 1) line[x] = qRgba(0, 0, 0, 255);
    }
    p.drawImage(f.x + dx, f.y + dy, ink);
    c.reached(QRectF(f.x + dx, f.y + dy, image.width(), image.height()));
}

}  // namespace

void drawNativeField(Canvas& canvas, const sim::LabelField& field, int dx, int dy, const ImageLookup& images) {
    std::visit(
        [&](const auto& f) {
            using T = std::decay_t<decltype(f)>;
            if constexpr (std::is_same_v<T, sim::TextField>) {
                drawText(canvas, f, dx, dy);
            } else if constexpr (std::is_same_v<T, sim::VectorTextField>) {
                drawVector(canvas, f, dx, dy);
            } else if constexpr (std::is_same_v<T, sim::BoxField>) {
                drawShape(canvas, f, dx, dy);
            } else if constexpr (std::is_same_v<T, sim::ImageField>) {
                drawImage(canvas, f, dx, dy, images);
            } else if constexpr (std::is_same_v<T, sim::Barcode1DField> || std::is_same_v<T, sim::Barcode2DField>) {
                BarcodeRequest request;
                std::string why;
                bool ok = false;
                if constexpr (std::is_same_v<T, sim::Barcode1DField>) {
                    ok = nativeBarcode1D(f, request, why);
                } else {
                    ok = nativeBarcode2D(f, request, why);
                }
                if (!ok || !drawBarcode(canvas, request, f.x + dx, f.y + dy, why)) canvas.skip(fieldName(f) + ": " + why);
            } else {
                drawZiiField(canvas, field, dx, dy);  // a ZII field on a native label: drawn as ZII
            }
        },
        field);
}

}  // namespace velmora::preview
