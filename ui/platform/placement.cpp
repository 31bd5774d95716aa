#include "placement.h"

#include <QScreen>
#include <QWidget>

namespace platform {

void centreOnScreen(QWidget& window, const QScreen* screen) {
    if (!screen) return;
    QRect frame = window.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window.move(frame.topLeft());
}

}  // namespace platform
