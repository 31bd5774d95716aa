#pragma once

class QScreen;
class QWidget;

namespace platform {

// Moves a top-level window so that its frame stands in the middle of the screen's available
// area (the screen less its panels and docks). Does nothing without a screen.
void centreOnScreen(QWidget& window, const QScreen* screen);

}  // namespace platform
