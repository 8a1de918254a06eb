// The calibration chart's painting.
#include "gui/sensingchartpainter.h"

#include <QPainter>
#include <QRect>
#include <algorithm>
#include <cmath>

#include "settings/sensinganalysis.h"

namespace velmora::gui {

namespace {
QColor rgb(unsigned v) { return QColor((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF); }
constexpr unsigned kNavy = 0x000080, kCyan = 0x00FFFF, kBar = 0x808080, kOffered = 0xFFF4C0, kProposed = 0xD00000;
}  // namespace

bool paintSensingChart(QPainter& p, const QRect& area, const ui::Control& control) {
    const auto* chart = dynamic_cast<const settings::SensingChart*>(control.custom());
    if (!chart) return false;
    using settings::kBuckets;
    p.fillRect(area, Qt::white);
    const QFontMetrics fm = p.fontMetrics();
    const int axis = fm.height() + 4;
    const QRect plot = area.adjusted(4, fm.height() + 4, -4, -axis);
    p.setPen(rgb(kBar));
    p.drawRect(area.adjusted(0, 0, -1, -1));
    if (!chart->measured || plot.width() < kBuckets || plot.height() < 4) {
        p.drawText(area, Qt::AlignCenter, QStringLiteral("No sensing values"));
        return true;
    }
    const auto& a = chart->analysis;
    const double slot = static_cast<double>(plot.width()) / kBuckets;
    auto left = [&](int i) { return plot.left() + static_cast<int>(std::lround(i * slot)); };
    if (a.lastEnabled >= a.firstEnabled)
        p.fillRect(QRect(QPoint(left(a.firstEnabled), plot.top()), QPoint(left(a.lastEnabled + 1) - 1, plot.bottom())),
                   rgb(kOffered));
    const int top = std::max(1, *std::max_element(chart->values.begin(), chart->values.end()));
    for (int i = 0; i < kBuckets; ++i) {
        const int v = chart->values[i];
        if (v <= 0) continue;
        const int h = std::max(2, static_cast<int>(std::lround(std::sqrt(static_cast<double>(v) / top) * plot.height())));
        const QRect bar(left(i) + 1, plot.bottom() - h + 1, std::max(1, left(i + 1) - left(i) - 2), h);
        const bool marked = a.separable() && (i == a.low || i == a.high);
        p.fillRect(bar, rgb(marked ? kNavy : kBar));
        if (marked && bar.width() > 4) {
            p.setPen(rgb(kCyan));
            p.drawRect(bar.adjusted(1, 1, -2, -2));
        }
    }
    if (a.proposed >= 0) {
        // Level i is the edge above bucket i.
        const int x = left(a.proposed + 1);
        p.setPen(QPen(rgb(kProposed), 2));
        p.drawLine(x, plot.top(), x, plot.bottom());
        p.drawText(QRect(plot.left(), area.top() + 2, plot.width(), fm.height()), Qt::AlignCenter,
                   QString::number((a.proposed + 1) * chart->levelStep));
    }
    p.setPen(Qt::black);
    p.drawLine(plot.bottomLeft(), plot.bottomRight());
    for (int i = 7; i < kBuckets; i += 8) {
        const int x = left(i + 1);
        const QString text = QString::number((i + 1) * chart->levelStep);
        const int w = fm.horizontalAdvance(text);
        const int textLeft = std::min(x - w / 2, area.right() - 2 - w);
        p.drawText(QRect(textLeft, plot.bottom() + 2, w + 1, fm.height()), Qt::AlignLeft | Qt::AlignTop, text);
    }
    return true;
}

}  // namespace velmora::gui
