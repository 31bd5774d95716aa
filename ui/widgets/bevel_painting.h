#pragma once

#include <QColor>
#include <QPainter>
#include <QRect>

// Draws a 3D frame `width` pixels thick just inside `area`: the top and left edges in
// `topLeft`, the bottom and right edges in `bottomRight`. Returns the area inside it.
inline QRect drawFrame3D(QPainter& painter, QRect area, const QColor& topLeft, const QColor& bottomRight, int width) {
    for (int i = 0; i < width && area.width() > 0 && area.height() > 0; ++i) {
        painter.fillRect(QRect(area.left(), area.top(), area.width(), 1), topLeft);
        painter.fillRect(QRect(area.left(), area.top(), 1, area.height()), topLeft);
        painter.fillRect(QRect(area.left(), area.bottom(), area.width(), 1), bottomRight);
        painter.fillRect(QRect(area.right(), area.top(), 1, area.height()), bottomRight);
        area.adjust(1, 1, -1, -1);
    }
    return area;
}
