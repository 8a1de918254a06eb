// What the parts of the label renderer share: the painter on the label image, how far down the
// drawing reached (a label without a length is as long as its content), and the list of what
// could not be drawn.
#pragma once

#include <QPainter>
#include <QRectF>
#include <string>
#include <vector>

namespace velmora::preview {

struct Canvas {
    QPainter& painter;
    std::vector<std::string>& notDrawn;
    int bottom = 0;  // lowest dot row drawn, in label coordinates

    // Records the extent of something just drawn in the painter's current coordinates.
    void reached(const QRectF& local) {
        const QRectF r = painter.transform().mapRect(local);
        if (r.bottom() > bottom) bottom = static_cast<int>(r.bottom() + 0.5);
    }
    void skip(std::string what) { notDrawn.push_back(std::move(what)); }
};

// Draws through the painter with black inverting what lies below (reverse print, ^FR), or
// normally, for the life of the object.
class ReverseScope {
  public:
    ReverseScope(QPainter& p, bool reverse) : p_(p), on_(reverse) {
        if (on_) p_.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
    }
    ~ReverseScope() {
        if (on_) p_.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    ReverseScope(const ReverseScope&) = delete;
    ReverseScope& operator=(const ReverseScope&) = delete;

  private:
    QPainter& p_;
    bool on_;
};

}  // namespace velmora::preview
