// Drawing the ZII fields: ^A text (with ^FB blocks), ^B barcodes and ^GB boxes, and the short
// names of fields in the not-drawn list.
#include <QPainterPath>
#include <QStringList>
#include <algorithm>

#include "preview/barcodes.h"
#include "preview/fields.h"
#include "preview/textdraw.h"
#include "preview/ziidraw.h"

namespace velmora::preview {

namespace {

struct BitmapFont {
    char name;
    int height, width, gap;  // dots at 8 dots per millimetre
};
constexpr BitmapFont kFonts[] = {{'A', 9, 5, 1},   {'B', 11, 7, 2},  {'C', 18, 10, 2}, {'D', 18, 10, 2},
                                 {'E', 28, 15, 5}, {'F', 26, 13, 3}, {'G', 60, 40, 8}, {'H', 21, 13, 6}};

int degrees(char orientation) {
    switch (orientation) {
        case 'R': return 90;
        case 'I': return 180;
        case 'B': return 270;
        default: return 0;
    }
}

// Turns the painter so a field of w x h dots keeps its top left corner at the origin.
void orient(QPainter& p, int rotation, int w, int h) {
    if (rotation == 90) p.translate(h, 0);
    if (rotation == 180) p.translate(w, h);
    if (rotation == 270) p.translate(0, w);
    p.rotate(rotation);
}

QString textOf(const sim::ZiiTextField& f) {
    // ^CI28 and above: UTF-8; the others are single-byte pages whose printable ASCII agrees.
    return f.codePage >= 28 ? QString::fromUtf8(f.data.data(), static_cast<qsizetype>(f.data.size()))
                            : QString::fromLatin1(f.data.data(), static_cast<qsizetype>(f.data.size()));
}

// One line of text in the field's font: measure or draw.
struct TextStyle {
    bool scalable = false;
    int cellWidth = 0, cellHeight = 0, gap = 0;
    VectorStyle vector;
    int width(const QString& s) const {
        return scalable ? vectorTextWidth(s, vector) : static_cast<int>(s.size()) * (cellWidth + gap);
    }
    int height() const { return scalable ? vector.height : cellHeight; }
    void draw(QPainter& p, const QString& s, int x, int y) const {
        if (scalable) {
            drawVectorText(p, s, x, y, vector);
        } else {
            drawCellText(p, s, x, y, cellWidth, cellHeight, gap, false);
        }
    }
};

std::optional<TextStyle> styleOf(const sim::ZiiTextField& f) {
    TextStyle s;
    if (f.font == '0') {
        s.scalable = true;
        const int h = f.height > 0 ? f.height : 15;
        s.vector = VectorStyle{f.width > 0 ? f.width : h, h, 0, false, false};
        return s;
    }
    const auto* font = std::find_if(std::begin(kFonts), std::end(kFonts), [&](const BitmapFont& b) { return b.name == f.font; });
    if (font == std::end(kFonts)) return std::nullopt;
    // Bitmap fonts grow by whole multiples of their cell.
    const int my = f.height > 0 ? std::max(1, f.height / font->height) : 1;
    const int mx = f.width > 0 ? std::max(1, f.width / font->width) : my;
    s.cellHeight = font->height * my;
    s.cellWidth = font->width * mx;
    s.gap = font->gap * mx;
    return s;
}

// The lines of a ^FB block: "\&" breaks a line, words wrap at the block width, and lines beyond
// the block's count are dropped (the last one keeps what remains, as the printer overprints it).
QStringList blockLines(const QString& text, const sim::ZiiFieldBlock& b, const TextStyle& style) {
    QStringList lines;
    for (const QString& paragraph : text.split(QStringLiteral("\\&"))) {
        QString line;
        for (const QString& word : paragraph.split(QLatin1Char(' '))) {
            const QString candidate = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
            if (!line.isEmpty() && b.width > 0 && style.width(candidate) > b.width) {
                lines << line;
                line = word;
            } else {
                line = candidate;
            }
        }
        lines << line;
    }
    while (lines.size() > std::max(1, b.lines)) {
        lines[lines.size() - 2] += QLatin1Char(' ') + lines.last();
        lines.removeLast();
    }
    return lines;
}

void drawText(Canvas& c, const sim::ZiiTextField& f, int dx, int dy) {
    const auto style = styleOf(f);
    if (!style) {
        c.skip(fieldName(f) + ": font " + f.font + " is not drawn");
        return;
    }
    const QString text = textOf(f);
    const int lineHeight = style->height() + (f.block ? f.block->lineSpacing : 0);
    QStringList lines = f.block ? blockLines(text, *f.block, *style) : QStringList{text};
    int width = 0;
    for (const QString& l : lines) width = std::max(width, style->width(l));
    if (f.block && f.block->width > 0) width = f.block->width;
    const int height = lineHeight * static_cast<int>(lines.size());
    const int rotation = degrees(f.orientation);
    QPainter& p = c.painter;
    p.save();
    // ^FT: the origin is the baseline of the (first) line.
    const int top = f.typeset ? f.y - style->height() : f.y;
    p.translate(f.x + dx, top + dy);
    orient(p, rotation, width, height);
    {
        ReverseScope reverse(p, f.reverse);
        int y = 0;
        for (const QString& l : lines) {
            int x = 0;
            if (f.block && f.block->justification == 'R') x = width - style->width(l);
            if (f.block && f.block->justification == 'C') x = (width - style->width(l)) / 2;
            style->draw(p, l, x, y);
            y += lineHeight;
        }
    }
    c.reached(QRectF(0, 0, width, height));
    p.restore();
}

void drawBox(Canvas& c, const sim::ZiiBoxField& f, int dx, int dy) {
    const QRect outer(f.x + dx, (f.typeset ? f.y - f.height : f.y) + dy, f.width, f.height);
    const QColor color = f.color == 'W' ? Qt::white : Qt::black;
    QPainter& p = c.painter;
    ReverseScope reverse(p, f.reverse);
    QPainterPath path;
    if (f.rounding > 0) {
        const qreal r = f.rounding * std::min(f.width, f.height) / 16.0;
        path.addRoundedRect(outer, r, r);
        const QRect inner = outer.adjusted(f.thickness, f.thickness, -f.thickness, -f.thickness);
        if (inner.isValid()) {
            QPainterPath hole;
            hole.addRoundedRect(inner, std::max<qreal>(0, r - f.thickness), std::max<qreal>(0, r - f.thickness));
            path = path.subtracted(hole);
        }
        p.fillPath(path, color);
    } else if (f.thickness * 2 >= f.width || f.thickness * 2 >= f.height) {
        p.fillRect(outer, color);
    } else {
        const int t = f.thickness;
        p.fillRect(outer.x(), outer.y(), outer.width(), t, color);
        p.fillRect(outer.x(), outer.bottom() + 1 - t, outer.width(), t, color);
        p.fillRect(outer.x(), outer.y(), t, outer.height(), color);
        p.fillRect(outer.right() + 1 - t, outer.y(), t, outer.height(), color);
    }
    c.reached(QRectF(outer));
}

std::string cut(const std::string& data) { return data.size() > 20 ? data.substr(0, 20) + "..." : data; }

}  // namespace

void drawZiiField(Canvas& canvas, const sim::LabelField& field, int dx, int dy) {
    if (const auto* t = std::get_if<sim::ZiiTextField>(&field)) {
        drawText(canvas, *t, dx, dy);
    } else if (const auto* b = std::get_if<sim::ZiiBoxField>(&field)) {
        drawBox(canvas, *b, dx, dy);
    } else if (const auto* g = std::get_if<sim::ZiiGraphicField>(&field)) {
        drawGraphic(canvas, *g, dx, dy);
    } else if (const auto* s = std::get_if<sim::ZiiShapeField>(&field)) {
        drawShape(canvas, *s, dx, dy);
    } else if (const auto* bc = std::get_if<sim::ZiiBarcodeField>(&field)) {
        BarcodeRequest request;
        std::string why;
        if (!ziiBarcode(*bc, request, why) || !drawBarcode(canvas, request, bc->x + dx, bc->y + dy, why))
            canvas.skip(fieldName(field) + ": " + why);
    } else {
        canvas.skip(fieldName(field) + ": a native field on a ZII label");
    }
}

std::string fieldName(const sim::LabelField& field) {
    return std::visit(
        [](const auto& f) -> std::string {
            using T = std::decay_t<decltype(f)>;
            const auto at = [](int x, int y) { return std::to_string(x) + "," + std::to_string(y); };
            if constexpr (std::is_same_v<T, sim::TextField>) return "T" + at(f.x, f.y) + " '" + cut(f.data) + "'";
            if constexpr (std::is_same_v<T, sim::VectorTextField>) return "V" + at(f.x, f.y) + " '" + cut(f.data) + "'";
            if constexpr (std::is_same_v<T, sim::Barcode1DField>) return "B1" + at(f.x, f.y) + " '" + cut(f.data) + "'";
            if constexpr (std::is_same_v<T, sim::Barcode2DField>) return "B2" + at(f.x, f.y) + " '" + cut(f.data) + "'";
            if constexpr (std::is_same_v<T, sim::BoxField>) return "BD" + at(f.x1, f.y1) + "," + at(f.x2, f.y2);
            if constexpr (std::is_same_v<T, sim::ImageField>) return "IR" + at(f.x, f.y) + " '" + f.name + "'";
            if constexpr (std::is_same_v<T, sim::ZiiTextField>) return "^FO" + at(f.x, f.y) + " ^FD" + cut(f.data);
            if constexpr (std::is_same_v<T, sim::ZiiBarcodeField>) return "^FO" + at(f.x, f.y) + " ^" + f.symbology + " ^FD" + cut(f.data);
            if constexpr (std::is_same_v<T, sim::ZiiBoxField>) return "^FO" + at(f.x, f.y) + " ^GB";
            if constexpr (std::is_same_v<T, sim::ZiiGraphicField>) return "^FO" + at(f.x, f.y) + (f.name.empty() ? " ^GF" : " ^XG" + f.name);
            if constexpr (std::is_same_v<T, sim::ZiiShapeField>) return "^FO" + at(f.x, f.y) + " ^G" + f.shape;
            return "field";
        },
        field);
}

}  // namespace velmora::preview
