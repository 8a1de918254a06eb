// The title banner on screen: its background image, built once, and the title over it.
#include "gui/bannerpainter.h"

#include <QPainter>
#include <QWidget>
#include <algorithm>

namespace velmora::gui {

namespace {

QColor color(shell::Rgb v) { return QColor((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF); }

QString qs(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

constexpr int kTextInset = 5;  // pixels between the texts and the banner's ends
constexpr int kOneLine = Qt::AlignVCenter | Qt::TextSingleLine;

QImage drawBackground(const shell::BannerBackground& bg, const QWidget& widget) {
    if (bg.width <= 0 || bg.height <= 0) return {};
    const qreal ratio = widget.devicePixelRatioF();
    QImage image(QSize(bg.width, bg.height) * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::black);
    QPainter p(&image);
    for (const shell::GradientStrip& s : bg.strips)
        p.fillRect(QRect(s.x, 0, s.width, bg.height), color(s.color));

    // Embossed: the light copy one pixel down and right shows round the dark one.
    p.setFont(bannerQFont(bg.subtitleFont, widget.font()));
    const QRect area = QRect(0, 0, bg.width, bg.height).adjusted(0, 0, -kTextInset, 0);
    const QString subtitle = qs(bg.subtitle);
    p.setPen(color(bg.highlight));
    p.drawText(area.translated(1, 1), Qt::AlignRight | kOneLine, subtitle);
    p.setPen(color(bg.shadow));
    p.drawText(area, Qt::AlignRight | kOneLine, subtitle);
    return image;
}

}  // namespace

QFont bannerQFont(const shell::BannerFont& font, const QFont& fallback) {
    QFont out = fallback;
    if (!font.face.empty()) out.setFamily(qs(font.face));
    if (font.height > 0) out.setPixelSize(font.height);
    // Qt's weights use the same 100-900 scale; 0 means "any", which is normal.
    out.setWeight(font.weight <= 0 ? QFont::Normal
                                   : static_cast<QFont::Weight>(std::clamp(font.weight, 1, 1000)));
    return out;
}

bool BannerPainter::paint(QPainter& p, const QWidget& widget, const ui::Control& control) {
    auto* banner = dynamic_cast<shell::CPrefsStatic*>(control.custom());
    if (!banner) return false;
    auto bg = banner->background(widget.width(), widget.height());
    if (bg != drawn_) {
        image_ = drawBackground(*bg, widget);
        drawn_ = std::move(bg);
    }
    p.drawImage(QPoint(0, 0), image_);

    const std::optional<shell::BannerFont> titleFont = banner->titleFont();
    p.setFont(titleFont ? bannerQFont(*titleFont, widget.font()) : widget.font());
    p.setPen(color(banner->textColor));
    p.drawText(widget.rect().adjusted(kTextInset, 0, 0, 0), Qt::AlignLeft | kOneLine, qs(control.text()));
    return true;
}

}  // namespace velmora::gui
