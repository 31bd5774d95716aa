#pragma once

#include <QPoint>
#include <QRect>

class QScreen;
class QWidget;

namespace platform {

// Where a window's frame goes to stand in the middle of an available area: centred when it
// fits; a frame wider or taller than the area keeps its left or top edge on the area's, so
// that its title bar and menu stay within the player's reach.
QPoint centredPosition(const QRect& frame, const QRect& available);

// Moves a top-level window to the centredPosition in the screen's available area (the
// screen less its panels and docks). Does nothing without a screen. A window about to be
// shown for the first time is moved again once it is framed, should the window manager's
// frame then stick out above or left of the area.
void centreOnScreen(QWidget& window, const QScreen* screen);

}  // namespace platform
