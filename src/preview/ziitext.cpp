// Code pages and fonts of ZII text.
#include "preview/ziitext.h"

#include <QFont>
#include <QFontMetricsF>
#include <QStringDecoder>
#include <algorithm>
#include <array>
#include <cctype>

namespace velmora::preview {

namespace {

constexpr char16_t kPage850[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5,
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9, 0x00FF, 0x00D6, 0x00DC, 0x00F8, 0x00A3, 0x00D8, 0x00D7, 0x0192,
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA, 0x00BF, 0x00AE, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x00C1, 0x00C2, 0x00C0, 0x00A9, 0x2563, 0x2551, 0x2557, 0x255D, 0x00A2, 0x00A5, 0x2510,
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x00E3, 0x00C3, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x00A4,
    0x00F0, 0x00D0, 0x00CA, 0x00CB, 0x00C8, 0x0131, 0x00CD, 0x00CE, 0x00CF, 0x2518, 0x250C, 0x2588, 0x2584, 0x00A6, 0x00CC, 0x2580,
    0x00D3, 0x00DF, 0x00D4, 0x00D2, 0x00F5, 0x00D5, 0x00B5, 0x00FE, 0x00DE, 0x00DA, 0x00DB, 0x00D9, 0x00FD, 0x00DD, 0x00AF, 0x00B4,
    0x00AD, 0x00B1, 0x2017, 0x00BE, 0x00B6, 0x00A7, 0x00F7, 0x00B8, 0x00B0, 0x00A8, 0x00B7, 0x00B9, 0x00B3, 0x00B2, 0x25A0, 0x00A0,
};
// Windows-1252 from 0x80 to 0x9F; the rest is Latin-1.
constexpr char16_t kPage1252[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

struct BitmapFont {
    char name;
    int height, width, gap;  // dots at 8 dots per millimetre
};
constexpr BitmapFont kFonts[] = {
    {'A', 9, 5, 1},    {'B', 11, 7, 2},   {'C', 18, 10, 2},  {'D', 18, 10, 2},  {'E', 28, 15, 5},
    {'F', 26, 13, 3},  {'G', 60, 40, 8},  {'H', 21, 13, 6},  {'P', 20, 18, 0},  {'Q', 28, 24, 0},
    {'R', 35, 31, 0},  {'S', 40, 35, 0},  {'T', 48, 42, 0},  {'U', 59, 53, 0},  {'V', 80, 71, 0},
};
// Font 0 without a size, as printers start.
constexpr int kScalableHeight = 15, kScalableWidth = 12;
// Capitals stand this share of the height; the baseline is this far down a line.
constexpr qreal kCapShare = 0.75, kBaselineShare = 0.78;

constexpr int kBaseSize = 100;

struct Face {
    QFont font;
    qreal capHeight = 0, advance = 0;
};

Face makeFace(const char* family, bool monospace) {
    Face f;
    f.font = QFont(family);
    f.font.setStyleHint(monospace ? QFont::Monospace : QFont::SansSerif);
    f.font.setPixelSize(kBaseSize);
    f.font.setBold(true);
    f.font.setStyleStrategy(QFont::NoAntialias);
    f.font.setHintingPreference(QFont::PreferNoHinting);
    const QFontMetricsF m(f.font);
    f.capHeight = m.capHeight() > 0 ? m.capHeight() : 0.72 * kBaseSize;
    f.advance = m.horizontalAdvance(QLatin1Char('M'));
    return f;
}

// Made once, on first use from any thread.
const Face& scalableFace() {
    static const Face face = makeFace("Nimbus Sans Narrow", false);
    return face;
}
const Face& cellFace() {
    static const Face face = makeFace("DejaVu Sans Mono", true);
    return face;
}

}  // namespace

QString ziiText(const std::string& data, int codePage) {
    const auto size = static_cast<qsizetype>(data.size());
    if (codePage == 28) return QString::fromUtf8(data.data(), size);
    if (codePage == 29 || codePage == 30) {
        QStringDecoder decode(codePage == 29 ? QStringConverter::Utf16BE : QStringConverter::Utf16LE);
        return decode(QByteArrayView(data.data(), size));
    }
    QString out;
    out.reserve(size);
    for (const char c : data) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x80 && codePage >= 0 && codePage <= 13) {
            out += QChar(kPage850[b - 0x80]);
        } else if (b >= 0x80 && b < 0xA0 && codePage == 27) {
            out += QChar(kPage1252[b - 0x80]);
        } else {
            out += QChar(static_cast<char16_t>(b));
        }
    }
    return out;
}

int ZiiFont::baseline() const { return static_cast<int>(height * kBaselineShare + 0.5); }

std::optional<ZiiFont> ziiFont(char name, int height, int width) {
    name = static_cast<char>(std::toupper(static_cast<unsigned char>(name)));
    ZiiFont f;
    if (name == '0') {
        // One size given stands for both.
        f.scalable = true;
        f.height = height > 0 ? height : width > 0 ? width : kScalableHeight;
        f.width = width > 0 ? width : height > 0 ? height : kScalableWidth;
        return f;
    }
    const auto* font = std::find_if(std::begin(kFonts), std::end(kFonts), [&](const BitmapFont& b) { return b.name == name; });
    if (font == std::end(kFonts)) return std::nullopt;
    // Bitmap fonts grow by whole multiples of their cell, the nearest to the size asked.
    const auto times = [](int asked, int base) { return std::clamp((asked + base / 2) / base, 1, 10); };
    const int my = height > 0 ? times(height, font->height) : width > 0 ? times(width, font->width) : 1;
    const int mx = width > 0 ? times(width, font->width) : my;
    f.height = font->height * my;
    f.width = font->width * mx;
    f.gap = font->gap * mx;
    return f;
}

int ziiTextWidth(const QString& text, const ZiiFont& font) {
    if (text.isEmpty()) return 0;
    if (!font.scalable) return static_cast<int>(text.size()) * (font.width + font.gap) - font.gap;
    const Face& face = scalableFace();
    const qreal sy = font.height * kCapShare / face.capHeight;
    const qreal sx = sy * font.width / font.height;
    return static_cast<int>(QFontMetricsF(face.font).horizontalAdvance(text) * sx + 0.5);
}

void drawZiiText(QPainter& p, const QString& text, int x, int baseline, const ZiiFont& font) {
    if (text.isEmpty() || font.height <= 0 || font.width <= 0) return;
    const Face& face = font.scalable ? scalableFace() : cellFace();
    const qreal sy = font.height * kCapShare / face.capHeight;
    const qreal sx = font.scalable ? sy * font.width / font.height : font.width / face.advance;
    p.save();
    p.setFont(face.font);
    p.setPen(Qt::black);
    if (font.scalable) {
        p.translate(x, baseline);
        p.scale(sx, sy);
        p.drawText(QPointF(0, 0), text);
    } else {
        // Each character at whole dots of its cell, as a printer lays them.
        const QTransform at = p.transform();
        for (qsizetype i = 0; i < text.size(); ++i) {
            p.setTransform(at);
            p.translate(x + static_cast<int>(i) * (font.width + font.gap), baseline);
            p.scale(sx, sy);
            p.drawText(QPointF(0, 0), QString(text[i]));
        }
    }
    p.restore();
}

}  // namespace velmora::preview
