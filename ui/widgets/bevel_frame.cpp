#include "bevel_frame.h"

#include <QPainter>

#include "bevel_painting.h"

BevelFrame::BevelFrame(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_NoMousePropagation); }

void BevelFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    drawFrame3D(painter, rect(), palette().color(QPalette::Active, QPalette::Dark),
                palette().color(QPalette::Active, QPalette::Light), 1);
}
