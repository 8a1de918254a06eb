// Drawing the ZII graphics (^GF, ^XG) and shapes (^GC circles, ^GE ellipses, ^GD diagonals).
#include <QImage>
#include <QPainterPath>
#include <QPolygon>

#include "preview/fields.h"
#include "preview/ziidraw.h"

namespace velmora::preview {

void drawGraphic(Canvas& c, const sim::ZiiGraphicField& f, int dx, int dy) {
    if (f.bytesPerRow <= 0 || f.rows <= 0) return;
    // Set bits print; clear ones leave what lies below.
    QImage image(f.bytesPerRow * 8, f.rows, QImage::Format_Mono);
    image.setColorTable({qRgba(255, 255, 255, 0), qRgba(0, 0, 0, 255)});
    const auto perRow = static_cast<std::size_t>(f.bytesPerRow);
    for (int r = 0; r < f.rows; ++r) {
        const std::size_t at = static_cast<std::size_t>(r) * perRow;
        uchar* line = image.scanLine(r);
        for (std::size_t i = 0; i < perRow; ++i) line[i] = at + i < f.bits.size() ? static_cast<uchar>(f.bits[at + i]) : 0;
    }
    const int w = image.width() * f.magnificationX, h = image.height() * f.magnificationY;
    const QRect target(f.x + dx, (f.typeset ? f.y - h : f.y) + dy, w, h);
    QPainter& p = c.painter;
    {
        ReverseScope reverse(p, f.reverse);
        if (f.magnificationX == 1 && f.magnificationY == 1) {
            p.drawImage(target.topLeft(), image);
        } else {
            p.drawImage(target, image.scaled(w, h, Qt::IgnoreAspectRatio, Qt::FastTransformation));
        }
    }
    c.reached(QRectF(target));
}

void drawShape(Canvas& c, const sim::ZiiShapeField& f, int dx, int dy) {
    const QRect outer(f.x + dx, (f.typeset ? f.y - f.height : f.y) + dy, f.width, f.height);
    const QColor color = f.color == 'W' ? Qt::white : Qt::black;
    QPainterPath path;
    if (f.shape == 'D') {
        // A band of the line's thickness across the box, as wide at every height.
        const int t = std::min(f.thickness, f.width), l = outer.left(), r = outer.left() + f.width, top = outer.top(),
                  bottom = outer.top() + f.height;
        if (f.lean == 'L') {
            path.addPolygon(QPolygon({QPoint(l, top), QPoint(l + t, top), QPoint(r, bottom), QPoint(r - t, bottom)}));
        } else {
            path.addPolygon(QPolygon({QPoint(l, bottom), QPoint(l + t, bottom), QPoint(r, top), QPoint(r - t, top)}));
        }
        path.closeSubpath();
    } else {
        path.addEllipse(QRectF(outer));
        const QRectF inner = QRectF(outer).adjusted(f.thickness, f.thickness, -f.thickness, -f.thickness);
        if (inner.width() > 0 && inner.height() > 0) {
            QPainterPath hole;
            hole.addEllipse(inner);
            path = path.subtracted(hole);
        }
    }
    QPainter& p = c.painter;
    ReverseScope reverse(p, f.reverse);
    p.fillPath(path, color);
    c.reached(QRectF(outer));
}

}  // namespace velmora::preview
