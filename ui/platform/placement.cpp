#include "placement.h"

#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace platform {

QPoint centredPosition(const QRect& frame, const QRect& available) {
    QRect centred = frame;
    centred.moveCenter(available.center());
    return {std::max(centred.left(), available.left()), std::max(centred.top(), available.top())};
}

void centreOnScreen(QWidget& window, const QScreen* screen) {
    if (!screen) return;
    window.move(centredPosition(window.frameGeometry(), screen->availableGeometry()));
}

}  // namespace platform
