// The room on the screen, and windows sized and placed within it.
#include "gui/screenfit.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace velmora::gui {

namespace {

QRect availableArea(const QWidget* window) {
    const QScreen* screen = window && window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

// The title bar and borders: the window system's once the window has them, else an estimate
// from the font, which sets the title bar's height on most desktops.
QSize decoration(const QWidget* window) {
    QSize frame = window ? window->frameGeometry().size() - window->geometry().size() : QSize();
    const int line = QFontMetrics(window ? window->font() : QGuiApplication::font()).height();
    return frame.expandedTo(QSize(8, 2 * line + 8));
}

}  // namespace

QSize windowRoom(const QWidget* window) { return availableArea(window).size() - decoration(window); }

void fitToScreen(QWidget* window) {
    const QSize room = windowRoom(window);
    const QSize least = window->minimumSizeHint().expandedTo(window->minimumSize());
    window->resize(window->sizeHint().boundedTo(room).expandedTo(least));
}

QPoint placeBeside(const QWidget* window, const QWidget* beside) {
    const QRect area = availableArea(beside ? beside : window);
    const QSize outer = window->frameGeometry().size().expandedTo(window->size() + decoration(window));
    const QRect next = beside ? beside->frameGeometry() : area;
    const int gap = 8;
    int x = next.right() + 1 + gap;  // to the right
    if (x + outer.width() > area.right() + 1) x = next.left() - gap - outer.width();  // to the left
    if (x < area.left()) x = area.right() + 1 - outer.width();  // over it, at the screen's edge
    const int y = std::clamp(next.top(), area.top(), std::max(area.top(), area.bottom() + 1 - outer.height()));
    return {std::max(area.left(), x), y};
}

}  // namespace velmora::gui
