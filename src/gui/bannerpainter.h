// Paints the title banner: a Custom control whose content is an shell::CPrefsStatic. The
// background (gradient and embossed subtitle) is drawn into an image once and reused, so a new
// title is painted over the very same background.
#pragma once

#include <QFont>
#include <QImage>
#include <memory>

#include "shell/prefsstatic.h"
#include "ui/control.h"

class QPainter;
class QWidget;

namespace velmora::gui {

// The Qt font for a banner font; `fallback` gives the face (and the rest) when none is set.
// Qt substitutes a face that is not installed, as the window system would.
QFont bannerQFont(const shell::BannerFont& font, const QFont& fallback);

// One per widget: it keeps the image of the background it drew.
class BannerPainter {
  public:
    // Paints `control` into `widget` when its content is a banner; false (nothing painted)
    // otherwise.
    bool paint(QPainter& p, const QWidget& widget, const ui::Control& control);

  private:
    std::shared_ptr<const shell::BannerBackground> drawn_;  // what image_ shows
    QImage image_;
};

}  // namespace velmora::gui
