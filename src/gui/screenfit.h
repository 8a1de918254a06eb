// Windows on the screen they open on: the room a window's contents have there once the title bar
// and borders are counted, the size a dialog opens at, and a place beside another window that
// stays on the screen.
#pragma once

#include <QPoint>
#include <QSize>

class QWidget;

namespace velmora::gui {

// The room for a window's contents on its screen (the primary one before it has one): the
// screen's available area less the title bar and borders the window system adds.
QSize windowRoom(const QWidget* window);

// Sizes a window about to open: what its contents ask for, bounded by the room on the screen,
// and never below what they need.
void fitToScreen(QWidget* window);

// Where `window` opens beside `beside` (right of it, else left of it, else over it) so that it
// stays whole on the screen.
QPoint placeBeside(const QWidget* window, const QWidget* beside);

}  // namespace velmora::gui
