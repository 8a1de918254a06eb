// Painting of the renderer's own widgets: Custom controls (the title banner, the calibration
// chart, or any painter the
// window program installs, or the control's text on its colours) and a tab's display area.
#include <QCoreApplication>
#include <QPainter>
#include <QStyleOptionTabWidgetFrame>
#include <QStylePainter>

#include "gui/rendererparts.h"
#include "gui/sensingchartpainter.h"

namespace velmora::gui {

namespace detail {

CustomPainter& customPainterSlot() {
    static CustomPainter painter;
    return painter;
}

void CustomWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (banner_.paint(p, *this, control_)) return;
    if (paintSensingChart(p, rect(), control_)) return;
    if (auto& painter = customPainterSlot()) {
        painter(p, rect(), dialog_, control_);
        return;
    }
    if (control_.backColor()) p.fillRect(rect(), rgb(*control_.backColor()));
    if (control_.textColor()) p.setPen(rgb(*control_.textColor()));
    p.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, qs(control_.text()));
}

void TabPane::paintEvent(QPaintEvent*) {
    QStylePainter p(this);
    QStyleOptionTabWidgetFrame opt;
    opt.initFrom(this);
    opt.rect = rect();
    opt.shape = QTabBar::RoundedNorth;
    opt.tabBarSize = bar_->sizeHint();
    opt.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    p.drawPrimitive(QStyle::PE_FrameTabWidget, opt);
}

}  // namespace detail

void QtRenderer::setCustomPainter(CustomPainter painter) { detail::customPainterSlot() = std::move(painter); }

bool saveImage(QtRenderer& renderer, const std::string& pngPath) {
    QWidget* w = renderer.widget();
    QWidget* window = w->window();
    const bool wasShown = window->isVisible();
    if (!wasShown) {
        // Lay the dialog out as it would open, without putting a window on the screen.
        window->setAttribute(Qt::WA_DontShowOnScreen, true);
        window->show();  // at the size the renderer gave it, as it opens
    }
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    // Texts set after the window opened may still owe their layout a pass (the window systems differ).
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    const bool ok = window->grab().save(detail::qs(pngPath), "PNG");
    if (!wasShown) {
        window->hide();
        window->setAttribute(Qt::WA_DontShowOnScreen, false);
    }
    return ok;
}

bool renderToImage(ui::Dialog& dialog, const std::string& pngPath) {
    QtRenderer renderer(dialog);
    return saveImage(renderer, pngPath);
}

}  // namespace velmora::gui
