// Drawing the ZII fields: ^A text (with ^FB blocks), ^B barcodes and ^GB boxes, and the short
// names of fields in the not-drawn list.
#include <QPainterPath>
#include <QStringList>
#include <algorithm>

#include "preview/barcodes.h"
#include "preview/fields.h"
#include "preview/textdraw.h"
#include "preview/ziidraw.h"
#include "preview/ziitext.h"

namespace velmora::preview {

namespace {

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
    if (!f.symbol) return ziiText(f.data, f.codePage);
    // ^GS: A registered, B copyright, C trade mark, D and E the two approval marks.
    QString out;
    for (const char c : f.data) {
        switch (c) {
            case 'A': out += QChar(0x00AE); break;
            case 'B': out += QChar(0x00A9); break;
            case 'C': out += QChar(0x2122); break;
            case 'D': out += QStringLiteral("UL"); break;
            case 'E': out += QStringLiteral("SP"); break;
            default: break;
        }
    }
    return out;
}

// The lines of a block. ^FB: "\&" breaks a line, words wrap at the block width, and lines beyond
// the block's count are dropped (the last one keeps what remains, as the printer overprints it).
// ^TB: lines that do not fit the block's height are left out.
QStringList blockLines(const QString& text, const sim::ZiiFieldBlock& b, const ZiiFont& font, int lineHeight) {
    QStringList lines;
    for (const QString& paragraph : text.split(QStringLiteral("\\&"))) {
        QString line;
        for (const QString& word : paragraph.split(QLatin1Char(' '))) {
            const QString candidate = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
            if (!line.isEmpty() && b.width > 0 && ziiTextWidth(candidate, font) > b.width) {
                lines << line;
                line = word;
            } else {
                line = candidate;
            }
        }
        lines << line;
    }
    if (b.textBlock) {
        const int fit = b.height > 0 ? std::max(1, (b.height + lineHeight - font.height) / std::max(1, lineHeight)) : 1;
        while (lines.size() > fit) lines.removeLast();
        return lines;
    }
    while (lines.size() > std::max(1, b.lines)) {
        lines[lines.size() - 2] += QLatin1Char(' ') + lines.last();
        lines.removeLast();
    }
    return lines;
}

void drawText(Canvas& c, const sim::ZiiTextField& f, int dx, int dy) {
    std::optional<ZiiFont> font = ziiFont(f.fontFile.empty() ? f.font : '0', f.height, f.width);
    if (!f.fontFile.empty()) c.skip(fieldName(f) + ": font " + f.fontFile + " drawn as font 0");
    if (!font) {
        // A font the printer does not have: the default font, else A.
        const char fallback = ziiFont(f.defaultFont, 0, 0) ? f.defaultFont : 'A';
        font = ziiFont(fallback, f.height, f.width);
        c.skip(fieldName(f) + ": font " + f.font + " drawn as font " + static_cast<char>(std::toupper(fallback)));
    }
    const QString text = textOf(f);
    const int lineHeight = font->height + (f.block ? f.block->lineSpacing : 0);
    const QStringList lines = f.block ? blockLines(text, *f.block, *font, lineHeight) : QStringList{text};
    int width = 0;
    for (const QString& l : lines) width = std::max(width, ziiTextWidth(l, *font));
    if (f.block && f.block->width > 0) width = f.block->width;
    const int height = lineHeight * static_cast<int>(lines.size() - 1) + font->height;
    const int rotation = degrees(f.orientation);
    QPainter& p = c.painter;
    p.save();
    p.translate(f.x + dx, f.y + dy);
    if (f.rightAligned) {
        // The text ends at the origin: it starts its width back along its own direction.
        p.translate(QTransform().rotate(degrees(f.orientation)).map(QPointF(-width, 0)));
    }
    // ^FT: the origin is the first line's baseline, and the text turns about it; ^FO: the field's
    // top left corner as it stands on the label.
    int top = 0;
    if (f.typeset) {
        p.rotate(rotation);
        top = -font->baseline();
    } else {
        orient(p, rotation, width, height);
    }
    {
        ReverseScope reverse(p, f.reverse);
        int y = top;
        for (const QString& l : lines) {
            int x = 0;
            if (f.block && f.block->justification == 'R') x = width - ziiTextWidth(l, *font);
            if (f.block && f.block->justification == 'C') x = (width - ziiTextWidth(l, *font)) / 2;
            drawZiiText(p, l, x, y + font->baseline(), *font);
            y += lineHeight;
        }
    }
    c.reached(QRectF(0, top, width, height));
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
