// Font choice, scaling and drawing of label text.
#include "preview/textdraw.h"

#include <QFont>
#include <QFontMetrics>
#include <algorithm>
#include <array>

namespace velmora::preview {

namespace {

// Fonts are measured at one size and scaled by the painter, so a label with many sizes measures
// each face once.
constexpr int kBaseSize = 100;

struct Face {
    QFont font;
    qreal advance = 0;  // of one character (monospace) or an average one
    qreal ascent = 0, height = 0;
};

Face makeFace(bool monospace, bool bold, bool italic) {
    Face f;
    f.font = QFont(monospace ? "DejaVu Sans Mono" : "DejaVu Sans");
    f.font.setStyleHint(monospace ? QFont::Monospace : QFont::SansSerif);
    f.font.setFixedPitch(monospace);
    f.font.setPixelSize(kBaseSize);
    f.font.setBold(bold);
    f.font.setItalic(italic);
    f.font.setStyleStrategy(QFont::NoAntialias);
    f.font.setHintingPreference(QFont::PreferNoHinting);
    const QFontMetricsF m(f.font);
    f.advance = m.horizontalAdvance(QLatin1Char('M'));
    f.ascent = m.ascent();
    f.height = m.ascent() + m.descent();
    return f;
}

// Made once, on first use from any thread (the simulator renders on its connection threads).
const Face& face(bool monospace, bool bold, bool italic) {
    static const std::array<Face, 8> faces = [] {
        std::array<Face, 8> all;
        for (int i = 0; i < 8; ++i) all[i] = makeFace(i & 4, i & 2, i & 1);
        return all;
    }();
    return faces[(monospace ? 4 : 0) | (bold ? 2 : 0) | (italic ? 1 : 0)];
}

}  // namespace

int drawCellText(QPainter& p, const QString& text, int x, int y, int cellWidth, int cellHeight, int gap, bool bold) {
    if (text.isEmpty() || cellWidth <= 0 || cellHeight <= 0) return 0;
    const Face& f = face(true, bold, false);
    const qreal sx = cellWidth / f.advance, sy = cellHeight / f.height;
    p.save();
    p.setFont(f.font);
    p.setPen(Qt::black);
    p.translate(x, y);
    p.scale(sx, sy);
    const qreal step = (cellWidth + gap) / sx;
    if (gap == 0) {
        p.drawText(QPointF(0, f.ascent), text);
    } else {
        for (int i = 0; i < text.size(); ++i) p.drawText(QPointF(i * step, f.ascent), QString(text[i]));
    }
    p.restore();
    return static_cast<int>(text.size()) * (cellWidth + gap) - gap;
}

int vectorTextWidth(const QString& text, const VectorStyle& style) {
    if (text.isEmpty() || style.height <= 0) return 0;
    const Face& f = face(false, style.bold, style.italic);
    const qreal sx = (style.width > 0 ? style.width : style.height) / f.height;
    const qreal natural = QFontMetricsF(f.font).horizontalAdvance(text) * sx;
    return static_cast<int>(natural + style.spacing * (text.size() - 1) + 0.5);
}

void drawVectorText(QPainter& p, const QString& text, int x, int y, const VectorStyle& style) {
    if (text.isEmpty() || style.height <= 0) return;
    const Face& f = face(false, style.bold, style.italic);
    const qreal sy = style.height / f.height;
    const qreal sx = (style.width > 0 ? style.width : style.height) / f.height;
    p.save();
    p.setFont(f.font);
    p.setPen(Qt::black);
    p.translate(x, y);
    p.scale(sx, sy);
    if (style.spacing == 0) {
        p.drawText(QPointF(0, f.ascent), text);
    } else {
        const QFontMetricsF m(f.font);
        qreal at = 0;
        for (const QChar c : text) {
            p.drawText(QPointF(at, f.ascent), QString(c));
            at += m.horizontalAdvance(c) + style.spacing / sx;
        }
    }
    p.restore();
}

}  // namespace velmora::preview
